#include "synthetic_log.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "scoring/prefix_table.h"

namespace zeb::bench {

std::string syntheticLog(int qsoCount, unsigned seed) {
    static const int kFrequencies[] = {3510,  3650,  3790,  7010,  7150, 14020,
                                       14250, 21050, 21300, 28050, 28500};
    std::mt19937 random(seed);
    std::string log =
        "START-OF-LOG: 3.0\nCALLSIGN: OK1ZEB\nCONTEST: ZEB-QSO-PARTY\nCATEGORY-OPERATOR: "
        "SINGLE-OP\nCREATED-BY: benchmark\n";
    char line[160];
    for (int i = 0; i < qsoCount; ++i) {
        const PrefixEntry& row = kPrefixTable.rows[random() % kPrefixTable.rowCount];
        char call[16];
        std::snprintf(call, sizeof call, "%s%u%c%c", row.prefix, static_cast<unsigned>(i % 10),
                      'A' + static_cast<int>(random() % 26), 'A' + static_cast<int>(i % 26));
        char exchange[8];
        if (random() % 4 == 0) {
            std::snprintf(exchange, sizeof exchange, "NM");
        } else {
            std::snprintf(exchange, sizeof exchange, "%u",
                          1 + static_cast<unsigned>(random() % 900));
        }
        const int frequency = kFrequencies[random() % std::size(kFrequencies)];
        std::snprintf(line, sizeof line,
                      "QSO: %5d CW 2024-05-01 %02d%02d OK1ZEB        599 %03d    %-13s 599 %s\n",
                      frequency, (i / 60) % 24, i % 60, i % 1000, call, exchange);
        log += line;
    }
    return log + "END-OF-LOG:\n";
}

std::vector<std::string> syntheticContest(int stationCount, int qsosPerStation) {
    static const char* const kPrefixes[] = {"OK1", "OK2", "OL3", "OM4", "DL1",
                                            "SP5", "HA7", "S51", "9A2", "YU1"};
    static const int kBandStarts[] = {3510, 7010, 14010, 21010, 28010};
    std::vector<std::string> calls;
    std::vector<std::string> exchanges;
    std::vector<std::string> logs;
    for (int s = 0; s < stationCount; ++s) {
        const int n = s / static_cast<int>(std::size(kPrefixes));
        calls.push_back(std::string(kPrefixes[s % std::size(kPrefixes)]) +
                        static_cast<char>('A' + n / 26 % 26) + static_cast<char>('A' + n % 26) +
                        'Z');
        exchanges.push_back(s % 5 == 4 ? "NM" : std::to_string(100 + s));
        logs.push_back("START-OF-LOG: 3.0\nCALLSIGN: " + calls.back() +
                       "\nCONTEST: ZEB-QSO-PARTY\nCATEGORY-OPERATOR: SINGLE-OP\n"
                       "CREATED-BY: benchmark\n");
    }
    auto append = [&](int own, int partner, int kHz, int minute) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "QSO: %5d CW 2024-05-01 %02d%02d %-13s 599 %-6s %-13s 599 %s\n", kHz,
                      minute / 60 % 24, minute % 60, calls[own].c_str(), exchanges[own].c_str(),
                      calls[partner].c_str(), exchanges[partner].c_str());
        logs[own] += line;
    };
    // One QSO per station and round: the stations are shuffled and paired off.
    std::mt19937 random(7);
    std::vector<int> order(stationCount);
    for (int s = 0; s < stationCount; ++s) {
        order[s] = s;
    }
    for (int round = 0; round < qsosPerStation; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        const int band = round % static_cast<int>(std::size(kBandStarts));
        for (int k = 0; k + 1 < stationCount; k += 2) {
            const int kHz = kBandStarts[band] + static_cast<int>(random() % 100);
            const int minute = 12 * 60 + round;
            append(order[k], order[k + 1], kHz, minute);
            append(order[k + 1], order[k], kHz, minute + static_cast<int>(random() % 2));
        }
    }
    for (std::string& log : logs) {
        log += "END-OF-LOG:\n";
    }
    return logs;
}

std::vector<std::string> syntheticContestFolder(const std::string& folder, int stationCount,
                                                int qsosPerStation) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    std::vector<std::string> logs;
    std::vector<std::string> contest;
    for (int i = 0; i < stationCount; ++i) {
        const fs::path path = fs::path(folder) / ("station" + std::to_string(i) + ".cbr");
        if (!fs::exists(path)) {
            if (contest.empty()) {
                contest = syntheticContest(stationCount, qsosPerStation);
            }
            std::ofstream(path, std::ios::binary) << contest[static_cast<std::size_t>(i)];
        }
        logs.push_back(path.string());
    }
    return logs;
}

}  // namespace zeb::bench
