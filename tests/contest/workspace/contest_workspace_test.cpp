#include "contest/workspace/contest_workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "cli/cli_test_support.h"
#include "cli/zebscore.h"
#include "contest/decisions/decisions.h"
#include "contest/publish/results_table.h"
#include "support/folder_files.h"

namespace zeb::contest {
namespace {

namespace fs = std::filesystem;
using cli::test::contestPath;
using cli::test::readFile;
using cli::test::writeFile;
using test::filesUnder;
using test::folderDifferences;
using test::FolderFiles;

// The small test contest and a file that is no log in a folder, the output folder inside it as the
// window proposes it.
class Workspace : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(logs());
        for (const char* name : {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr",
                                 "dl5eee.cbr", "ok1fff-tab.cbr"}) {
            fs::copy_file(contestPath(name), fs::path(logs()) / name);
        }
        writeFile(temp_.file("logs/notes.log"), "what to bring to the contest\n");
    }

    std::string logs() const { return temp_.file("logs"); }
    std::string out() const { return temp_.file("logs/vyhodnoceni"); }
    std::vector<std::string> inputs() const { return *logsInFolder(logs()); }
    // By its file name: a folder's logs are named with the separator it was given with.
    std::size_t indexOf(const char* name) const {
        const std::vector<std::string> all = inputs();
        const auto found = std::find_if(all.begin(), all.end(), [&](const std::string& log) {
            return fs::path(log).filename() == name;
        });
        EXPECT_NE(found, all.end()) << name;
        return static_cast<std::size_t>(found - all.begin());
    }

    // OL3CCC's copy with the QSO that OK2BBB logged and OL3CCC forgot, as an evaluator adds it.
    void correctOl3cccCopy() const {
        const std::string copy = out() + "/fixed/ol3ccc.cbr";
        std::string text = readFile(copy);
        text.insert(
            text.find("QSO:  7050"),
            "QSO:  7030 CW 2024-03-02 0730 OL3CCC        599 NM     OK2BBB        599 22\n");
        writeFile(copy, text);
    }

    // What zebscore --contest writes into the same folder, once the reports there are removed.
    FolderFiles zebscoreFiles(std::vector<std::string> options) const {
        for (const fs::directory_entry& entry : fs::directory_iterator(out())) {
            if (entry.path().filename() != "fixed") {
                fs::remove_all(entry.path());
            }
        }
        std::vector<std::string> args = {"--contest", out(), "--config-beside"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(logs());
        const cli::test::RunResult result = cli::test::runZebscore(args);
        EXPECT_EQ(result.status, cli::kExitRefused) << result.err;  // notes.log
        return filesUnder(out());
    }

    cli::test::TempDir temp_;
};

TEST_F(Workspace, PublishesWhatZebscoreWritesForTheSameLogs) {
    ContestWorkspace contest(inputs(), out());
    ASSERT_TRUE(contest.load());
    std::vector<std::string> notes;
    const auto publish = [&] {
        EXPECT_TRUE(contest.publish([&](const std::string& note) { notes.push_back(note); }));
        return filesUnder(out());
    };

    const FolderFiles taken = publish();
    EXPECT_EQ(folderDifferences(taken, zebscoreFiles({})), "");
    EXPECT_TRUE(taken.count("protocols/ok1aaa.prn") && taken.count("entrants/OK1AAA.txt"));

    ASSERT_TRUE(contest.recheck(1));
    const FolderFiles narrower = publish();
    EXPECT_EQ(folderDifferences(narrower, zebscoreFiles({"--time-window", "1"})), "");
    EXPECT_NE(narrower.at("cross-check.txt"), taken.at("cross-check.txt"));

    // The evaluator corrects one copy and saves the columns of another beside its copy: the
    // exchange read from column 0 makes every QSO of OM4DDD a non-member's.
    correctOl3cccCopy();
    writeFile(out() + "/fixed/om4ddd.ini", "55\n14\n0\n14\n");
    const std::vector<std::size_t> changed = contest.changedLogs();
    EXPECT_EQ(changed, (std::vector{indexOf("ol3ccc.cbr"), indexOf("om4ddd.cbr")}));
    ASSERT_TRUE(contest.retake(changed));
    EXPECT_TRUE(contest.changedLogs().empty());
    const FolderFiles corrected = publish();
    EXPECT_EQ(folderDifferences(corrected, zebscoreFiles({"--time-window", "1"})), "");
    EXPECT_NE(corrected.at("results.txt"), narrower.at("results.txt"));
    EXPECT_TRUE(notes.empty()) << notes.front();
}

TEST_F(Workspace, TakesBackACorrectedCopyWithItsPartners) {
    ContestWorkspace contest(inputs(), out());
    ASSERT_TRUE(contest.load());
    const std::size_t ok2bbb = indexOf("ok2bbb.cbr");
    ASSERT_TRUE(contest.logs()[ok2bbb].checked);
    EXPECT_EQ(contest.logs()[ok2bbb].checked->totals.result, 287);

    correctOl3cccCopy();
    ASSERT_TRUE(contest.retake(contest.changedLogs()));

    // OK2BBB's QSO is in OL3CCC's log now: nothing is taken off OK2BBB.
    EXPECT_EQ(contest.logs()[ok2bbb].checked->totals.result, 294);
    EXPECT_TRUE(contest.logs()[indexOf("ol3ccc.cbr")].flagged("edited"));
    ContestWorkspace again(inputs(), out());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(resultsTable(contest.logs(), ReportFormat::Text, true),
              resultsTable(again.logs(), ReportFormat::Text, true));
}

// OK2BBB loses a QSO either way, but another one: its checked result is computed anew. OM4DDD's
// copy is corrected in place, at the same size.
TEST_F(Workspace, TakesBackWhichQsosAPartnerLosesNotOnlyHowMany) {
    ContestWorkspace contest(inputs(), out());
    ASSERT_TRUE(contest.load());
    const std::size_t ok2bbb = indexOf("ok2bbb.cbr");
    const auto removedFromOk2bbb = [&] {
        std::vector<int> numbers;
        for (const RemovedQso& removed : contest.logs()[ok2bbb].checked->removed) {
            numbers.push_back(removed.number);
        }
        return numbers;
    };
    ASSERT_EQ(removedFromOk2bbb(), std::vector{5});

    correctOl3cccCopy();
    const std::string copy = out() + "/fixed/om4ddd.cbr";
    std::string text = readFile(copy);
    const std::size_t at = text.find("0711 OM4DDD");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 4, "0741");
    writeFile(copy, text);
    // Written later, as an evaluator's correction is, whatever the file system's clock resolution.
    fs::last_write_time(copy, fs::last_write_time(copy) + std::chrono::seconds(2));
    const std::vector<std::size_t> changed = contest.changedLogs();
    EXPECT_EQ(changed, (std::vector{indexOf("ol3ccc.cbr"), indexOf("om4ddd.cbr")}));
    ASSERT_TRUE(contest.retake(changed));

    EXPECT_EQ(removedFromOk2bbb(), std::vector{3});
    EXPECT_NE(contest.logs()[ok2bbb].checked->totals.result, 287);
    ContestWorkspace again(inputs(), out());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(resultsTable(contest.logs(), ReportFormat::Text, true),
              resultsTable(again.logs(), ReportFormat::Text, true));
}

TEST_F(Workspace, StoppedLoadLeavesNoReportsAndOnlyWholeCopies) {
    ContestWorkspace stopped(inputs(), out());
    EXPECT_FALSE(stopped.load([](WorkStage stage, std::size_t done, std::size_t) {
        return stage == WorkStage::Intake && done < 3;
    }));
    EXPECT_EQ(fs::directory_iterator(out())->path().filename(), "fixed");
    EXPECT_EQ(std::distance(fs::directory_iterator(out()), fs::directory_iterator()), 1);

    // The copies written before the stop are what the repair makes: kept, and not taken for the
    // evaluator's corrections.
    ContestWorkspace whole(inputs(), out());
    ASSERT_TRUE(whole.load());
    EXPECT_EQ(std::count_if(whole.logs().begin(), whole.logs().end(),
                            [](const ContestLog& log) { return log.copyKept(); }),
              2);  // notes.log, the second of the three, has no copy
    for (const ContestLog& log : whole.logs()) {
        EXPECT_FALSE(log.flagged("edited")) << log.path;
    }
}

// The decisions the window takes are lines of OUT/decisions.txt, taken out as they were put in,
// several in one check; a change of the file by hand is noticed.
TEST_F(Workspace, KeepsTheEvaluatorsDecisionsInTheirFile) {
    ContestWorkspace contest(inputs(), out());
    ASSERT_TRUE(contest.load());
    const std::string file = out() + "/decisions.txt";
    const Decision aside{DecisionKind::SetAside, "dl5eee.cbr", "", "pozdě"};
    const Decision check{DecisionKind::CheckLog, "om4ddd.cbr", "", ""};

    ASSERT_TRUE(contest.decide(aside));
    ASSERT_TRUE(contest.decide(check));
    EXPECT_TRUE(contest.logs()[indexOf("dl5eee.cbr")].setAside.has_value());
    EXPECT_TRUE(contest.logs()[indexOf("om4ddd.cbr")].checkLog);
    EXPECT_EQ(parseDecisions(readFile(file)).decisions.size(), 2u);
    EXPECT_FALSE(contest.decisionsChanged());

    ASSERT_TRUE(contest.redecide({aside, check}, std::nullopt));
    EXPECT_FALSE(contest.logs()[indexOf("dl5eee.cbr")].setAside.has_value());
    EXPECT_FALSE(contest.logs()[indexOf("om4ddd.cbr")].checkLog);
    EXPECT_TRUE(parseDecisions(readFile(file)).decisions.empty());

    writeFile(file, readFile(file) + "kontrolní ok2bbb.cbr | ručně\n");
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(2));
    EXPECT_TRUE(contest.decisionsChanged());
    ASSERT_TRUE(contest.recheckDecisions());
    EXPECT_TRUE(contest.logs()[indexOf("ok2bbb.cbr")].checkLog);
    EXPECT_FALSE(contest.decisionsChanged());
}

}  // namespace
}  // namespace zeb::contest
