#include "contest/check/cross_check.h"

#include "contest/check/contest_analysis.h"
#include "contest/publish/entrant_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeb::contest {
namespace {

struct QsoFields {
    std::int32_t kHz;
    std::string time;  // "HHMM", on 2024-03-02 unless "YYYY-MM-DD HHMM"
    std::string call;
    std::string exchange = "NM";  // as received, a member number without leading zeros or "NM"
    std::string sent = "NM";      // as the partner sent it; empty when the line records nothing
    std::int32_t status = kStatusValid;
};

ContestLog makeLog(std::optional<std::string> ownCall, const std::vector<QsoFields>& fields,
                   LogOutcome outcome = LogOutcome::Scored) {
    ContestLog log;
    log.path = "logs/" + ownCall.value_or("nocall") + ".cbr";
    log.outcome = outcome;
    log.ownCall = std::move(ownCall);
    for (const QsoFields& field : fields) {
        ContestQso qso;
        qso.number = static_cast<int>(log.qsos.size()) + 1;
        qso.kHz = field.kHz;
        qso.status = field.status;
        qso.call = field.call;
        qso.exchange = field.exchange;
        qso.sentExchange = field.sent;
        const bool withDate = field.time.find(' ') != std::string::npos;
        qso.date = withDate ? field.time.substr(0, 10) : "2024-03-02";
        qso.time = withDate ? field.time.substr(11) : field.time;
        qso.minute = minuteOf(qso.date, qso.time);
        qso.line = "QSO: " + std::to_string(field.kHz) + " CW " + qso.date + " " + qso.time + " " +
                   log.ownCall.value_or("") + " " + field.sent + " " + field.call + " " +
                   field.exchange;
        qso.submittedNumber = qso.number + 4;  // below a header of four lines
        log.qsos.push_back(qso);
    }
    return log;
}

// "N3 B1" and so on: per log, the kind and QSO number of every finding, and "+n" confirmed.
std::string describe(const std::vector<ContestLog>& logs, const CrossCheck& check) {
    std::string text;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogCrossCheck& result = check.logs[l];
        text += (l > 0 ? " | " : "") + callOrFileName(logs[l]) + ":";
        if (!result.checked) {
            text += " -";
            continue;
        }
        text += " +" + std::to_string(result.confirmed);
        if (result.unverifiable > 0) {
            text += " ?" + std::to_string(result.unverifiable);
        }
        for (const Finding& finding : result.findings) {
            static const char* kLetters[] = {"N", "B", "W", "X", "U"};
            text += std::string(" ") + kLetters[static_cast<int>(finding.kind)] +
                    std::to_string(logs[l].qsos[finding.qso].number);
            if (finding.partnerQso) {
                text += "@" + callOrFileName(logs[finding.partnerLog]) + "#" +
                        std::to_string(logs[finding.partnerLog].qsos[*finding.partnerQso].number);
            }
        }
    }
    return text;
}

struct CheckCase {
    const char* name;
    std::vector<ContestLog> logs;
    int window;
    std::string expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class CrossCheckCases : public testing::TestWithParam<CheckCase> {};

TEST_P(CrossCheckCases, FindWhatTheLogsDoNotConfirm) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(describe(c.logs, crossCheck(c.logs, c.window)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CrossCheckCases,
    testing::Values(
        CheckCase{
            "ten_minutes_apart_match",
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3520, "0710", "OK1A"}})},
            10,
            "OK1A: +1 | OK2B: +1"},
        CheckCase{
            "eleven_minutes_apart_are_not_in_log",
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3520, "0711", "OK1A"}})},
            10,
            "OK1A: +0 N1 | OK2B: +0 N1"},
        CheckCase{
            "a_wider_window_takes_them",
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3520, "0711", "OK1A"}})},
            11,
            "OK1A: +1 | OK2B: +1"},
        CheckCase{"across_midnight",
                  {makeLog("OK1A", {{3510, "2024-03-02 2358", "OK2B"}}),
                   makeLog("OK2B", {{3520, "2024-03-03 0003", "OK1A"}})},
                  10,
                  "OK1A: +1 | OK2B: +1"},
        CheckCase{
            "another_band_is_another_qso",
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{7010, "0700", "OK1A"}})},
            10,
            "OK1A: +0 N1 | OK2B: +0 N1"},
        CheckCase{
            "a_time_that_cannot_be_read_matches_nothing",
            {makeLog("OK1A", {{3510, "19.03", "OK2B"}}), makeLog("OK2B", {{3510, "0700", "OK1A"}})},
            10,
            "OK1A: +0 N1 | OK2B: +0 N1"},
        CheckCase{
            "calls_compare_without_case",
            {makeLog("ok1a", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3510, "0700", "Ok1A"}})},
            10,
            "ok1a: +1 | OK2B: +1"},
        CheckCase{"only_valid_qsos_are_checked_and_matched",
                  {makeLog("OK1A", {{3510, "0700", "OK2B"},
                                    {3515, "0705", "OK2B", "NM", "NM", kStatusDuplicate},
                                    {10120, "0710", "OK2B", "NM", "NM", kStatusOutOfBand}}),
                   makeLog("OK2B", {{3515, "0705", "OK1A"}})},
                  10,
                  "OK1A: +1 | OK2B: +1"},
        CheckCase{
            "one_record_per_qso_the_nearest_first",
            // Two logs of one station: A's QSO is recorded by the nearer of the two.
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3510, "0708", "OK1A"}}),
             makeLog("OK2B", {{3510, "0703", "OK1A"}})},
            10,
            "OK1A: +1 | OK2B: +0 N1 | OK2B: +1"},
        CheckCase{
            "a_busted_call_is_listed_for_both_stations",
            // OK2B logged OK1A as OK1AA and as OK1X; the nearer of the one-edit calls is the
            // record: OK2B's error, and a call nobody else worked for the other.
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}),
             makeLog("OK2B",
                     {{3510, "0706", "OK1AA"}, {3520, "0702", "OK1X"}, {3530, "0701", "OK7AB"}})},
            10,
            "OK1A: +0 B1@OK2B#2 | OK2B: +0 W2@OK1A#1 U1 U3"},
        CheckCase{"busted_calls_are_found_band_by_band_and_with_swapped_letters",
                  {makeLog("OK1AB", {{3510, "0700", "OK2B"}, {7010, "0700", "OK2B"}}),
                   makeLog("OK2B", {{3510, "0700", "OK1AB"}, {7010, "0701", "OK1BA"}})},
                  10,
                  "OK1AB: +1 B2@OK2B#2 | OK2B: +1 W2@OK1AB#2"},
        CheckCase{
            "two_stations_one_edit_from_one_miscopied_call",
            // OK9Z logged OK1AX; both OK1AB and OK1AC are one edit from it and both logged
            // OK9Z without a match: the nearer in time takes it, the other is not in log.
            {makeLog("OK9Z", {{3510, "0700", "OK1AX"}}), makeLog("OK1AB", {{3510, "0703", "OK9Z"}}),
             makeLog("OK1AC", {{3510, "0701", "OK9Z"}})},
            10,
            "OK9Z: +0 W1@OK1AC#1 | OK1AB: +0 N1 | OK1AC: +0 B1@OK9Z#1"},
        CheckCase{"a_miscopied_call_whose_nearest_candidate_a_third_log_confirms",
                  // OK2B's QSO with OK1AB is confirmed by OK1AB's log, so it is no record of the
                  // QSO that OK1ABC logged; that one is not in OK2B's log.
                  {makeLog("OK1ABC", {{3510, "0700", "OK2B"}}),
                   makeLog("OK2B", {{3510, "0700", "OK1AB"}}),
                   makeLog("OK1AB", {{3510, "0700", "OK2B"}})},
                  10,
                  "OK1ABC: +0 N1 | OK2B: +1 | OK1AB: +1"},
        CheckCase{"exchanges_compare_as_member_numbers",
                  {makeLog("OK1A", {{3510, "0700", "OK2B", "42"},
                                    {7010, "0700", "OK2B", "43"},
                                    {14010, "0700", "OK2B", "NM"},
                                    {21010, "0700", "OK2B", "NM"},
                                    {28010, "0700", "OK2B", "NM"}}),
                   makeLog("OK2B", {{3510, "0700", "OK1A", "NM", "42"},
                                    {7010, "0700", "OK1A", "NM", "42"},
                                    {14010, "0700", "OK1A", "NM", ""},
                                    {21010, "0700", "OK1A", "NM", "42"},
                                    {28010, "0700", "OK1A", "NM", "NM"}})},
                  10,
                  "OK1A: +5 ?1 X2@OK2B#2 X4@OK2B#4 | OK2B: +5"},
        CheckCase{"a_log_of_another_session_misses_nothing",
                  {makeLog("OK1A",
                           {{3510, "2024-03-02 0700", "OK2B"}, {3510, "2024-03-02 0800", "OK3C"}}),
                   makeLog("OK2B", {{3510, "2024-03-09 0700", "OK9Z"}}),
                   makeLog("OK3C", {{3510, "2024-03-02 1200", "OK9Z"}})},
                  10,
                  "OK1A: +0 N2 | OK2B: +0 | OK3C: +0"},
        CheckCase{"a_call_is_unique_only_when_nobody_else_holds_it",
                  {makeLog("OK1A", {{3510, "0700", "OK9Z"},
                                    {3520, "0701", "OK8Y"},
                                    {3530, "0702", "OK7X"},
                                    {3540, "0703", "OK6W"}}),
                   // OK8Y stands in a duplicate QSO and still counts.
                   makeLog("OK2B", {{7010, "0700", "OK8Y"},
                                    {7020, "0700", "OK8Y", "NM", "NM", kStatusDuplicate}}),
                   makeLog("OK7X", {}, LogOutcome::Refused),
                   makeLog(std::nullopt, {{7030, "0700", "OK6W"}})},
                  10,
                  "OK1A: +0 U1 | OK2B: +0 | OK7X: - | nocall.cbr: -"},
        CheckCase{"a_log_that_was_not_scored_is_no_partner",
                  {makeLog("OK1A", {{3510, "0700", "OK2B"}}),
                   makeLog("OK2B", {{3510, "0700", "OK1A"}}, LogOutcome::Aborted)},
                  10,
                  "OK1A: +0 | OK2B: -"}),
    [](const testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

TEST(DifferByOneEdit, IsOneCharacterChangedAddedOrDropped) {
    struct Case {
        const char* first;
        const char* second;
        bool expected;
    };
    for (const Case& c : std::vector<Case>{{"OK1ABC", "OK1ABD", true},
                                           {"OK1ABC", "OK1AB", true},
                                           {"OK1AB", "OK1ABC", true},
                                           {"OK1ABC", "K1ABC", true},
                                           {"OK1ABC", "OK1XABC", true},
                                           {"", "A", true},
                                           {"OK1ABC", "OK1ABC", false},
                                           {"OK1ABC", "OK1BAC", true},
                                           {"OK1ABC", "OK1BCA", false},
                                           {"OK1ABC", "OK1A", false},
                                           {"OK1ABC", "OK2ABD", false},
                                           {"", "", false}}) {
        EXPECT_EQ(differByOneEdit(c.first, c.second), c.expected) << c.first << " " << c.second;
    }
}

TEST(StationCall, LeavesOutDesignatorsAndCountryPrefixes) {
    for (const auto& [call, station] :
         std::vector<std::pair<const char*, const char*>>{{"ok1lo", "OK1LO"},
                                                          {"OK1LO/P", "OK1LO"},
                                                          {"OK1LO/qrp", "OK1LO"},
                                                          {"OK1LO/MM", "OK1LO"},
                                                          {"OK1LO/7", "OK1LO"},
                                                          {"DL/OK1LO", "OK1LO"},
                                                          {"dl/ok1lo/p", "OK1LO"},
                                                          {"OK1LO/AM/M", "OK1LO"},
                                                          {"3D2/K1ABC", "K1ABC"},
                                                          {"OK1LO/12", "OK1LO"},
                                                          {"/P", ""}}) {
        EXPECT_EQ(stationCall(call), station) << call;
    }
}

TEST(MinuteOf, CountsAcrossDaysMonthsAndLeapDays) {
    EXPECT_EQ(*minuteOf("1970-01-01", "0001"), 1);
    EXPECT_EQ(*minuteOf("2024-03-03", "0000") - *minuteOf("2024-03-02", "2359"), 1);
    EXPECT_EQ(*minuteOf("2024-03-01", "0000") - *minuteOf("2024-02-29", "2359"), 1);
    EXPECT_EQ(*minuteOf("2025-01-01", "0000") - *minuteOf("2024-12-31", "2359"), 1);
    for (const auto& [date, time] :
         std::vector<std::pair<const char*, const char*>>{{"2024-03-02", "19.03"},
                                                          {"2024-03-02", "2400"},
                                                          {"2024-03-02", "0760"},
                                                          {"2024-03-02", "700"},
                                                          {"02-03-2024", "0700"},
                                                          {"2024-13-02", "0700"},
                                                          {"2024-03-00", "0700"},
                                                          {"", ""}}) {
        EXPECT_FALSE(minuteOf(date, time)) << date << " " << time;
    }
}

TEST(NormalizedExchange, FollowsTheExtractionRule) {
    for (const auto& [text, expected] :
         std::vector<std::pair<const char*, const char*>>{{"0042", "42"},
                                                          {"42", "42"},
                                                          {"12345", "12345"},
                                                          {"NM", "NM"},
                                                          {"nm", "NM"},
                                                          {"0", "NM"},
                                                          {"0000", "NM"},
                                                          {"", "NM"},
                                                          {"HANS/124", "NM"},
                                                          {"-5", "NM"}}) {
        EXPECT_EQ(normalizedExchange(text), expected) << text;
    }
}

// Per log its flag codes: "OK1A: other-session no-partner | OK2B: -".
std::string flagsOf(std::vector<ContestLog> logs, bool withCrossCheck = true) {
    const CrossCheck check = crossCheck(logs, kDefaultTimeWindow);
    analyzeContest(logs, withCrossCheck ? &check : nullptr);
    std::string text;
    for (const ContestLog& log : logs) {
        text += (text.empty() ? "" : " | ") + callOrFileName(log) + ":";
        for (const LogFlag& flag : log.flags) {
            text += " " + flag.code;
        }
        if (log.flags.empty()) {
            text += " -";
        }
    }
    return text;
}

// Three stations that work each other on the evening of 2024-03-02.
std::vector<ContestLog> evening() {
    return {makeLog("OK1A", {{3510, "0700", "OK2B"}, {3510, "0710", "OK3C"}}),
            makeLog("OK2B", {{3510, "0700", "OK1A"}, {3510, "0720", "OK3C"}}),
            makeLog("OK3C", {{3510, "0710", "OK1A"}, {3510, "0720", "OK2B"}})};
}

std::vector<ContestLog> with(std::vector<ContestLog> logs, ContestLog log) {
    logs.push_back(std::move(log));
    return logs;
}

TEST(ContestFlags, NameTheLogsToLookAt) {
    ContestLog refused = makeLog("OK5E", {}, LogOutcome::Refused);
    refused.reason = "prázdný soubor";
    ContestLog poorColumns = makeLog("OK5E", {{3510, "0730", "OK1A"}});
    poorColumns.columnCheck = {10, 8, 0, {3, 4}};
    ContestLog noSentNumber = makeLog("OK5E", {{3510, "0730", "OK1A", "NM", ""}});
    noSentNumber.qsos[0].read = true;
    ContestLog unread = makeLog("OK5E", {{3510, "0730", "OK1A"}});
    unread.repaired = RepairedLog{"fixed/OK5E.cbr", {}};
    unread.repaired->repair.noMemberLines = {14};
    // The cross-check runs for the first cases; the others are of flags that need none, and their
    // fifth log meets no other (which would add no-partner).
    const struct {
        const char* name;
        std::vector<ContestLog> logs;
        std::string expected;
        bool crossChecked = false;
    } cases[] = {
        {"one_evening_raises_nothing", evening(), "OK1A: - | OK2B: - | OK3C: -", true},
        {"a_log_of_another_month_is_of_another_session",
         with(evening(), makeLog("OK5E", {{3510, "2024-04-06 0700", "OK1A"}})),
         "OK1A: - | OK2B: - | OK3C: - | OK5E: other-session no-partner", true},
        {"a_log_that_meets_nobody_has_no_partner",
         with(evening(), makeLog("OK5E", {{3510, "0730", "OK9Z"}})),
         "OK1A: - | OK2B: - | OK3C: - | OK5E: no-partner", true},
        {"two_logs_have_too_few_partners_to_tell",
         {makeLog("OK1A", {{3510, "0700", "OK9Z"}}), makeLog("OK2B", {{3510, "0700", "OK8Y"}})},
         "OK1A: - | OK2B: -",
         true},
        {"three_logs_are_enough_to_tell",
         {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3510, "0700", "OK1A"}}),
          makeLog("OK3C", {{3510, "0710", "OK9Z"}})},
         "OK1A: - | OK2B: - | OK3C: no-partner",
         true},
        // A miscopied call is still a QSO of the two stations: the log is of this contest.
        {"a_log_whose_only_qso_it_miscopied_met_its_partner",
         {makeLog("OK1A", {{3510, "0700", "OK2B"}, {3510, "0710", "OK3C"}, {3510, "0730", "OK5E"}}),
          makeLog("OK2B", {{3510, "0700", "OK1A"}, {3510, "0720", "OK3C"}}),
          makeLog("OK3C", {{3510, "0710", "OK1A"}, {3510, "0720", "OK2B"}}),
          makeLog("OK5E", {{3510, "0731", "OK1X"}})},
         "OK1A: - | OK2B: - | OK3C: - | OK5E: -",
         true},
        {"a_log_whose_only_qso_its_partner_miscopied_met_its_partner",
         {makeLog("OK1A", {{3510, "0700", "OK2B"}, {3510, "0710", "OK3C"}, {3510, "0730", "OK5X"}}),
          makeLog("OK2B", {{3510, "0700", "OK1A"}, {3510, "0720", "OK3C"}}),
          makeLog("OK3C", {{3510, "0710", "OK1A"}, {3510, "0720", "OK2B"}}),
          makeLog("OK5E", {{3510, "0731", "OK1A"}})},
         "OK1A: - | OK2B: - | OK3C: - | OK5E: -",
         true},
        {"two_logs_of_one_station_in_one_session",
         with(evening(), makeLog("OK1A", {{3510, "0720", "OK3C"}})),
         "OK1A: same-call | OK2B: - | OK3C: - | OK1A: same-call"},
        {"two_logs_of_one_station_its_call_written_in_small_letters",
         with(evening(), makeLog("ok1a", {{3510, "0720", "OK3C"}})),
         "OK1A: same-call | OK2B: - | OK3C: - | ok1a: same-call"},
        // A contest of 24 hours from Saturday noon: the log of a station that came on the air on
        // Sunday morning is of it.
        {"a_log_begun_on_the_second_day_of_a_weekend_contest",
         {makeLog("OK1A", {{3510, "2024-03-02 1200", "OK2B"}, {3510, "2024-03-03 1150", "OK5E"}}),
          makeLog("OK2B", {{3510, "2024-03-02 1200", "OK1A"}, {3510, "2024-03-02 1300", "OK3C"}}),
          makeLog("OK3C", {{3510, "2024-03-02 1300", "OK2B"}}),
          makeLog("OK5E", {{3510, "2024-03-03 1150", "OK1A"}, {3510, "2024-03-03 1155", "OK9Z"}})},
         "OK1A: - | OK2B: - | OK3C: - | OK5E: -"},
        {"the_same_station_on_another_evening_is_no_second_log",
         with(evening(), makeLog("OK1A", {{3510, "2024-04-06 0700", "OK9Z"}})),
         "OK1A: - | OK2B: - | OK3C: - | OK1A: other-session no-partner", true},
        {"two_logs_of_one_station_on_another_evening",
         with(with(evening(), makeLog("OK9Y", {{3510, "2024-04-06 0700", "OK1A"}})),
              makeLog("OK9Y", {{3510, "2024-04-06 0705", "OK2B"}})),
         "OK1A: - | OK2B: - | OK3C: - | OK9Y: other-session same-call | OK9Y: other-session "
         "same-call"},
        {"a_refused_log", with(evening(), refused), "OK1A: - | OK2B: - | OK3C: - | OK5E: refused"},
        // Misread columns, not another contest, are why its QSOs meet nobody.
        {"columns_that_read_fewer_than_nine_lines_in_ten", with(evening(), poorColumns),
         "OK1A: - | OK2B: - | OK3C: - | OK5E: columns", true},
        {"lines_without_a_sent_number", with(evening(), noSentNumber),
         "OK1A: - | OK2B: - | OK3C: - | OK5E: no-sent-number"},
        {"an_exchange_the_repair_wrote_as_nothing", with(evening(), unread),
         "OK1A: - | OK2B: - | OK3C: - | OK5E: unread"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(flagsOf(c.logs, c.crossChecked), c.expected) << c.name;
    }
    // Meeting no other log is a finding of the cross-check.
    EXPECT_EQ(flagsOf(with(evening(), makeLog("OK5E", {{3510, "0730", "OK9Z"}})), false),
              "OK1A: - | OK2B: - | OK3C: - | OK5E: -");
}

TEST(ContestFlags, SayWhereTheSessionIsAndWhichLinesLieOutsideIt) {
    std::vector<ContestLog> logs =
        with(evening(), makeLog("OK5E", {{3510, "0730", "OK1A"},
                                         {3510, "2024-04-06 0700", "OK2B"},
                                         {3510, "2024-04-06 0702", "OK3C"}}));
    for (ContestQso& qso : logs.back().qsos) {
        qso.submittedNumber = qso.number + 10;
    }
    logs[0].contestName = "ZEB Party";
    logs[1].contestName = "zeb  PARTY";
    logs[2].contestName = "CQP";
    const ContestSummary summary = analyzeContest(logs, nullptr);
    EXPECT_EQ(summary.firstDate, "2024-03-02");
    EXPECT_EQ(summary.lastDate, "2024-03-02");
    EXPECT_EQ(summary.name, "ZEB Party");
    EXPECT_EQ(summary.nameCount, 2);
    ASSERT_EQ(logs.back().flags.size(), 1u);
    EXPECT_EQ(logs.back().flags[0].text,
              "QSO z 2024-04-06 (řádky 12, 13), soutěž proběhla 2024-03-02: deník jiného kola");
}

struct ReportCase {
    const char* name;
    std::vector<ContestLog> logs;
    std::size_t log;      // whose report
    std::string excerpt;  // a passage of its Czech half
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

class EntrantReport : public testing::TestWithParam<ReportCase> {};

TEST_P(EntrantReport, TellsTheEntrantWhatTheCheckFound) {
    const ReportCase& c = GetParam();
    std::vector<ContestLog> logs = c.logs;
    const CrossCheck check = crossCheck(logs, kDefaultTimeWindow);
    const ContestSummary summary = analyzeContest(logs, &check);
    const std::string report = entrantReport(logs, check, c.log, summary);
    EXPECT_NE(report.find(c.excerpt), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntrantReport,
    testing::Values(
        ReportCase{
            "a_busted_call_quotes_the_line_of_the_station_that_miscopied_it",
            {makeLog("OK1A", {{3510, "0700", "OK2B"}}), makeLog("OK2B", {{3510, "0701", "OK1X"}})},
            0,
            "  OK2B zapsala vaši značku jako OK1X\n"
            "    váš řádek 5: QSO: 3510 CW 2024-03-02 0700 OK1A NM OK2B NM\n"
            "    OK2B, řádek 5: QSO: 3510 CW 2024-03-02 0701 OK2B NM OK1X NM\n"},
        ReportCase{"exchanges_that_cannot_be_verified_are_information_of_their_own",
                   {makeLog("OK1A", {{3510, "0700", "OK2B"}}),
                    makeLog("OK2B", {{3510, "0700", "OK1A", "NM", ""}})},
                   0,
                   "Kontrola nenašla nic, co by se odečítalo.\n\n"
                   "Pro informaci (nic se neodečítá)\n"
                   "--------------------------------\n"
                   "QSO, jejichž výměnu nelze ověřit (protistanice neuvádí vyslané číslo): 1\n"},
        // Of another session, it meets nobody as a matter of course: its dates are the reason.
        ReportCase{"a_log_of_another_session_is_ranked_apart_for_its_dates",
                   with(evening(), makeLog("OK5E", {{3510, "2024-04-06 0700", "OK1A"}})), 3,
                   "\nDeník je hodnocen mimo pořadí: jeho QSO nejsou z doby soutěže.\n"}),
    [](const testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

TEST(EntrantReportNames, AreOneFileNameEachOnEverySystem) {
    std::vector<ContestLog> logs = {makeLog("OK1ABC/P", {}), makeLog("PE2V", {}),
                                    makeLog("PE2V", {}),     makeLog(std::nullopt, {}),
                                    makeLog("CON", {}),      makeLog("../x:y", {}),
                                    makeLog("ok1abc_p", {})};
    logs[1].path = "logs/ntc-PE2V-feb.cbr";
    logs[2].path = "logs/ntc-PE2V-mar.cbr";
    logs[3].path = "logs/no call.log";
    EXPECT_EQ(
        entrantReportNames(logs),
        (std::vector<std::string>{"OK1ABC_P.txt", "ntc-PE2V-feb.txt", "ntc-PE2V-mar.txt",
                                  "no call.txt", "_CON.txt", "_.._X_Y.txt", "OK1ABC_P-2.txt"}));
}

TEST(LineList, JoinsRunsAndStopsAfterTwelve) {
    EXPECT_EQ(lineList({7, 3, 8, 9, 12, 3}), "3, 7–9, 12");
    EXPECT_EQ(lineList({4, 5}), "4, 5");
    std::vector<int> many;
    for (int i = 1; i <= 40; i += 2) {
        many.push_back(i);
    }
    EXPECT_EQ(lineList(many), "1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23 a další (celkem 20)");
}

}  // namespace
}  // namespace zeb::contest
