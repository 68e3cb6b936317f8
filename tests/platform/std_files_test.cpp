#include "platform/std_files.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/cp1250.h"

namespace zeb {
namespace {

namespace fs = std::filesystem;

class StdFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zeb-files-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    static std::string contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int filesInFolder() const {
        return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
    }
    fs::path folder;
};

TEST_F(StdFiles, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
    const fs::path target = folder / "result.prn";
    std::ofstream(target) << "an older and much longer protocol\n";
    const WriteOutcome outcome = writeFileAtomically(target.string(), "new\n");
    ASSERT_TRUE(outcome.ok) << cp1250ToUtf8(outcome.error);
    EXPECT_EQ(contentOf(target), "new\n");
    EXPECT_EQ(filesInFolder(), 1);
}

TEST_F(StdFiles, AMissingFolderIsAClearError) {
    const WriteOutcome outcome =
        writeFileAtomically((folder / "no" / "such" / "result.prn").string(), "x");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Složka neexistuje.");
}

TEST_F(StdFiles, AFolderAsTargetIsRefusedAndStaysAFolder) {
    const WriteOutcome outcome = writeFileAtomically(folder.string(), "x");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Je to složka, ne soubor.");
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(StdFiles, AReadOnlyFolderKeepsItsFile) {
    const fs::path target = folder / "result.prn";
    std::ofstream(target) << "kept\n";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only folders (see the read-only disk)";
    }
    const WriteOutcome outcome = writeFileAtomically(target.string(), "new\n");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Chybí oprávnění k zápisu.");
    EXPECT_EQ(contentOf(target), "kept\n");
}

TEST_F(StdFiles, AReadOnlyDiskKeepsItsFile) {
    const fs::path disk = folder / "disk";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a small filesystem here";
    }
    const fs::path target = disk / "result.prn";
    std::ofstream(target) << "kept\n";
    if (::mount("tmpfs", disk.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k") != 0) {
        ::umount(disk.c_str());
        GTEST_SKIP() << "cannot make the small filesystem read-only";
    }
    const WriteOutcome outcome = writeFileAtomically(target.string(), "new\n");
    const std::string kept = contentOf(target);
    ::umount(disk.c_str());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Disk je jen pro čtení.");
    EXPECT_EQ(kept, "kept\n");
}

TEST_F(StdFiles, AFullDeviceIsReportedAsFull) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const WriteOutcome outcome = writeFileAtomically("/dev/full", "x");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Na disku není dost místa.");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(StdFiles, AFullFilesystemKeepsTheEarlierFileWhole) {
    const fs::path disk = folder / "disk";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a small filesystem here";
    }
    const fs::path target = disk / "result.prn";
    std::ofstream(target) << "the earlier protocol\n";
    const WriteOutcome outcome = writeFileAtomically(target.string(), std::string(200000, 'x'));
    const std::string kept = contentOf(target);
    const auto entries = std::distance(fs::directory_iterator(disk), {});
    ::umount(disk.c_str());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(cp1250ToUtf8(outcome.error), "Na disku není dost místa.");
    EXPECT_EQ(kept, "the earlier protocol\n");
    EXPECT_EQ(entries, 1);
}

TEST_F(StdFiles, KeepsThePermissionsOfTheFileItReplaces) {
    const fs::path target = folder / "shared.ini";
    std::ofstream(target) << "1\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read);
    ASSERT_TRUE(writeFileAtomically(target.string(), "2\n").ok);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(StdFiles, OpensOnlyRegularFilesForReading) {
    const fs::path log = folder / "log.cbr";
    std::ofstream(log) << "QSO:";
    EXPECT_NE(openTextFileForReading(log.string()), nullptr);
    EXPECT_EQ(openTextFileForReading(folder.string()), nullptr);
    EXPECT_EQ(openTextFileForReading((folder / "missing.cbr").string()), nullptr);
    EXPECT_FALSE(isReadableFile(folder.string()));
}

}  // namespace
}  // namespace zeb
