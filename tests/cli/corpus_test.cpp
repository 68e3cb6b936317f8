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

}  // namespace
}  // namespace zeb::cli::test
