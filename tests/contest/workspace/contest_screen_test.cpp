// What the windows of a contest show and offer, as the contest layer decides it for both.

#include "contest/workspace/contest_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_test_support.h"
#include "contest/intake/contest_folder.h"
#include "contest/workspace/contest_details.h"
#include "platform/paths.h"

namespace zeb::contest {
namespace {

namespace fs = std::filesystem;
using cli::test::contestPath;
using cli::test::readFile;
using cli::test::writeFile;

class Screen : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(temp_.file("logs"));
        for (const char* name : {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr"}) {
            fs::copy_file(contestPath(name), temp_.path() / "logs" / name);
        }
        writeFile(temp_.file("logs/notes.log"), "what to bring to the contest\n");
        contest_ = std::make_unique<ContestWorkspace>(*logsInFolder(temp_.file("logs")),
                                                      temp_.file("out"));
        ASSERT_TRUE(contest_->load());
    }

    std::size_t indexOf(const char* name) const {
        const auto& logs = contest_->logs();
        const auto found = std::find_if(logs.begin(), logs.end(), [&](const ContestLog& log) {
            return fs::path(log.path).filename() == name;
        });
        EXPECT_NE(found, logs.end()) << name;
        return static_cast<std::size_t>(found - logs.begin());
    }

    cli::test::TempDir temp_;
    std::unique_ptr<ContestWorkspace> contest_;
};

// A folder or a file of it names the folder of logs; the output folder proposed inside it is no
// file of the contest, and a path that is no folder is taken as a log.
TEST_F(Screen, OpenedPathsNameTheLogsFolderAndTheInputsLeaveTheOutputFolderOut) {
    const std::string logs = temp_.file("logs");
    const OpenedFolders folders = openedFolders(logs);
    EXPECT_EQ(folders.logs, logs);
    EXPECT_EQ(folders.out, pathInFolder(logs, "vyhodnoceni"));
    const OpenedFolders ofFile = openedFolders(pathInFolder(logs, "ok1aaa.cbr"));
    EXPECT_EQ(ofFile.logs, logs);
    EXPECT_EQ(ofFile.out, folders.out);
    EXPECT_EQ(openedFolders("/x.cbr").out, "/vyhodnoceni");  // beside a log at the root

    fs::create_directories(pathFromUtf8(folders.out));
    const std::string stray = temp_.file("stray.txt");
    const FolderContents inputs = contestInputs({logs, stray}, folders.out);
    EXPECT_EQ(inputs.logs.size(), 6u);  // the four logs, notes.log and the stray file
    EXPECT_EQ(inputs.logs.back(), stray);
    EXPECT_TRUE(inputs.others.empty());
}

TEST_F(Screen, CommandsFollowTheWorkAndTheSelection) {
    const ScreenCommands none = screenCommands({});
    EXPECT_TRUE(none.openFolder);
    EXPECT_FALSE(none.save || none.changeOutput || none.openResults || none.openInForm);

    ScreenState state{contest_.get(), indexOf("ok2bbb.cbr"), std::nullopt, false, false, true};
    ScreenCommands commands = screenCommands(state);
    EXPECT_TRUE(commands.save && commands.changeOutput && commands.openInForm &&
                commands.setAside && commands.checkLog);
    EXPECT_FALSE(commands.openResults || commands.showProgress || commands.keepQso);
    state.qso = 0;
    EXPECT_TRUE(screenCommands(state).keepQso);

    // Work under way: nothing starts other work, but a log still opens in the form.
    state.busy = true;
    commands = screenCommands(state);
    EXPECT_FALSE(commands.openFolder || commands.save || commands.setAside || commands.keepQso);
    EXPECT_TRUE(commands.openInForm && commands.showProgress);
    EXPECT_FALSE(commands.cancel);
    state.stoppable = true;
    EXPECT_TRUE(screenCommands(state).cancel);

    state = {contest_.get(), indexOf("notes.log"), std::nullopt, false, false, true};
    EXPECT_FALSE(screenCommands(state).openInForm);  // refused: the form would refuse it too
    state.log = indexOf("ok1aaa.cbr");
    state.form = false;
    EXPECT_FALSE(screenCommands(state).openInForm);

    ASSERT_TRUE(contest_->publish([](const std::string& note) { ADD_FAILURE() << note; }));
    EXPECT_TRUE(screenCommands(state).openResults);
}

TEST_F(Screen, ResultsAreUnsavedUntilPublishedAndAgainOnceACopyChanged) {
    EXPECT_TRUE(unsavedContest(contest_.get(), nullptr));
    EXPECT_FALSE(unsavedContest(contest_.get(), contest_.get()));
    EXPECT_FALSE(unsavedContest(nullptr, nullptr));
    const std::string copy = temp_.file("out/fixed/ol3ccc.cbr");
    writeFile(copy, readFile(copy) + "\n");
    EXPECT_TRUE(unsavedContest(contest_.get(), contest_.get()));
}

// The decisions file edited by hand is read again; a changed copy is taken back with its partners,
// and the decisions file as it is then with it.
TEST_F(Screen, ChangesToTakeBackAreTheChangedCopiesOrElseTheEditedDecisions) {
    EXPECT_FALSE(changesToTakeBack(*contest_, "D").has_value());
    const std::string decisions = contest_->folder().decisions();
    const std::string copy = temp_.file("out/fixed/ol3ccc.cbr");
    const auto takeBack = [this](const std::string& done) {
        const auto work = changesToTakeBack(*contest_, "D", Language::English);
        ASSERT_TRUE(work.has_value()) << done;
        EXPECT_EQ(work->done, done);
        ASSERT_TRUE(work->work(*contest_, {}));
        EXPECT_FALSE(changesToTakeBack(*contest_, "D").has_value());
    };

    writeFile(decisions, "kontrolní ok2bbb.cbr | ručně\n");
    takeBack(
        "The decisions file D changed: the contest is computed again with it. The results are "
        "not saved yet.");
    EXPECT_TRUE(contest_->logs()[indexOf("ok2bbb.cbr")].checkLog);

    writeFile(decisions, "");
    writeFile(copy, readFile(copy) + "\n");
    takeBack("Computed again after a change: OL3CCC. The results are not saved yet.");
    EXPECT_FALSE(contest_->logs()[indexOf("ok2bbb.cbr")].checkLog);
}

// Every finding names its QSO and gives its line as a line of a log, then the partner: its line
// too, or that it does not have the QSO; a unique call has no partner.
TEST_F(Screen, DetailsTellEachFindingWithTheLogsLines) {
    std::size_t findings = 0;
    std::size_t partnersLines = 0;
    for (std::size_t l = 0; l < contest_->logs().size(); ++l) {
        const DetailsText details = logDetails(*contest_, l, Language::English);
        ASSERT_FALSE(details.empty());
        EXPECT_EQ(details.front().kind, TextBlock::Kind::Title);
        for (std::size_t b = 1; b < details.size(); ++b) {
            if (details[b - 1].kind != TextBlock::Kind::Subheading) {
                continue;
            }
            for (const std::vector<TextLine>& item : details[b].items) {
                ++findings;
                ASSERT_GE(item.size(), 2u);
                EXPECT_TRUE(item[1].at(0).code);
                EXPECT_EQ(item[1].at(0).text.rfind("QSO:", 0), 0u) << item[1].at(0).text;
                if (item.size() == 3) {
                    EXPECT_EQ(item[2].back().text, ": the QSO is not in its log");
                } else if (item.size() == 4) {
                    EXPECT_TRUE(item[3].at(0).code);
                    EXPECT_EQ(item[3].at(0).text.rfind("QSO:", 0), 0u);
                    ++partnersLines;
                }
            }
        }
        const auto& check = contest_->checked().crossCheck->logs[l];
        findings -= check.checked ? check.findings.size() : 0;
    }
    EXPECT_EQ(findings, 0u);  // each finding told once
    EXPECT_GT(partnersLines, 0u);
    EXPECT_EQ(logDetails(*contest_, indexOf("ok2bbb.cbr"), Language::English)
                  .front()
                  .lines.at(0)
                  .at(0)
                  .text,
              "OK2BBB – ok2bbb.cbr");
}

TEST_F(Screen, QsoLinesMarkTheCallAndExchangeReadAndTheLineSelected) {
    const std::size_t ok1aaa = indexOf("ok1aaa.cbr");
    const QsoLinesText lines = qsoLines(*contest_, ok1aaa, 1, Language::Czech);
    const ContestLog& log = contest_->logs()[ok1aaa];
    ASSERT_EQ(lines.lines.size(), log.qsos.size());
    EXPECT_FALSE(lines.legend.empty());
    for (const QsoLineText& line : lines.lines) {
        EXPECT_EQ(line.selected, line.qso == 1);
        EXPECT_EQ(line.pieces.front().text.rfind(line.selected ? "▶" : " ", 0), 0u);
        const auto call = std::find_if(line.pieces.begin(), line.pieces.end(),
                                       [](const TextPiece& p) { return p.mark == LineMark::Call; });
        ASSERT_NE(call, line.pieces.end());
        EXPECT_EQ(call->text, log.qsos[line.qso].call);
    }
    EXPECT_EQ(qsoChoiceText(*contest_, ok1aaa, 1, Language::English).rfind("Line ", 0), 0u);
}

}  // namespace
}  // namespace zeb::contest
