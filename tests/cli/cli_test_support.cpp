#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include "cli/zebscore.h"

namespace zeb::cli::test {

TempDir::TempDir() {
    // A folder that did not exist: create_directory() does not make one that exists.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("zebscore-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            // Written with slashes on every system, as the tests spell the paths they expect.
            path_ = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

RunResult runZebscore(const std::vector<std::string>& args, bool errIsTerminal) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = run(args, out, err, errIsTerminal);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string dataPath(const std::string& name) {
    return std::string(ZEB_TEST_DATA_DIR) + "/cli/" + name;
}

std::string contestPath(const std::string& name) {
    return std::string(ZEB_TEST_DATA_DIR) + "/contest/" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

namespace {

std::string unifiedDiff(const std::string& expectedPath, const std::string& actualPath) {
    const std::string command = "diff -u '" + expectedPath + "' '" + actualPath + "' 2>&1";
    std::string diff;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            diff.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return diff;
}

}  // namespace

std::string asWrittenHere(const std::string& text) {
#ifdef _WIN32
    std::string written;
    for (const char c : text) {
        written += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return written;
#else
    return text;
#endif
}

void expectMatchesFile(const std::string& actual, const std::string& expectedPath, bool text) {
    const std::string actualPath = expectedPath + ".actual";
    if (std::filesystem::exists(expectedPath) &&
        (text ? asWrittenHere(readFile(expectedPath)) : readFile(expectedPath)) == actual) {
        std::filesystem::remove(actualPath);
        return;
    }
    writeFile(actualPath, actual);
    ADD_FAILURE() << "output differs from " << expectedPath << " (written to " << actualPath
                  << ")\n"
                  << unifiedDiff(expectedPath, actualPath);
}

}  // namespace zeb::cli::test
