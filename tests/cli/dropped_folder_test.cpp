#include "cli/dropped_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "platform/paths.h"

namespace zeb::cli::test {
namespace {

using Args = std::vector<std::string>;

// The results go into a folder inside the dropped one, beside the logs and never over one of
// them; a second drop writes into the same folder.
TEST(DroppedFolder, IsTheWholeContestIntoAResultsFolderInsideIt) {
    TempDir temp;
    const std::string folder = temp.file("Přihlášky");
    std::filesystem::create_directories(pathFromUtf8(folder + "/druhá/výsledky"));
    std::ofstream(pathFromUtf8(temp.file("OK1ČÁP.cbr"))) << "QSO:";
    std::filesystem::create_directories(pathFromUtf8(temp.file("třetí")));
    for (const char* name : {"výsledky", "výsledky-2"}) {
        std::ofstream(pathFromUtf8(temp.file("třetí/") + name)) << "a log without an extension";
    }

    const struct {
        const char* name;
        Args args;
        std::optional<Args> command;
    } cases[] = {
        {"a folder", {folder}, Args{"--contest", folder + "/výsledky", folder}},
        {"a second drop",
         {folder + "/druhá"},
         Args{"--contest", folder + "/druhá/výsledky", folder + "/druhá"}},
        {"files named as the results folder",
         {temp.file("třetí")},
         Args{"--contest", temp.file("třetí/výsledky-3"), temp.file("třetí")}},
        {"a log", {temp.file("OK1ČÁP.cbr")}, std::nullopt},
        {"two folders", {folder, folder + "/druhá"}, std::nullopt},
        {"nothing", {}, std::nullopt},
        {"a missing folder", {temp.file("není")}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(droppedFolderCommand(c.args), c.command) << c.name;
    }
}

}  // namespace
}  // namespace zeb::cli::test
