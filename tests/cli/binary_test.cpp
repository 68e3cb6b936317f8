#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <string>

#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

ProcessResult runBinary(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(ZEBSCORE_BINARY), args);
    ProcessResult result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "zebscore did not end normally: " << process.errorString().toStdString();
        return result;
    }
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

QString fixture(const char* name) {
    return QString::fromStdString(dataPath(name));
}

TEST(Binary, WritesTheProtocolToStandardOutput) {
    const ProcessResult result = runBinary({"-o", "-", fixture("party-lf.cbr")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, readFile(dataPath("party-lf.prn")));
}

TEST(Binary, ReturnsTheHighestExitStatus) {
    EXPECT_EQ(runBinary({fixture("party-lf.cbr")}).status, 0);
    EXPECT_EQ(runBinary({fixture("party-lf.cbr"), fixture("missing.cbr")}).status, 1);
    EXPECT_EQ(runBinary({fixture("missing.cbr"), fixture("tab-on-line-3.cbr")}).status, 2);
    EXPECT_EQ(runBinary({"--unknown-prefix", "abort", fixture("party-lf.cbr"),
                         fixture("tab-on-line-3.cbr")})
                  .status,
              3);
}

TEST(Binary, PrintsJsonLinesAndKeepsStandardOutputCleanOnUsageErrors) {
    const ProcessResult json =
        runBinary({"--json", fixture("party-crlf.cbr"), fixture("tab-on-line-3.cbr")});
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 2) << json.out;

    const ProcessResult usage = runBinary({"--json", "-o", "-", fixture("party-crlf.cbr")});
    EXPECT_EQ(usage.status, 1);
    EXPECT_EQ(usage.out, "");
    EXPECT_NE(usage.err.find("would both write to standard output"), std::string::npos);

    const ProcessResult version = runBinary({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zebscore 3.05\n");
}

}  // namespace
}  // namespace zeb::cli::test
