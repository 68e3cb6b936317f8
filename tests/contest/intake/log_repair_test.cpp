#include "contest/intake/log_repair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "contest/intake/column_check.h"
#include "intake/qso_fields.h"
#include "support/recording_platform.h"

namespace zeb::contest {
namespace {

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string capitals(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return text;
}

// What the repair promises, for any log: the reader takes the copy, which holds every QSO line;
// the columns of the copy are found (or set by the evaluation); and the rewritten lines hold the
// calls and member numbers that the log's lines hold, and are read by those columns.
void expectRepairKeepsItsPromise(const std::string& name, const std::string& log) {
    SCOPED_TRACE(name);
    const LogRepair repair = repairLog(log);
    test::Evaluation copy;
    const LoadOutcome loaded = copy.load(repair.copy);
    if (repair.qsoLines > kMaxQsoLines) {
        EXPECT_EQ(loaded, LoadOutcome::Refused);
        return;
    }
    ASSERT_EQ(loaded, LoadOutcome::Loaded) << copy.dialogTexts();
    const EvaluationState& state = *copy.state;
    EXPECT_EQ(state.qsoTable.qsoCount, repair.qsoLines);
    const auto unread = static_cast<int>(repair.unreadLines.size());
    if (repair.qsoLines > unread && !repair.columnsMustBeSet) {
        EXPECT_EQ(state.columns.callStart, kRepairedCallColumn);
        EXPECT_EQ(state.columns.exchStart, kRepairedExchangeColumn);
    }
    copy.window.setEditText(Edit::cstart, std::to_string(kRepairedCallColumn));
    copy.window.setEditText(Edit::istart, std::to_string(kRepairedExchangeColumn));
    ASSERT_TRUE(copy.compute());
    const std::vector<QsoLineReading> copied = readQsoLines(qsoLinesOf(repair.copy), "");
    EXPECT_EQ(checkColumns(state, qsoLinesOf(repair.copy), "").agreeing, repair.qsoLines - unread);

    const std::vector<std::string_view> lines = qsoLinesOf(log);
    if (lines.size() != copied.size()) {
        return;  // QSO lines the reader of the log does not see: compared by the counts above
    }
    const std::vector<QsoLineReading> original = readQsoLines(lines, "");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!original[i].fields || !copied[i].fields) {
            continue;
        }
        EXPECT_EQ(copied[i].fields->receivedCall, capitals(original[i].fields->receivedCall))
            << lines[i];
        EXPECT_EQ(copied[i].fields->receivedMember.value(),
                  original[i].fields->receivedMember.value())
            << lines[i];
        EXPECT_EQ(copied[i].fields->sentMember.value(), original[i].fields->sentMember.value())
            << lines[i];
    }
}

TEST(RepairLog, KeepsItsPromiseOnTheFixtureLogs) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(ZEB_TEST_DATA_DIR) + "/repair")) {
        if (entry.path().extension() == ".cbr") {
            expectRepairKeepsItsPromise(entry.path().filename().string(), readBytes(entry.path()));
        }
    }
}

TEST(RepairLog, KeepsItsPromiseOnTheRealLogs) {
    const std::filesystem::path corpus(ZEB_CORPUS_DIR);
    if (!std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() == ".cbr") {
            expectRepairKeepsItsPromise(entry.path().filename().string(), readBytes(entry.path()));
        }
    }
}

std::string changesOf(const LogRepair& repair) {
    std::string text;
    for (const RepairChange& change : repair.changes) {
        text += std::to_string(change.line) + ": " + change.text + "\n";
    }
    return text;
}

TEST(RepairLog, CopiesWhatItCannotReadAndInventsNothing) {
    const LogRepair repair = repairLog(
        "START-OF-LOG: 3.0\n"
        "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 ALES 101 OK1BB 599 BOREK\n"
        "QSO:  3515 CW 2024-03-02 0702 OK1AA 599 ALES 101\tOK1CCCCCCCCCCCCC 599 103\n"
        "QSO:  3520 CW 2024-03-02 0704 OK1AA 599 ALES 101 OK1DD 599 DAN 104\n"
        "END-OF-LOG:\n"
        "after\tthe end\n");
    // No "CALLSIGN:" line: added from the call that the lines send; the line without an
    // exchange gets no member number or NM; the line with no call sign it can read stays.
    EXPECT_EQ(repair.copy,
              "START-OF-LOG: 3.0\n"
              "CALLSIGN: OK1AA\n"
              "QSO:  3510 CW 2024-03-02 0700 OK1AA         599 101    OK1BB         599 -\n"
              "QSO:  3515 CW 2024-03-02 0702 OK1AA 599 ALES 101 OK1CCCCCCCCCCCCC 599 103\n"
              "QSO:  3520 CW 2024-03-02 0704 OK1AA         599 101    OK1DD         599 104\n"
              "END-OF-LOG:\n"
              "after\tthe end\n");
    EXPECT_EQ(repair.unreadLines, std::vector<int>{3});
    EXPECT_EQ(repair.noMemberLines, std::vector<int>{2});
    EXPECT_EQ(repair.qsoLines, 3);
    EXPECT_EQ(repair.qsoLineNumbers, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(changesOf(repair),
              "1: CALLSIGN: line added from the sent call OK1AA\n"
              "2: sent exchange `ALES 101` read as 101\n"
              "2: exchange `BOREK` holds no member number or NM: written -\n"
              "3: tab replaced\n"
              "4: exchange `DAN 104` read as 104\n");
}

// A name quoted from a log of the Windows code page reads right in the Czech note, which is UTF-8;
// the other note keeps the log's bytes.
TEST(RepairLog, QuotesTheLogsLettersInItsCzechNotes) {
    const LogRepair repair = repairLog(
        "START-OF-LOG: 3.0\nCALLSIGN: OK1AA\n"
        "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 ALE\x8a 101 OK1BB 599 JI\xd8\xcd 102\n"
        "END-OF-LOG:\n");
    std::string czech;
    for (const RepairChange& change : repair.changes) {
        czech += change.czech + "\n";
    }
    EXPECT_EQ(czech,
              "vyslaná výměna `ALEŠ 101` přečtena jako 101\n"
              "výměna `JIŘÍ 102` přečtena jako 102\n");
    EXPECT_EQ(changesOf(repair),
              "3: sent exchange `ALE\x8a 101` read as 101\n"
              "3: exchange `JI\xd8\xcd 102` read as 102\n");
}

TEST(RepairLog, ShortensTheHeaderAndAddsTheEndMarker) {
    // A line that fills the reader's line makes two lines of the reader.
    std::string log = "START-OF-LOG: 3.0\nCLUB: " + std::string(216, 'Z') + "\n";
    for (int i = 0; i < 13; ++i) {
        log += "SOAPBOX: line " + std::to_string(i) + (i == 5 ? " that is the longest" : "") + "\n";
    }
    log += "CONTEST: ZEB\n# a comment\n\nCATEGORY-MODE: CW\n";
    for (int i = 0; i < 9; ++i) {
        log += "X-LINE: " + std::to_string(i) + "\n";
    }
    log += "CALLSIGN: OK1AA\nQSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 102";

    const LogRepair repair = repairLog(log);
    std::vector<std::string> header;
    std::istringstream copy(repair.copy);
    for (std::string line; std::getline(copy, line) && line.rfind("QSO:", 0) != 0;) {
        header.push_back(line);
    }
    // 29 lines before the first QSO line: the comment, the blank line and the two longest lines of
    // free text go, and the call moves up to where the column finding reads it.
    ASSERT_EQ(header.size(), 25u);
    EXPECT_EQ(header[0], "START-OF-LOG: 3.0");
    EXPECT_EQ(header[1], "CALLSIGN: OK1AA");
    EXPECT_EQ(header[2].size(), 221u);
    EXPECT_EQ(std::count(header.begin(), header.end(), "SOAPBOX: line 5 that is the longest"), 0);
    EXPECT_EQ(std::count(header.begin(), header.end(), "CATEGORY-MODE: CW"), 1);
    EXPECT_EQ(repair.copy.substr(repair.copy.size() - 12), "END-OF-LOG:\n");
    EXPECT_NE(changesOf(repair).find("31: END-OF-LOG: added"), std::string::npos)
        << changesOf(repair);
}

// The lines before the first QSO line of a repaired copy.
std::vector<std::string> headerOf(const LogRepair& repair) {
    std::vector<std::string> header;
    std::istringstream copy(repair.copy);
    for (std::string line; std::getline(copy, line) && line.rfind("QSO:", 0) != 0;) {
        header.push_back(line);
    }
    return header;
}

TEST(RepairLog, KeepsTheCallWhereTheColumnFindingReadsIt) {
    const std::string qsos =
        "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 102\n"
        "QSO:  3515 CW 2024-03-02 0702 OK1AA 599 101 OK1CC 599 103\n";
    // START-OF-LOG, then `keys` lines before the call, and three after it.
    const auto log = [&](int keys, const std::string& callsign) {
        std::string text = "START-OF-LOG: 3.0\n";
        for (int i = 0; i < keys; ++i) {
            text += "CATEGORY-" + std::to_string(i) + ": X\n";
        }
        text += callsign + "\nCLUB: ZEB\nNAME: A\nCONTEST: ZEB\n";
        return text + qsos;
    };
    const struct {
        const char* name;
        std::string log;
        std::size_t callAt;  // in the copy, from 0
        std::string call;
    } cases[] = {
        {"the eleventh line is the last that is read: it stays", log(9, "CALLSIGN: OK1AA"), 10,
         "CALLSIGN: OK1AA"},
        {"from the twelfth it moves up below the start", log(10, "CALLSIGN: OK1AA"), 1,
         "CALLSIGN: OK1AA"},
        {"the first of two calls counts; the second stays as it was",
         log(2, "CALLSIGN: OK1AA\nCALLSIGN: OK1XX"), 3, "CALLSIGN: OK1AA"},
        {"a lower-case call is written in capitals where it stands", log(4, "callsign:  ok1aa"), 5,
         "CALLSIGN: OK1AA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LogRepair repair = repairLog(c.log);
        const std::vector<std::string> header = headerOf(repair);
        ASSERT_GT(header.size(), c.callAt);
        EXPECT_EQ(header[c.callAt], c.call);
        EXPECT_EQ(header[0], "START-OF-LOG: 3.0");
        EXPECT_EQ(std::count(header.begin(), header.end(), "CALLSIGN: OK1AA"), 1);
        test::Evaluation copy;
        ASSERT_EQ(copy.load(repair.copy), LoadOutcome::Loaded) << copy.dialogTexts();
        EXPECT_EQ(copy.state->columns.callStart, kRepairedCallColumn);
        EXPECT_FALSE(repair.columnsMustBeSet);
    }
    const std::vector<std::string> twoCalls = headerOf(repairLog(cases[2].log));
    EXPECT_EQ(std::count(twoCalls.begin(), twoCalls.end(), "CALLSIGN: OK1XX"), 1);

    // Thirty keys: the start of the log outlasts them all.
    const LogRepair crowded = repairLog(log(30, "CALLSIGN: OK1AA"));
    const std::vector<std::string> header = headerOf(crowded);
    EXPECT_EQ(header.size(), 25u);
    EXPECT_EQ(header[0], "START-OF-LOG: 3.0");
    EXPECT_EQ(header[1], "CALLSIGN: OK1AA");
}

TEST(RepairLog, SetsTheColumnsWhenTheColumnFindingWouldStopOnALineItKept) {
    // The first line cannot be read (its received call is too long to be one), but the column
    // finding would take its columns for every line.
    const LogRepair repair = repairLog(
        "CALLSIGN: OK1AA\n"
        "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BBBBBBBBBBBBBB 599 102\n"
        "QSO:  3515 CW 2024-03-02 0702 OK1AA 599 101 OK1CC 599 103\n"
        "END-OF-LOG:\n");
    EXPECT_EQ(repair.unreadLines, std::vector<int>{2});
    EXPECT_TRUE(repair.columnsMustBeSet);
}

TEST(RepairLog, AddsNoCallWhenTheLinesSendDifferentOnes) {
    const LogRepair repair = repairLog(
        "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 102\n"
        "QSO:  3510 CW 2024-03-02 0701 OK1CC 599 103 OK1BB 599 102\n"
        "END-OF-LOG:\n");
    EXPECT_EQ(repair.copy.find("CALLSIGN:"), std::string::npos);
}

// A line agrees when both its call and its exchange are what the line's fields hold: right calls
// with wrong numbers do not agree. Nine lines in ten are enough.
TEST(ColumnCheck, AgreesOnlyWhereCallAndExchangeAreRight) {
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) {
        lines.push_back(test::qsoLine("3510", "OK1B" + std::string(1, static_cast<char>('A' + i)),
                                      std::to_string(101 + i)));
    }
    const std::string log = test::cabrilloLog(lines);
    const auto agreeing = [&](int exchStart) {
        test::Evaluation evaluation;
        EXPECT_EQ(evaluation.load(log), LoadOutcome::Loaded);
        evaluation.window.setEditText(Edit::istart, std::to_string(exchStart));
        EXPECT_TRUE(evaluation.compute());
        return checkColumns(*evaluation.state, qsoLinesOf(log), "OK1ZEB");
    };
    EXPECT_EQ(agreeing(73).agreeing, 10);
    // One column to the right: every call still right, every member number cut.
    const ColumnCheck shifted = agreeing(74);
    EXPECT_EQ(shifted.agreeing, 0);
    EXPECT_TRUE(shifted.poor());
    EXPECT_EQ(shifted.disagreeing.size(), 10u);

    for (const auto& [lines, agree, poor] :
         std::vector<std::tuple<int, int, bool>>{{10, 9, false},
                                                 {10, 8, true},
                                                 {20, 18, false},
                                                 {20, 17, true},
                                                 {0, 0, false},
                                                 {1, 0, true},
                                                 {1000000000, 900000000, false},
                                                 {1000000000, 899999999, true}}) {
        EXPECT_EQ((ColumnCheck{lines, agree, 0, {}}.poor()), poor) << agree << " of " << lines;
    }
    EXPECT_EQ((ColumnCheck{10, 9, 0, {}}.percent()), 90);
    EXPECT_EQ((ColumnCheck{0, 0, 0, {}}.percent()), 100);
}

}  // namespace
}  // namespace zeb::contest
