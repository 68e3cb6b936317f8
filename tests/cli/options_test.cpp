#include "cli/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace zeb::cli {
namespace {

using Args = std::vector<std::string>;

struct AcceptedCase {
    const char* name;
    Args args;
    // The options that matter for the case, as one text (see describe()).
    std::string expected;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) {
    *os << c.name;
}

std::string optional(const std::optional<std::string>& value) {
    return value ? "'" + *value + "'" : "-";
}

// One line that shows every field, so that a case states all of its expectations at once.
std::string describe(const Options& o) {
    std::string text =
        "config=" + optional(o.evaluation.config) + " call=" + optional(o.evaluation.callStart) +
        " exch=" + optional(o.evaluation.exchStart) + " 80m=" + (o.evaluation.only80m ? "y" : "n") +
        " prefix=" +
        (o.evaluation.unknownPrefix == contest::UnknownPrefixAnswer::Abort ? "abort" : "ignore") +
        " out=" + optional(o.output) + " dir=" + optional(o.outputDir) +
        " force=" + (o.force ? "y" : "n") + " json=" + (o.json ? "y" : "n") + " logs=";
    for (const std::string& log : o.logs) {
        text += "[" + log + "]";
    }
    return text;
}

const std::string kDefaults =
    "config=- call=- exch=- 80m=n prefix=ignore out=- dir=- force=n "
    "json=n logs=[a.cbr]";

class AcceptedOptions : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedOptions, FillTheOptions) {
    const ParseResult result = parseOptions(GetParam().args);
    ASSERT_EQ(result.status, ParseStatus::Run) << result.error;
    EXPECT_EQ(describe(result.options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedOptions,
    testing::Values(
        AcceptedCase{"a_log_alone_keeps_every_default", {"a.cbr"}, kDefaults},
        AcceptedCase{"every_option_with_its_value_as_the_next_argument",
                     {"-c", "x.ini", "--call-start", "55", "--exch-start", "73", "--only-80m",
                      "--unknown-prefix", "abort", "--output-dir", "out", "--force", "--json",
                      "a.cbr", "b.cbr"},
                     "config='x.ini' call='55' exch='73' 80m=y prefix=abort out=- dir='out' "
                     "force=y json=y logs=[a.cbr][b.cbr]"},
        AcceptedCase{"values_after_an_equals_sign",
                     {"--config=x.ini", "--call-start=5", "--exch-start=7",
                      "--unknown-prefix=abort", "--output=p.prn", "a.cbr"},
                     "config='x.ini' call='5' exch='7' 80m=n prefix=abort out='p.prn' dir=- "
                     "force=n json=n logs=[a.cbr]"},
        AcceptedCase{"an_equals_sign_inside_the_value_stays",
                     {"--config=a=b.ini", "a.cbr"},
                     "config='a=b.ini' call=- exch=- 80m=n prefix=ignore out=- dir=- force=n "
                     "json=n logs=[a.cbr]"},
        AcceptedCase{
            "a_repeated_option_keeps_its_last_value",
            {"-c", "first.ini", "--config=second.ini", "--unknown-prefix", "abort",
             "--unknown-prefix", "ignore", "--call-start", "1", "--call-start", "2", "a.cbr"},
            "config='second.ini' call='2' exch=- 80m=n prefix=ignore out=- dir=- "
            "force=n json=n logs=[a.cbr]"},
        AcceptedCase{"a_dash_after_output_is_standard_output",
                     {"-o", "-", "a.cbr"},
                     "config=- call=- exch=- 80m=n prefix=ignore out='-' dir=- force=n json=n "
                     "logs=[a.cbr]"},
        AcceptedCase{"a_start_value_is_kept_as_typed",
                     {"--call-start", " 12abc", "--exch-start", "-3", "a.cbr"},
                     "config=- call=' 12abc' exch='-3' 80m=n prefix=ignore out=- dir=- force=n "
                     "json=n logs=[a.cbr]"},
        AcceptedCase{"options_may_follow_the_logs",
                     {"a.cbr", "--json", "b.cbr"},
                     "config=- call=- exch=- 80m=n prefix=ignore out=- dir=- force=n json=y "
                     "logs=[a.cbr][b.cbr]"},
        AcceptedCase{"a_double_dash_ends_the_options",
                     {"--json", "--", "--force", "-o"},
                     "config=- call=- exch=- 80m=n prefix=ignore out=- dir=- force=n json=y "
                     "logs=[--force][-o]"},
        AcceptedCase{"a_lone_dash_is_a_log_name",
                     {"-"},
                     "config=- call=- exch=- 80m=n prefix=ignore out=- dir=- force=n json=n "
                     "logs=[-]"},
        AcceptedCase{"output_to_a_file_goes_with_json",
                     {"--json", "-o", "p.prn", "a.cbr"},
                     "config=- call=- exch=- 80m=n prefix=ignore out='p.prn' dir=- force=n "
                     "json=y logs=[a.cbr]"}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return info.param.name; });

struct RefusedCase {
    const char* name;
    Args args;
    std::string error;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class UsageErrors : public testing::TestWithParam<RefusedCase> {};

TEST_P(UsageErrors, AreReportedWithTheirReason) {
    const ParseResult result = parseOptions(GetParam().args);
    EXPECT_EQ(result.status, ParseStatus::UsageError);
    EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageErrors,
    testing::Values(
        RefusedCase{"no_log", {"--json"}, "no LOG given"},
        RefusedCase{"an_unknown_long_option", {"--verbose", "a.cbr"}, "unknown option '--verbose'"},
        RefusedCase{"an_unknown_short_option", {"-x", "a.cbr"}, "unknown option '-x'"},
        RefusedCase{"an_abbreviated_option", {"--conf", "x", "a.cbr"}, "unknown option '--conf'"},
        RefusedCase{"an_unknown_option_with_a_value",
                    {"--colour=red", "a.cbr"},
                    "unknown option '--colour'"},
        RefusedCase{"a_short_option_with_its_value_attached",
                    {"-cx.ini", "a.cbr"},
                    "unknown option '-cx.ini'"},
        RefusedCase{
            "a_value_missing_at_the_end", {"a.cbr", "--config"}, "option '--config' needs a value"},
        RefusedCase{
            "a_short_option_without_its_value", {"a.cbr", "-o"}, "option '-o' needs a value"},
        RefusedCase{"an_empty_value_after_the_equals_sign",
                    {"--output-dir=", "a.cbr"},
                    "option '--output-dir' needs a value"},
        RefusedCase{
            "a_value_for_a_switch", {"--json=yes", "a.cbr"}, "option '--json' takes no value"},
        RefusedCase{"an_unknown_prefix_answer",
                    {"--unknown-prefix", "ask", "a.cbr"},
                    "option '--unknown-prefix' takes 'ignore' or 'abort', not 'ask'"},
        RefusedCase{"an_unknown_prefix_answer_in_capitals",
                    {"--unknown-prefix=ABORT", "a.cbr"},
                    "option '--unknown-prefix' takes 'ignore' or 'abort', not 'ABORT'"},
        RefusedCase{"output_with_two_logs",
                    {"-o", "p.prn", "a.cbr", "b.cbr"},
                    "'--output' takes the protocol of a single LOG"},
        RefusedCase{"output_with_an_output_folder",
                    {"-o", "p.prn", "--output-dir", "d", "a.cbr"},
                    "'--output' and '--output-dir' exclude each other"},
        RefusedCase{"standard_output_for_protocol_and_json",
                    {"--json", "--output=-", "a.cbr"},
                    "'--output -' and '--json' would both write to standard output"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

std::string describeReports(const Options& o) {
    std::string results;
    for (const std::string& file : o.results) {
        results += (results.empty() ? "" : ",") + optional(file);
    }
    std::string crossChecks;
    for (const std::string& file : o.crossChecks) {
        crossChecks += (crossChecks.empty() ? "" : ",") + optional(file);
    }
    return "results=" + (results.empty() ? "-" : results) + " bands=" + (o.bands ? "y" : "n") +
           " cross=" + (crossChecks.empty() ? "-" : crossChecks) +
           " window=" + (o.timeWindow ? std::to_string(*o.timeWindow) : "-");
}

TEST(ReportOptions, AreAccepted) {
    const struct {
        Args args;
        std::string expected;
    } cases[] = {
        {{"a.cbr"}, "results=- bands=n cross=- window=-"},
        {{"--results", "r.csv", "--bands", "--cross-check=c.HTML", "--time-window", "1", "a.cbr"},
         "results='r.csv' bands=y cross='c.HTML' window=1"},
        {{"--results=out/r.txt", "--cross-check", "c.txt", "--time-window=527040", "a.cbr"},
         "results='out/r.txt' bands=n cross='c.txt' window=527040"},
        {{"--results", "r.csv", "--results=r.HTML", "--bands", "--results", "r.txt", "a.cbr"},
         "results='r.csv','r.HTML','r.txt' bands=y cross=- window=-"},
        {{"--cross-check", "c.csv", "--cross-check=c.txt", "--time-window", "3", "a.cbr"},
         "results=- bands=n cross='c.csv','c.txt' window=3"},
        {{"--contest", "out", "--bands", "--time-window=5", "logs"},
         "results=- bands=y cross=- window=5"},
    };
    for (const auto& c : cases) {
        const ParseResult result = parseOptions(c.args);
        ASSERT_EQ(result.status, ParseStatus::Run) << result.error;
        EXPECT_EQ(describeReports(result.options), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ReportCases, UsageErrors,
    testing::Values(
        RefusedCase{"results_without_a_known_extension",
                    {"--results", "r.pdf", "a.cbr"},
                    "option '--results' needs a FILE ending in .csv, .html or .txt, not 'r.pdf'"},
        RefusedCase{"cross_check_without_an_extension",
                    {"--cross-check=report", "a.cbr"},
                    "option '--cross-check' needs a FILE ending in .csv, .html or .txt, not "
                    "'report'"},
        RefusedCase{
            "results_without_a_value", {"a.cbr", "--results"}, "option '--results' needs a value"},
        RefusedCase{"bands_without_results",
                    {"--bands", "a.cbr"},
                    "'--bands' adds columns to the table of '--results'"},
        RefusedCase{"time_window_without_cross_check",
                    {"--time-window", "5", "--results", "r.txt", "a.cbr"},
                    "'--time-window' belongs to '--cross-check'"},
        RefusedCase{"one_file_for_both_reports",
                    {"--results", "r.txt", "--cross-check", "r.txt", "a.cbr"},
                    "'--results' and '--cross-check' name the same FILE"},
        RefusedCase{"the_cross_check_file_as_a_second_results_table",
                    {"--results", "r.csv", "--cross-check", "r.txt", "--results", "r.txt", "a.cbr"},
                    "'--results' and '--cross-check' name the same FILE"},
        RefusedCase{"two_results_tables_of_one_format",
                    {"--results", "r.txt", "--results", "r.csv", "--results", "web/R.TXT", "a.cbr"},
                    "'--results' takes one FILE per format, not both 'r.txt' and 'web/R.TXT'"},
        RefusedCase{"two_cross_checks_of_one_format",
                    {"--cross-check", "c.txt", "--cross-check", "c.html", "--cross-check", "d.txt",
                     "a.cbr"},
                    "'--cross-check' takes one FILE per format, not both 'c.txt' and 'd.txt'"},
        RefusedCase{"the_whole_contest_with_an_output_of_its_own",
                    {"--contest", "out", "--results", "r.txt", "logs"},
                    "'--contest' writes every output into its folder; '--results' is not taken "
                    "with it"},
        RefusedCase{"the_whole_contest_with_a_repair_folder",
                    {"--repair", "fixed", "--contest", "out", "logs"},
                    "'--contest' writes every output into its folder; '--repair' is not taken "
                    "with it"},
        RefusedCase{"a_time_window_of_zero",
                    {"--cross-check", "c.txt", "--time-window", "0", "a.cbr"},
                    "option '--time-window' takes a whole number of minutes from 1 to 527040, "
                    "not '0'"},
        RefusedCase{"a_negative_time_window",
                    {"--cross-check", "c.txt", "--time-window=-5", "a.cbr"},
                    "option '--time-window' takes a whole number of minutes from 1 to 527040, "
                    "not '-5'"},
        RefusedCase{"a_time_window_that_is_no_number",
                    {"--cross-check", "c.txt", "--time-window", "10m", "a.cbr"},
                    "option '--time-window' takes a whole number of minutes from 1 to 527040, "
                    "not '10m'"},
        RefusedCase{"a_time_window_beyond_a_year",
                    {"--cross-check", "c.txt", "--time-window", "527041", "a.cbr"},
                    "option '--time-window' takes a whole number of minutes from 1 to 527040, "
                    "not '527041'"},
        RefusedCase{"a_time_window_too_long_to_read",
                    {"--cross-check", "c.txt", "--time-window", "99999999999999999999", "a.cbr"},
                    "option '--time-window' takes a whole number of minutes from 1 to 527040, "
                    "not '99999999999999999999'"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(HelpAndVersion, WinAsSoonAsTheyAreMet) {
    EXPECT_EQ(parseOptions({"-h"}).status, ParseStatus::Help);
    EXPECT_EQ(parseOptions({"a.cbr", "--help", "--bogus"}).status, ParseStatus::Help);
    EXPECT_EQ(parseOptions({"--version"}).status, ParseStatus::Version);
    EXPECT_EQ(parseOptions({"--bogus", "--help"}).status, ParseStatus::UsageError);
    // A value is taken as it stands, even when it looks like an option.
    EXPECT_EQ(parseOptions({"--config", "--help"}).status, ParseStatus::UsageError);
}

TEST(UsageErrorRun, EvaluatesNothingAndWritesNothing) {
    test::TempDir temp;
    const std::string protocol = temp.file("a.prn");
    const test::RunResult result =
        test::runZebscore({"--json", "-o", protocol, test::dataPath("party-crlf.cbr"), "--bogus"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "zebscore: unknown option '--bogus'\nTry 'zebscore --help' for more information.\n");
    EXPECT_FALSE(std::filesystem::exists(protocol));
}

TEST(HelpRun, PrintsTheUsageOnStandardOutput) {
    const test::RunResult help = test::runZebscore({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: zebscore --contest OUT [OPTIONS] LOG|FOLDER...\n"
                             "       zebscore [OPTIONS] LOG [LOG...]\n",
                             0),
              0u)
        << help.out;
    for (const char* option :
         {"--contest", "--entrant-reports", "--repair", "--config-beside", "--config",
          "--call-start", "--exch-start", "--only-80m", "--unknown-prefix", "--output",
          "--output-dir", "--force", "--json", "--results", "--bands", "--cross-check",
          "--time-window", "--help", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.err, "");
    // Within an 80-column terminal, and no option's description cut from its option.
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) {
        const auto columns = std::count_if(line.begin(), line.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        });
        EXPECT_LE(columns, 79) << line;
    }
    EXPECT_NE(help.out.find("  -o, --output FILE          write the protocol of the single LOG"),
              std::string::npos);

    const test::RunResult version = test::runZebscore({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zebscore 3.05\n");
}

}  // namespace
}  // namespace zeb::cli
