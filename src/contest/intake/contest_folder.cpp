#include "contest/intake/contest_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "contest/intake/log_repair.h"
#include "intake/qso_fields.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/text_input.h"

namespace zeb::contest {

namespace fs = std::filesystem;

namespace {

// What is read of a file that is not named as a log, to tell what it is.
constexpr std::size_t kSniffedBytes = 64 * 1024;
// A Cabrillo log says so within its first lines.
constexpr std::size_t kSniffedLines = 60;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string()
                                                     : inCapitals(name.substr(dot + 1));
}

bool oneOf(const std::string& extension, std::initializer_list<std::string_view> extensions) {
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

bool looksLikeCabrillo(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::size_t seen = 0;
    for (const std::string_view line : textLines(bytes)) {
        if (seen++ == kSniffedLines) {
            break;
        }
        const std::string capitals = inCapitals(line.substr(0, 16));
        const std::size_t first = capitals.find_first_not_of(" \t\r");
        if (first != std::string::npos &&
            (startsWith(std::string_view(capitals).substr(first), "START-OF-LOG:") ||
             isQsoLine(line))) {
            return true;
        }
    }
    return false;
}

bool holdsAdifTags(std::string_view bytes) {
    const std::string capitals = inCapitals(bytes.substr(0, kSniffedBytes));
    return capitals.find("<EOH>") != std::string::npos ||
           capitals.find("<CALL:") != std::string::npos ||
           capitals.find("<ADIF_VER:") != std::string::npos;
}

// Files that an editor, a word processor or a system leaves beside the ones a person saved.
bool passedOver(const std::string& name) {
    if (name.empty() || name.front() == '.' || startsWith(name, "~$") || name.back() == '~') {
        return true;
    }
    const std::string capitals = inCapitals(name);
    return capitals == "THUMBS.DB" || capitals == "DESKTOP.INI" || extensionOf(name) == "TMP" ||
           extensionOf(name) == "LCK" || extensionOf(name) == "SWP";
}

bool isSkipped(const fs::path& entry, const std::vector<std::string>& skip) {
    for (const std::string& folder : skip) {
        std::error_code error;
        if (fs::equivalent(entry, pathFromUtf8(folder), error) && !error) {
            return true;
        }
    }
    return false;
}

constexpr const char* kExtensions[] = {".html", ".csv", ".txt"};

std::string inFolder(const std::string& folder, const std::string& name) {
    return pathInFolder(folder, name);
}

}  // namespace

std::string ContestFolder::fixed() const {
    return inFolder(out, "fixed");
}

std::string ContestFolder::protocols() const {
    return inFolder(out, "protocols");
}

std::string ContestFolder::entrants() const {
    return inFolder(out, "entrants");
}

std::string ContestFolder::index() const {
    return inFolder(out, "index.html");
}

std::string ContestFolder::decisions() const {
    return inFolder(out, "decisions.txt");
}

std::vector<std::string> ContestFolder::results() const {
    std::vector<std::string> files;
    for (const char* extension : kExtensions) {
        files.push_back(inFolder(out, std::string("results") + extension));
    }
    return files;
}

std::vector<std::string> ContestFolder::crossChecks() const {
    std::vector<std::string> files;
    for (const char* extension : kExtensions) {
        files.push_back(inFolder(out, std::string("cross-check") + extension));
    }
    return files;
}

std::optional<std::string> whyNoLog(std::string_view name, std::string_view bytes) {
    const std::string extension = extensionOf(name);
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return std::string("prázdný soubor");
    }
    if (startsWith(bytes, "PK\x03\x04") || startsWith(bytes, "PK\x05\x06")) {
        if (oneOf(extension, {"DOCX", "XLSX", "PPTX", "ODT", "ODS", "ODP"})) {
            return std::string("dokument (Word, Excel, OpenDocument), ne deník Cabrillo");
        }
        return std::string("archiv ZIP: rozbalte jej a deníky z něj dejte do složky");
    }
    if (startsWith(bytes, "7z\xBC\xAF\x27\x1C") || startsWith(bytes, "Rar!\x1A\x07") ||
        startsWith(bytes, "\x1F\x8B") || startsWith(bytes, "BZh") ||
        startsWith(bytes,
                   "\xFD"
                   "7zXZ") ||
        (bytes.size() > 262 && bytes.substr(257, 5) == "ustar")) {
        return std::string("archiv: rozbalte jej a deníky z něj dejte do složky");
    }
    if (startsWith(bytes, "%PDF")) {
        return std::string("dokument PDF, ne deník Cabrillo");
    }
    if (startsWith(bytes, "\xD0\xCF\x11\xE0") || startsWith(bytes, "{\\rtf")) {
        return std::string("dokument (Word, Excel), ne deník Cabrillo");
    }
    if (looksLikeCabrillo(bytes)) {
        return std::nullopt;
    }
    if (oneOf(extension, {"ADI", "ADIF"}) || holdsAdifTags(bytes)) {
        return std::string("soubor ADIF, ne deník Cabrillo: požádejte účastníka o deník Cabrillo");
    }
    if (bytes.substr(0, kSniffedBytes).find('\0') != std::string_view::npos) {
        return std::string("není to textový soubor ani deník Cabrillo");
    }
    return std::string("není to deník Cabrillo: v prvních řádcích nemá START-OF-LOG: ani QSO:");
}

std::optional<FolderContents> scanLogsFolder(const std::string& folder,
                                             const std::vector<std::string>& skip) {
    std::error_code error;
    if (!fs::is_directory(pathFromUtf8(folder), error)) {
        return std::nullopt;
    }
    FolderContents contents;
    for (fs::directory_iterator it(pathFromUtf8(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = utf8FromPath(it->path().filename());
        const std::string path = pathInFolder(folder, name);
        std::error_code kind;
        if (passedOver(name) || isSkipped(it->path(), skip)) {
            continue;
        }
        if (it->is_directory(kind)) {
            contents.others.push_back({path, "podsložka: do podsložek se nevstupuje"});
            continue;
        }
        const std::string extension = extensionOf(name);
        if (extension == "CBR" || extension == "LOG") {
            // Taken whatever they hold: the reader says why one is no log.
            if (it->is_regular_file(kind)) {
                contents.logs.push_back(path);
            } else {
                contents.others.push_back({path, "není to obyčejný soubor"});
            }
            continue;
        }
        if (!it->is_regular_file(kind)) {
            contents.others.push_back({path, "není to obyčejný soubor"});
            continue;
        }
        const std::optional<FileBytes> start = readRegularFile(path, kSniffedBytes);
        if (!start) {
            contents.others.push_back({path, "soubor nelze číst"});
        } else if (const std::optional<std::string> reason = whyNoLog(name, start->bytes)) {
            contents.others.push_back({path, *reason});
        } else {
            contents.logs.push_back(path);
        }
    }
    std::sort(contents.logs.begin(), contents.logs.end());
    std::sort(contents.others.begin(), contents.others.end(),
              [](const OtherFile& a, const OtherFile& b) { return a.path < b.path; });
    return contents;
}

}  // namespace zeb::contest
