// A contest as it really arrives: logs sent twice or again, stray files among them, and the
// evaluator's decisions, through `zebscore --contest`. Every run is made twice: the second must
// write the same folder.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/zebscore.h"
#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

namespace fs = std::filesystem;

std::string repairData(const std::string& name) {
    return std::string(ZEB_TEST_DATA_DIR) + "/repair/" + name;
}

// The small contest of eight stations of tests/data/repair, in a folder of the test.
void copyRepairLogs(const TempDir& temp) {
    fs::create_directory(temp.path() / "logs");
    for (const char* layout : {"name-and-number", "past-80-columns", "glued", "slashed",
                               "no-report", "tabs", "long-header", "no-end-marker"}) {
        fs::copy_file(repairData(std::string(layout) + ".cbr"),
                      temp.path() / "logs" / (std::string(layout) + ".cbr"));
    }
}

std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder).generic_string()] =
                readFile(entry.path().string());
        }
    }
    return files;
}

// The JSON line of each log, by its file name.
std::map<std::string, QJsonObject> jsonByFile(const std::string& out) {
    std::map<std::string, QJsonObject> logs;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject log = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        logs[fs::path(log["log"].toString().toStdString()).filename().string()] = log;
    }
    return logs;
}

std::string flagsOf(const QJsonObject& log) {
    std::string codes;
    for (const QJsonValue flag : log["flags"].toArray()) {
        codes += (codes.empty() ? "" : " ") + flag["code"].toString().toStdString();
    }
    return codes;
}

int checkedResult(const QJsonObject& log) {
    return log["checked"]["totals"]["result"].toInt(-1);
}

// Runs the contest twice; the second run writes the same folder and prints the same lines.
RunResult runTwice(const std::vector<std::string>& args, const std::string& out) {
    const RunResult first = runZebscore(args);
    const std::map<std::string, std::string> written = filesUnder(out);
    const RunResult second = runZebscore(args);
    EXPECT_EQ(second.status, first.status) << second.err;
    EXPECT_EQ(second.out, first.out);
    EXPECT_TRUE(filesUnder(out) == written) << "a second run changed " << out;
    return first;
}

void setWritten(const std::string& path, std::chrono::hours later) {
    fs::last_write_time(path, fs::last_write_time(path) + later);
}

TEST(ContestAsItArrives, ALogSentAgainIsRepairedAnewOverItsUntouchedCopy) {
    TempDir temp;
    copyRepairLogs(temp);
    const std::string out = temp.file("out");
    const std::vector<std::string> args = {"--contest", out, "--json", temp.file("logs")};
    ASSERT_EQ(runZebscore(args).status, kExitScored);
    // OK1CC finds the call it miscopied and sends the log again.
    const std::string log = temp.file("logs/glued.cbr");
    std::string corrected = readFile(log);
    corrected.replace(corrected.find("OK1BC"), 5, "OK1BB");
    writeFile(log, corrected);
    setWritten(log, std::chrono::hours(1));

    const RunResult again = runTwice(args, out);

    const QJsonObject ok1cc = jsonByFile(again.out)["glued.cbr"];
    EXPECT_EQ(flagsOf(ok1cc), "resent unread");
    EXPECT_EQ(checkedResult(ok1cc), 427) << "the corrected QSO counts";
    EXPECT_NE(readFile(out + "/fixed/glued.cbr").find("OK1BB"), std::string::npos);
    EXPECT_NE(readFile(out + "/index.html").find("deník přišel znovu"), std::string::npos);
}

TEST(ContestAsItArrives, ALogSentAfterItsCopyWasCorrectedKeepsTheCorrections) {
    TempDir temp;
    copyRepairLogs(temp);
    const std::string out = temp.file("out");
    const std::vector<std::string> args = {"--contest", out, "--json", temp.file("logs")};
    ASSERT_EQ(runZebscore(args).status, kExitScored);
    // The evaluator writes NM for the exchange the repair could not read; then OK1CC sends its
    // log again, the call it had miscopied corrected.
    const std::string copy = out + "/fixed/glued.cbr";
    std::string edited = readFile(copy);
    const std::size_t hugo = edited.find("OK1HH");
    edited.replace(edited.find(" -", hugo), 2, " NM");
    writeFile(copy, edited);
    const std::string log = temp.file("logs/glued.cbr");
    std::string resent = readFile(log);
    resent.replace(resent.find("OK1BC"), 5, "OK1BB");
    writeFile(log, resent);

    const RunResult again = runTwice(args, out);

    const QJsonObject ok1cc = jsonByFile(again.out)["glued.cbr"];
    EXPECT_EQ(flagsOf(ok1cc), "edited resent-after-edit");
    EXPECT_EQ(readFile(copy), edited);
    EXPECT_EQ(checkedResult(ok1cc), 306) << "the copy still holds the miscopied call";
    // The report quotes the line that was scored, and beside it the line as sent again.
    const std::string report = readFile(out + "/entrants/OK1CC.txt");
    EXPECT_NE(report.find("zapsáno OK1BC místo OK1BB\n    váš řádek 8: QSO:"), std::string::npos)
        << report;
    EXPECT_NE(report.find("OK1BC         599 102\n    (odesláno: QSO:  3520 CW 2024-03-02 0714 "
                          "OK1CC         599 CYRIL103      OK1BB         599 BOREK102)"),
              std::string::npos)
        << report;
}

// Columns saved from the form beside a repaired copy are the evaluator's: when they misread the
// lines, the log is flagged, as one scored without the repair would be.
TEST(ContestAsItArrives, ColumnsSavedBesideACopyThatMisreadItAreFlagged) {
    TempDir temp;
    copyRepairLogs(temp);
    const std::string out = temp.file("out");
    const std::vector<std::string> args = {"--contest", out, "--config-beside", "--json",
                                           temp.file("logs")};
    ASSERT_EQ(runZebscore(args).status, kExitScored);
    // The member number's column set on the report: every QSO reads 599.
    writeFile(out + "/fixed/name-and-number.ini", "55\n10\n69\n3\n");

    const RunResult run = runTwice(args, out);

    const QJsonObject ok1aa = jsonByFile(run.out)["name-and-number.cbr"];
    EXPECT_EQ(flagsOf(ok1aa), "columns");
    EXPECT_NE(readFile(out + "/results.txt")
                  .find("sloupce čtou značku a výměnu správně jen v 0 z 7 řádků QSO"),
              std::string::npos);
}

// The evaluator's decisions, each with what it must change.
struct DecisionCase {
    const char* name;
    std::string decisions;  // the file's lines
    const char* file;       // the log whose JSON line shows it
    const char* flags;      // its flags
    int checked;            // its checked result; -1 for none
    const char* indexText;  // what the index page says of it
};

void PrintTo(const DecisionCase& c, std::ostream* os) {
    *os << c.name;
}

class Decisions : public testing::TestWithParam<DecisionCase> {};

TEST_P(Decisions, AreAppliedOnEveryRun) {
    const DecisionCase& c = GetParam();
    TempDir temp;
    copyRepairLogs(temp);
    // An older log of OK1HH, a QSO short, to choose from.
    std::string older = readFile(temp.file("logs/no-end-marker.cbr"));
    older.erase(older.rfind("QSO:"));
    writeFile(temp.file("logs/no-end-marker-first.cbr"), older);
    setWritten(temp.file("logs/no-end-marker.cbr"), std::chrono::hours(2));
    const std::string out = temp.file("out");
    fs::create_directory(out);
    writeFile(out + "/decisions.txt", c.decisions);

    const RunResult run = runTwice({"--contest", out, "--json", temp.file("logs")}, out);

    ASSERT_EQ(run.status, kExitScored) << run.err;
    const QJsonObject log = jsonByFile(run.out)[c.file];
    EXPECT_EQ(flagsOf(log), c.flags);
    EXPECT_EQ(checkedResult(log), c.checked);
    const std::string index = readFile(out + "/index.html");
    EXPECT_EQ(index.find("<h2>Rozhodnutí vyhodnocovatele</h2>") != std::string::npos,
              c.decisions.front() != '#');
    EXPECT_NE(index.find(c.indexText), std::string::npos) << c.indexText;
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, Decisions,
    testing::Values(
        DecisionCase{"without_one_the_newest_log_of_a_station_counts", "# nic\n",
                     "no-end-marker-first.cbr", "superseded same-call", -1,
                     "nahrazen deníkem no-end-marker.cbr"},
        DecisionCase{"a_log_set_aside_is_neither_ranked_nor_a_partner",
                     "odložit glued.cbr | přišel po termínu\n", "glued.cbr", "set-aside", -1,
                     "odložen vyhodnocovatelem (přišel po termínu)"},
        DecisionCase{"a_check_log_confirms_its_partners_but_has_no_result",
                     "kontrolní slashed.cbr | jen pro kontrolu\n", "slashed.cbr", "checklog", -1,
                     "kontrolní deník: potvrzuje QSO ostatních"},
        DecisionCase{"the_evaluator_chooses_the_older_log",
                     "platí no-end-marker-first.cbr | druhý deník je z jiného počítače\n",
                     "no-end-marker.cbr", "superseded same-call", -1,
                     "nahrazen deníkem no-end-marker-first.cbr podle rozhodnutí"},
        DecisionCase{"a_qso_not_in_its_partners_log_is_kept",
                     "uznat name-and-number.cbr | QSO:  3510 CW 2024-03-02 0710 OK1AA 599 ALES "
                     "101 OK1GG 599 GUSTAV 107 | OK1GG ztratil část deníku\n",
                     "name-and-number.cbr", "decided", 427, "uznáno QSO, řádek 12"},
        DecisionCase{"a_qso_is_removed",
                     "vyřadit tabs.cbr|QSO: 3540\tCW 2024-03-02\t07.59 OK1FF 599-106 OK9ZZ "
                     "599-NM | stanice nebyla v soutěži\n",
                     "tabs.cbr", "decided", 427, "vyřazeno QSO, řádek 14"},
        DecisionCase{"a_decision_on_a_log_no_longer_there_is_reported",
                     "odložit chybí.cbr | pozdě\n", "glued.cbr", "unread", 306,
                     "neplatí: deník chybí.cbr mezi deníky soutěže není"}),
    [](const testing::TestParamInfo<DecisionCase>& info) { return std::string(info.param.name); });

// A station's call written with a designator names the same station: of its two logs one counts,
// as the cross-check matches them to one station.
TEST(OneLogPerStation, TakesACallWithADesignatorForTheSameStation) {
    TempDir temp;
    copyRepairLogs(temp);
    std::string older = readFile(temp.file("logs/no-end-marker.cbr"));
    older.erase(older.rfind("QSO:"));
    for (std::size_t at = older.find("OK1HH  "); at != std::string::npos;
         at = older.find("OK1HH  ", at)) {
        older.replace(at, 7, "OK1HH/P");
    }
    older.replace(older.find("CALLSIGN: OK1HH"), 15, "CALLSIGN: OK1HH/P");
    writeFile(temp.file("logs/no-end-marker-first.cbr"), older);
    setWritten(temp.file("logs/no-end-marker.cbr"), std::chrono::hours(2));
    const std::string out = temp.file("out");

    const RunResult run = runTwice({"--contest", out, "--json", temp.file("logs")}, out);

    ASSERT_EQ(run.status, kExitScored) << run.err;
    EXPECT_EQ(flagsOf(jsonByFile(run.out)["no-end-marker-first.cbr"]), "superseded same-call");
}

// One log erring throughout, as a logger or its user errs: its clock, its date, its call written
// with a designator, its header naming another station. None may cost its partners a QSO, nor
// the log itself one that the cross-check can confirm with the adjustment.
std::string shiftedTimes(const std::string& log, int minutes) {
    using namespace std::chrono;
    std::string shifted;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("QSO:", 0) == 0) {
            // "QSO:  3510 CW 2024-03-02 0700 ...": the date and the time in fixed places.
            const std::size_t at = line.find("CW ") + 3;
            const year_month_day date{year{std::stoi(line.substr(at, 4))},
                                      month{unsigned(std::stoi(line.substr(at + 5, 2)))},
                                      day{unsigned(std::stoi(line.substr(at + 8, 2)))}};
            const auto when = sys_days(date) + hours(std::stoi(line.substr(at + 11, 2))) +
                              std::chrono::minutes(std::stoi(line.substr(at + 13, 2)) + minutes);
            const auto days = floor<std::chrono::days>(when);
            const year_month_day newDate{days};
            const hh_mm_ss time{when - days};
            char text[32];
            std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld%02ld", int(newDate.year()),
                          unsigned(newDate.month()), unsigned(newDate.day()),
                          static_cast<long>(time.hours().count()),
                          static_cast<long>(time.minutes().count()));
            line.replace(at, 15, text);
        }
        shifted += line + "\n";
    }
    return shifted;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

struct SystematicError {
    const char* name;
    const char* file;  // the log of tests/data/contest that errs
    std::function<std::string(const std::string&)> err;
    const char* flags;  // the erring log's flags
};

void PrintTo(const SystematicError& e, std::ostream* os) {
    *os << e.name;
}

class OneLogErringThroughout : public testing::TestWithParam<SystematicError> {};

TEST_P(OneLogErringThroughout, CostsNobodyAQso) {
    const SystematicError& e = GetParam();
    TempDir temp;
    fs::create_directories(temp.path() / "clean");
    fs::create_directories(temp.path() / "erring");
    for (const char* name :
         {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr", "dl5eee.cbr"}) {
        const std::string log = readFile(contestPath(name));
        writeFile(temp.file(std::string("clean/") + name), log);
        writeFile(temp.file(std::string("erring/") + name),
                  name == std::string(e.file) ? e.err(log) : log);
    }
    const auto results = [&](const char* folder) {
        const RunResult run = runZebscore(
            {"--contest", temp.file(std::string("out-") + folder), "--json", temp.file(folder)});
        EXPECT_EQ(run.status, kExitScored) << run.err;
        return jsonByFile(run.out);
    };
    std::map<std::string, QJsonObject> clean = results("clean");
    std::map<std::string, QJsonObject> erring = results("erring");

    for (const auto& [file, log] : clean) {
        EXPECT_EQ(checkedResult(erring[file]), checkedResult(log)) << file;
    }
    EXPECT_EQ(flagsOf(erring[e.file]), e.flags);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, OneLogErringThroughout,
    testing::Values(
        SystematicError{"a_clock_an_hour_ahead", "ok1aaa.cbr",
                        [](const std::string& log) { return shiftedTimes(log, 60); }, "clock"},
        SystematicError{"a_clock_an_hour_behind", "om4ddd.cbr",
                        [](const std::string& log) { return shiftedTimes(log, -60); }, "clock"},
        SystematicError{"a_clock_two_hours_ahead", "ok2bbb.cbr",
                        [](const std::string& log) { return shiftedTimes(log, 120); }, "clock"},
        SystematicError{"a_date_a_day_ahead", "ok1aaa.cbr",
                        [](const std::string& log) { return shiftedTimes(log, 24 * 60); }, "clock"},
        SystematicError{"a_clock_seven_minutes_ahead_against_a_window_of_ten", "ok1aaa.cbr",
                        [](const std::string& log) { return shiftedTimes(log, 7); }, "clock"},
        SystematicError{"a_portable_call_of_its_own", "ok1aaa.cbr",
                        [](const std::string& log) { return replaced(log, "OK1AAA", "OK1AAA/P"); },
                        ""},
        SystematicError{"a_partner_written_portable", "ok2bbb.cbr",
                        [](const std::string& log) { return replaced(log, "OK1AAA", "OK1AAA/P"); },
                        ""},
        SystematicError{"a_country_prefix_before_its_call", "dl5eee.cbr",
                        [](const std::string& log) { return replaced(log, "DL5EEE", "OK/DL5EEE"); },
                        ""},
        SystematicError{"a_header_naming_another_station", "om4ddd.cbr",
                        [](const std::string& log) {
                            return replaced(log, "CALLSIGN: OM4DDD", "CALLSIGN: OM9XYZ");
                        },
                        "header-call"}),
    [](const testing::TestParamInfo<SystematicError>& info) {
        return std::string(info.param.name);
    });

// The checked result of every log that counts, by its call.
std::map<std::string, int> checkedByCall(const std::string& out) {
    std::map<std::string, int> results;
    for (const auto& [file, log] : jsonByFile(out)) {
        if (log["setAside"].isNull()) {
            results[log["ownCall"].toString().toStdString()] = checkedResult(log);
        }
    }
    return results;
}

// Times wrong every which way are no clock to set right: the QSOs the log's partners lose to it
// name it as the log to look at.
TEST(OneLogErringThroughout, ALogCausingItsPartnersFindingsIsNamed) {
    TempDir temp;
    fs::create_directories(temp.path() / "logs");
    for (const char* name :
         {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr", "dl5eee.cbr"}) {
        writeFile(temp.file(std::string("logs/") + name), readFile(contestPath(name)));
    }
    std::string scrambled = readFile(contestPath("ok1aaa.cbr"));
    for (const auto& [from, to] :
         {std::pair{"0700", "0731"}, std::pair{"0705", "0823"}, std::pair{"0710", "0622"},
          std::pair{"0715", "0912"}, std::pair{"0720", "0555"}}) {
        scrambled = replaced(scrambled, from, to);
    }
    writeFile(temp.file("logs/ok1aaa.cbr"), scrambled);

    const RunResult run = runZebscore({"--contest", temp.file("out"), "--json", temp.file("logs")});

    const std::map<std::string, QJsonObject> logs = jsonByFile(run.out);
    EXPECT_EQ(flagsOf(logs.at("ok1aaa.cbr")), "no-partner causes-findings");
    EXPECT_EQ(flagsOf(logs.at("ok2bbb.cbr")), "");
}

// The logs of the evening of 2024-03-21 in the corpus, as the evaluator saved them.
const std::vector<std::string> kEvening = {"ntc-DJ0SP-ucxlog.cbr",
                                           "ntc-DJ3TU-ucxlog.cbr",
                                           "ntc-DJ9BM-ucxlog.cbr",
                                           "ntc-F6JOE.cbr",
                                           "ntc-I5ECW-adif2cabr.cbr",
                                           "ntc-IN3FHE.cbr",
                                           "ntc-IU3BRO-5qso.cbr",
                                           "ntc-LB2WD.cbr",
                                           "ntc-M0MPM-pa3bhflog.cbr",
                                           "ntc-M0SDB-dxlog.cbr",
                                           "ntc-OE8TIR.cbr",
                                           "ntc-OK1DZ-oldn1mm.cbr",
                                           "ntc-OK1LO.cbr",
                                           "ntc-OK1WSL-dxlog.cbr",
                                           "ntc-OK2BMA-fle.cbr",
                                           "ntc-OK2BND-tr4w.cbr",
                                           "ntc-OK5MM-sentNM.cbr",
                                           "ntc-PA0CMU.cbr",
                                           "ntc-PA0RBA-ucxlog.cbr",
                                           "ntc-PA0XAW-tabs.cbr",
                                           "ntc-PA3JD-noexch.cbr",
                                           "ntc-PA7F.cbr",
                                           "ntc-PE2V-template.cbr",
                                           "ntc-PE4KH-cqrlog.cbr",
                                           "ntc-PI4NTC-adif2cabr.cbr",
                                           "ntc-SV9RPE.cbr"};

// Any log of a real evening an hour off changes no other log's checked result.
TEST(OneLogErringThroughout, AnHourOffOnARealEveningCostsNobodyAQso) {
    const fs::path corpus = ZEB_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    TempDir temp;
    fs::create_directories(temp.path() / "logs");
    for (const std::string& name : kEvening) {
        fs::copy_file(corpus / name, temp.path() / "logs" / name);
    }
    const RunResult clean =
        runZebscore({"--contest", temp.file("out"), "--json", temp.file("logs")});
    const std::map<std::string, QJsonObject> cleanLogs = jsonByFile(clean.out);
    for (const auto& [file, log] : cleanLogs) {
        EXPECT_EQ(flagsOf(log).find("clock"), std::string::npos) << file;
        EXPECT_EQ(flagsOf(log).find("causes-findings"), std::string::npos) << file;
    }
    for (const std::string& name : kEvening) {
        const std::string path = temp.file("logs/" + name);
        const std::string log = readFile(path);
        // Its own lines, shifted in place whatever their layout: date and time are the 4th and
        // 5th words of the QSO template.
        std::string shifted;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string tag, freq, mode, date, time;
            words >> tag >> freq >> mode >> date >> time;
            if (tag == "QSO:" && date.size() == 10 && time.size() == 4 &&
                time.find_first_not_of("0123456789") == std::string::npos) {
                const std::size_t at = line.find(time, line.find(date) + 10);
                const int hour = std::stoi(time.substr(0, 2));
                if (hour < 23) {
                    line.replace(at, 2, (hour < 9 ? "0" : "") + std::to_string(hour + 1));
                }
            }
            shifted += line + "\n";
        }
        writeFile(path, shifted);
        const RunResult run =
            runZebscore({"--contest", temp.file("out-" + name), "--json", temp.file("logs")});
        writeFile(path, log);
        const std::map<std::string, QJsonObject> logs = jsonByFile(run.out);
        for (const auto& [file, other] : cleanLogs) {
            if (file != name) {
                EXPECT_EQ(checkedResult(logs.at(file)), checkedResult(other))
                    << name << " an hour off: " << file;
            }
        }
    }
}

TEST(ContestAsItArrives, ExtrasInTheFolderChangeNoCheckedResult) {
    const fs::path corpus = ZEB_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    TempDir temp;
    fs::create_directories(temp.path() / "clean");
    fs::create_directories(temp.path() / "arrived");
    for (const std::string& name : kEvening) {
        fs::copy_file(corpus / name, temp.path() / "clean" / name);
        if (name != "ntc-SV9RPE.cbr") {
            fs::copy_file(corpus / name, temp.path() / "arrived" / name);
        }
    }
    const fs::path arrived = temp.path() / "arrived";
    fs::copy_file(corpus / "ntc-SV9RPE.cbr", arrived / "SV9RPE.txt");
    fs::copy_file(corpus / "ntc-OE8TIR.cbr", arrived / "OE8TIR-resent.cbr");
    setWritten((arrived / "OE8TIR-resent.cbr").string(), std::chrono::hours(1));
    std::string first = readFile((corpus / "ntc-DJ0SP-ucxlog.cbr").string());
    first.erase(first.find("QSO:", first.find("QSO:", first.find("QSO:") + 1) + 1));
    writeFile((arrived / "DJ0SP-first.cbr").string(), first + "END-OF-LOG:\n");
    setWritten((arrived / "DJ0SP-first.cbr").string(), -std::chrono::hours(24));
    writeFile((arrived / "logs.zip").string(), std::string("PK\x03\x04", 4) + "packed");
    writeFile((arrived / "pravidla.doc").string(), "\xD0\xCF\x11\xE0 a word file");

    const RunResult clean =
        runZebscore({"--contest", temp.file("out-clean"), "--json", temp.file("clean")});
    const RunResult withExtras =
        runTwice({"--contest", temp.file("out-arrived"), "--json", arrived.string()},
                 temp.file("out-arrived"));

    EXPECT_EQ(checkedByCall(withExtras.out), checkedByCall(clean.out));
    EXPECT_EQ(checkedByCall(clean.out).size(), kEvening.size());
    const std::string index = readFile(temp.file("out-arrived/index.html"));
    for (const char* row :
         {"<td>kopie deníku ntc-OE8TIR.cbr</td>", "<td>nahrazen deníkem ntc-DJ0SP-ucxlog.cbr</td>",
          "<td>logs.zip</td><td>archiv ZIP: rozbalte jej", "<td>pravidla.doc</td><td>dokument",
          "<td>SV9RPE.txt</td>"}) {
        EXPECT_NE(index.find(row), std::string::npos) << row;
    }
    EXPECT_NE(readFile(temp.file("out-arrived/cross-check.txt"))
                  .find("OE8TIR  kopie deníku ntc-OE8TIR.cbr: křížová kontrola jej nepoužije"),
              std::string::npos);
}

}  // namespace
}  // namespace zeb::cli::test
