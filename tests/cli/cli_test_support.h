#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zeb::cli::test {

// A folder of its own for one test, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return path_.generic_string() + "/" + name; }

  private:
    std::filesystem::path path_;
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// zebscore in this process, its standard error taken for a terminal or not.
RunResult runZebscore(const std::vector<std::string>& args, bool errIsTerminal = false);

// A fixture file of tests/data/cli.
std::string dataPath(const std::string& name);

// A file of the small test contest in tests/data/contest.
std::string contestPath(const std::string& name);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// A text file (a protocol) as the program writes it on this system, from its bytes on Linux: each
// line feed as CR LF on Windows.
std::string asWrittenHere(const std::string& text);

// Compares with the expected file byte for byte; a `text` file (a protocol) is expected with this
// system's line ends. On a mismatch (or a missing expected file) the text is written to
// EXPECTED.actual and the failure shows the unified diff.
void expectMatchesFile(const std::string& actual, const std::string& expectedPath,
                       bool text = false);

}  // namespace zeb::cli::test
