#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

std::vector<std::string> corpusLogs() {
    std::vector<std::string> logs;
    const std::filesystem::path folder(ZEB_CORPUS_DIR);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".cbr") {
            logs.push_back(entry.path().string());
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

// Every real log gives exactly one well-formed JSON object, whatever it holds.
TEST(Corpus, EveryLogGivesOneValidJsonObject) {
    const std::vector<std::string> logs = corpusLogs();
    if (logs.empty()) {
        GTEST_SKIP() << "no corpus at " << ZEB_CORPUS_DIR;
    }
    TempDir temp;
    std::vector<std::string> args = {"--json", "--output-dir", temp.path().string()};
    args.insert(args.end(), logs.begin(), logs.end());

    const RunResult result = runZebscore(args);

    EXPECT_GE(result.status, 0);
    EXPECT_LE(result.status, 3);
    std::istringstream lines(result.out);
    std::string line;
    std::size_t index = 0;
    const std::set<QString> outcomes = {"scored", "refused", "unreadable", "aborted"};
    while (std::getline(lines, line)) {
        ASSERT_LT(index, logs.size()) << "more lines than logs";
        SCOPED_TRACE(logs[index]);
        QJsonParseError error{};
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        ASSERT_TRUE(document.isObject());
        const QJsonObject object = document.object();
        EXPECT_EQ(object.value("log").toString().toStdString(), logs[index]);
        const QString outcome = object.value("outcome").toString();
        EXPECT_EQ(outcomes.count(outcome), 1u) << outcome.toStdString();
        if (outcome == "scored") {
            const QJsonArray qsos = object.value("qsos").toArray();
            EXPECT_EQ(qsos.size(), object.value("totals").toObject().value("qsoTotal").toInt());
            const std::filesystem::path log(logs[index]);
            EXPECT_TRUE(std::filesystem::exists(temp.path() / log.stem().concat(".prn")));
        } else {
            EXPECT_FALSE(object.contains("qsos"));
        }
        ++index;
    }
    EXPECT_EQ(index, logs.size());
}

std::vector<QJsonObject> jsonLines(const std::string& out) {
    std::vector<QJsonObject> objects;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line)).object());
    }
    return objects;
}

// A log refused for its format alone is scored once repaired, its columns read every line the
// repair rewrote, and the whole contest is cross-checked.
TEST(Corpus, EveryLogRefusedForItsFormatIsScoredAfterRepair) {
    const std::vector<std::string> logs = corpusLogs();
    if (logs.empty()) {
        GTEST_SKIP() << "no corpus at " << ZEB_CORPUS_DIR;
    }
    TempDir temp;
    std::vector<std::string> args = {"--json"};
    args.insert(args.end(), logs.begin(), logs.end());
    const std::vector<QJsonObject> before = jsonLines(runZebscore(args).out);
    args.insert(args.begin(), {"--repair", temp.file("fixed"), "--cross-check",
                               temp.file("check.csv"), "--results", temp.file("results.csv")});
    const RunResult repaired = runZebscore(args);
    const std::vector<QJsonObject> after = jsonLines(repaired.out);

    ASSERT_EQ(after.size(), logs.size());
    ASSERT_EQ(before.size(), logs.size());
    EXPECT_TRUE(std::filesystem::exists(temp.file("check.csv")));
    for (std::size_t i = 0; i < logs.size(); ++i) {
        SCOPED_TRACE(logs[i]);
        const QJsonObject repair = after[i].value("repair").toObject();
        const int qsoLines = repair.value("qsoLines").toInt();
        const QString outcome = after[i].value("outcome").toString();
        if (qsoLines > 2000) {
            EXPECT_EQ(outcome, "refused");
            continue;
        }
        if (before[i].value("outcome") == "refused") {
            EXPECT_EQ(outcome, "scored");
        }
        if (outcome == "scored") {
            const QJsonObject check = after[i].value("columnCheck").toObject();
            EXPECT_EQ(check.value("lines").toInt(), qsoLines);
            EXPECT_EQ(check.value("agreeing").toInt(),
                      qsoLines - repair.value("unreadLines").toArray().size());
        }
    }
}

}  // namespace
}  // namespace zeb::cli::test
