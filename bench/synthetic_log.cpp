#include "synthetic_log.h"

#include <cstdio>
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

}  // namespace zeb::bench
