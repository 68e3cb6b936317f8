// The file services on Windows, run under Wine: names with Czech letters, Windows' file identity,
// the atomic replace and the text line ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/cp1250.h"
#include "platform/file_set.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/windows_text.h"

namespace zeb {
namespace {

namespace fs = std::filesystem;

class WindowsFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = utf8FromPath(fs::temp_directory_path()) + "\\Přihlášky-" +
                 std::to_string(GetCurrentProcessId()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(pathFromUtf8(folder));
        fs::create_directories(pathFromUtf8(folder));
    }
    void TearDown() override { fs::remove_all(pathFromUtf8(folder)); }

    std::string file(const std::string& name) const { return folder + "\\" + name; }
    static void put(const std::string& path, const std::string& bytes) {
        std::ofstream(pathFromUtf8(path), std::ios::binary) << bytes;
    }
    static std::string contentOf(const std::string& path) {
        std::ifstream in(pathFromUtf8(path), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::vector<std::string> namesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(pathFromUtf8(folder))) {
            names.push_back(utf8FromPath(entry.path().filename()));
        }
        return names;
    }
    std::string folder;
};

TEST_F(WindowsFiles, ReplacesAFileWithCzechLettersWholeAndLeavesNoTemporaryFile) {
    const std::string target = file("OK1ČÁP.prn");
    put(target, "an older and much longer protocol\r\n");
    const WriteOutcome outcome = writeFileAtomically(target, "new\n");
    ASSERT_TRUE(outcome.ok) << cp1250ToUtf8(outcome.error);
    EXPECT_EQ(contentOf(target), "new\n");
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"OK1ČÁP.prn"});
}

TEST_F(WindowsFiles, TextFilesGetCrLfAndReportsKeepTheirBytes) {
    ASSERT_TRUE(writeTextFileAtomically(file("protokol.prn"), "a\nb\n\nc").ok);
    ASSERT_TRUE(writeFileAtomically(file("výsledky.csv"), "a\nb\n").ok);
    EXPECT_EQ(contentOf(file("protokol.prn")), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(contentOf(file("výsledky.csv")), "a\nb\n");
}

TEST_F(WindowsFiles, ReadsAFileWithCzechLettersInFolderAndName) {
    const std::string log = file("OK1ČÁP.cbr");
    put(log, "QSO: 1\r\nQSO: 2\n");
    const auto bytes = readRegularFile(log, 1 << 20);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->bytes, "QSO: 1\r\nQSO: 2\n");
    EXPECT_TRUE(bytes->whole);
    const auto cut = readRegularFile(log, 4);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->bytes, "QSO:");
    EXPECT_FALSE(cut->whole);

    const auto input = openTextFileForReading(log);
    ASSERT_NE(input, nullptr);
    std::string text;
    for (int c = input->get(); c != kEndOfFile; c = input->get()) {
        text += static_cast<char>(c);
    }
    EXPECT_EQ(text, "QSO: 1\nQSO: 2\n");
}

TEST_F(WindowsFiles, OnlyRegularFilesAreRead) {
    put(file("log.cbr"), "QSO:");
    EXPECT_TRUE(isReadableFile(file("log.cbr")));
    for (const std::string& path : {folder, file("missing.cbr"), std::string("NUL")}) {
        EXPECT_FALSE(isReadableFile(path)) << path;
        EXPECT_FALSE(readRegularFile(path, 100).has_value()) << path;
    }
}

TEST_F(WindowsFiles, EveryNameOfAFileHasItsIdentityAndAnotherFileAnother) {
    const std::string log = file("OK1ČÁP.cbr");
    put(log, "QSO:");
    put(file("copy.cbr"), "QSO:");
    ASSERT_TRUE(CreateHardLinkW(widen(file("hard.cbr")).c_str(), widen(log).c_str(), nullptr));
    FileSet inputs;
    inputs.add(log);

    struct Case {
        std::string path;
        bool same;
    };
    const Case cases[] = {
        {log, true},
        {folder + "/OK1ČÁP.cbr", true},
        {folder + "\\.\\OK1ČÁP.cbr", true},
        {folder + "\\..\\" + utf8FromPath(pathFromUtf8(folder).filename()) + "\\OK1ČÁP.cbr", true},
        {file("ok1čáp.CBR"), true},  // names differ in case only: one file on Windows
        {file("hard.cbr"), true},
        {file("copy.cbr"), false},
        {file("missing.cbr"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inputs.find(c.path).has_value(), c.same) << c.path;
    }
    EXPECT_NE(fileIdentity(log), fileIdentity(file("copy.cbr")));

    // Replaced by a new file under its name, the log is another file.
    ASSERT_TRUE(writeFileAtomically(log, "QSO: new").ok);
    EXPECT_FALSE(inputs.find(log).has_value());
    EXPECT_TRUE(inputs.find(file("hard.cbr")).has_value());
}

TEST_F(WindowsFiles, FailuresAreClearAndLeaveNothingBehind) {
    put(file("kept.prn"), "kept\r\n");
    put(file("soubor"), "a file, no folder");
    struct Case {
        std::string target;
        std::string reason;
    };
    const Case cases[] = {
        {file("no\\such\\result.prn"), "Složka neexistuje."},
        {file("soubor\\result.prn"), "Složka neexistuje."},
        {folder, "Je to složka, ne soubor."},
    };
    for (const Case& c : cases) {
        const WriteOutcome outcome = writeFileAtomically(c.target, "new\n");
        EXPECT_FALSE(outcome.ok) << c.target;
        EXPECT_EQ(cp1250ToUtf8(outcome.error), c.reason) << c.target;
    }
    EXPECT_EQ(contentOf(file("kept.prn")), "kept\r\n");
    EXPECT_EQ(namesInFolder().size(), 2U);
}

TEST_F(WindowsFiles, MakesNestedFoldersWithCzechLetters) {
    const std::string nested = file("výsledky\\protokoly\\noční");
    ASSERT_TRUE(makeFolders(nested).ok);
    EXPECT_TRUE(fs::is_directory(pathFromUtf8(nested)));
    EXPECT_TRUE(makeFolders(nested + "\\").ok) << "an existing folder is left as it is";

    put(file("soubor"), "x");
    const WriteOutcome outcome = makeFolders(file("soubor\\vnitřek"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Složka neexistuje.");
}

}  // namespace
}  // namespace zeb
