#include "contest/decisions/decisions.h"

#include <algorithm>
#include <array>

#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "platform/std_files.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

// A file of decisions is a few lines; anything larger is no file of them.
constexpr std::size_t kMaxFileBytes = std::size_t{4} << 20;

struct Keyword {
    DecisionKind kind;
    const char* written;  // as the program writes it
    const char* plain;    // the same without diacritics, as a person may type it
    const char* name;     // what it does
};

constexpr std::array<Keyword, 5> kKeywords = {{
    {DecisionKind::SetAside, "odložit", "odlozit", "odložen vyhodnocovatelem"},
    {DecisionKind::CheckLog, "kontrolní", "kontrolni", "kontrolní deník"},
    {DecisionKind::Counts, "platí", "plati", "platí tento deník stanice"},
    {DecisionKind::KeepQso, "uznat", "uznat", "QSO uznáno"},
    {DecisionKind::RemoveQso, "vyřadit", "vyradit", "QSO vyřazeno"},
}};

const Keyword& keywordOf(DecisionKind kind) {
    for (const Keyword& keyword : kKeywords) {
        if (keyword.kind == kind) {
            return keyword;
        }
    }
    return kKeywords.front();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// ASCII letters in lower case; the Czech letters of the keywords as they are written, in either
// case, lowered.
std::string lowered(std::string_view word) {
    static const std::array<std::pair<std::string_view, std::string_view>, 5> kCapitals = {
        {{"Ž", "ž"}, {"Í", "í"}, {"Ř", "ř"}, {"Á", "á"}, {"Ó", "ó"}}};
    std::string text;
    for (std::size_t i = 0; i < word.size();) {
        bool replaced = false;
        for (const auto& [capital, small] : kCapitals) {
            if (word.substr(i, capital.size()) == capital) {
                text += small;
                i += capital.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            const char c = word[i++];
            text += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return text;
}

std::optional<DecisionKind> kindOf(std::string_view word) {
    const std::string key = lowered(word);
    for (const Keyword& keyword : kKeywords) {
        if (key == keyword.written || key == keyword.plain) {
            return keyword.kind;
        }
    }
    return std::nullopt;
}

// A reason or a name on one line of the file, without the bar that parts the fields.
std::string oneField(std::string_view text) {
    std::string field;
    for (const char c : text) {
        field += c == '|' ? '/' : c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
    }
    return std::string(trimmed(field));
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The text as UTF-8: a file saved by an editor in the Windows code page is converted, and a byte
// order mark dropped.
std::string asUtf8(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    return isUtf8BeyondAscii(text) ? std::string(text) : cp1250ToUtf8(text);
}

std::optional<Decision> decisionOf(std::string_view line, int fileLine, std::string& problem) {
    const std::size_t wordEnd = std::min(line.find_first_of(" \t|"), line.size());
    const std::optional<DecisionKind> kind = kindOf(line.substr(0, wordEnd));
    if (!kind) {
        problem = "neznámé rozhodnutí „" + std::string(line.substr(0, wordEnd)) +
                  "“ (platí odložit, kontrolní, platí, uznat, vyřadit)";
        return std::nullopt;
    }
    Decision decision;
    decision.kind = *kind;
    decision.fileLine = fileLine;
    std::string_view rest = line.substr(wordEnd);
    const std::size_t firstBar = rest.find('|');
    decision.log = std::string(trimmed(rest.substr(0, firstBar)));
    if (decision.log.empty()) {
        problem = "chybí jméno souboru deníku";
        return std::nullopt;
    }
    rest = firstBar == std::string_view::npos ? std::string_view() : rest.substr(firstBar + 1);
    if (decision.aboutQso()) {
        // The QSO line may itself hold a bar: the reason is what follows the last one.
        const std::size_t lastBar = rest.rfind('|');
        decision.qsoLine = std::string(trimmed(rest.substr(0, lastBar)));
        if (lastBar != std::string_view::npos) {
            decision.reason = std::string(trimmed(rest.substr(lastBar + 1)));
        }
        if (decision.qsoLine.empty()) {
            problem = "chybí řádek QSO, jak jej účastník poslal";
            return std::nullopt;
        }
    } else {
        decision.reason = std::string(trimmed(rest));
    }
    return decision;
}

// Whether two decisions cannot both stand: about one log (or one QSO of it), of kinds that
// contradict each other or are one.
bool displaces(const Decision& added, const Decision& there) {
    if (added.log != there.log || added.aboutQso() != there.aboutQso()) {
        return false;
    }
    if (added.aboutQso()) {
        return sameQsoLine(added.qsoLine, there.qsoLine);
    }
    // A log set aside is neither a check log nor the one that counts; a log may be a check log
    // and the one of its station that counts.
    const auto setAsideAgainst = [](DecisionKind a, DecisionKind b) {
        return a == DecisionKind::SetAside && b != DecisionKind::SetAside;
    };
    return added.kind == there.kind || setAsideAgainst(added.kind, there.kind) ||
           setAsideAgainst(there.kind, added.kind);
}

std::string joined(const std::vector<std::string_view>& lines, bool endsWithNewline) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endsWithNewline) {
            text += '\n';
        }
    }
    return text;
}

// The index among the file's lines of the line a decision was read from.
std::size_t lineIndexOf(const Decision& decision) {
    return static_cast<std::size_t>(decision.fileLine - 1);
}

}  // namespace

bool Decision::sameAs(const Decision& other) const {
    return kind == other.kind && log == other.log &&
           (!aboutQso() || sameQsoLine(qsoLine, other.qsoLine));
}

const char* decisionKeyword(DecisionKind kind) {
    return keywordOf(kind).written;
}

const char* decisionName(DecisionKind kind) {
    return keywordOf(kind).name;
}

DecisionFile parseDecisions(std::string_view bytes) {
    const std::string text = asUtf8(bytes);
    DecisionFile file;
    const std::vector<std::string_view> lines = linesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trimmed(lines[i]);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::string problem;
        if (std::optional<Decision> decision = decisionOf(line, static_cast<int>(i + 1), problem)) {
            file.decisions.push_back(std::move(*decision));
        } else {
            file.problems.push_back({static_cast<int>(i + 1), problem + ": " + std::string(line)});
        }
    }
    return file;
}

std::string decisionLine(const Decision& decision) {
    std::string line = std::string(decisionKeyword(decision.kind)) + " " + oneField(decision.log);
    if (decision.aboutQso()) {
        line += " | " + std::string(trimmed(decision.qsoLine));
    }
    line += " | " + oneField(decision.reason);
    return std::string(trimmed(line));
}

std::string newDecisionFile(const std::vector<Decision>& decisions) {
    std::string text =
        "# Rozhodnutí vyhodnocovatele. Program je použije při každém vyhodnocení této soutěže.\n"
        "# Každý řádek je jedno rozhodnutí; řádky začínající # jsou poznámky.\n"
        "#   odložit DENÍK | důvod                deník se nehodnotí ani nekontroluje\n"
        "#   kontrolní DENÍK | důvod              deník slouží křížové kontrole, nehodnotí se\n"
        "#   platí DENÍK | důvod                  z deníků jedné stanice platí tento\n"
        "#   uznat DENÍK | ŘÁDEK QSO | důvod      QSO zůstává, ať kontrola našla cokoli\n"
        "#   vyřadit DENÍK | ŘÁDEK QSO | důvod    QSO se odečítá\n"
        "# DENÍK je jméno souboru deníku, ŘÁDEK QSO řádek, jak jej účastník poslal.\n";
    for (const Decision& decision : decisions) {
        text += decisionLine(decision) + "\n";
    }
    return text;
}

std::string withDecision(std::string_view original, const Decision& decision) {
    if (original.empty()) {
        return newDecisionFile({decision});
    }
    const std::string text = asUtf8(original);
    std::vector<std::string_view> lines = linesOf(text);
    const bool endsWithNewline = !text.empty() && text.back() == '\n';
    const std::string added = decisionLine(decision);
    std::vector<std::string_view> kept;
    std::optional<std::size_t> replacedAt;
    const std::vector<Decision> found = parseDecisions(text).decisions;
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool isDecision = next < found.size() && lineIndexOf(found[next]) == i;
        if (isDecision && displaces(decision, found[next++])) {
            if (!replacedAt) {
                replacedAt = kept.size();
                kept.push_back(added);
            }
            continue;
        }
        kept.push_back(lines[i]);
    }
    if (!replacedAt) {
        kept.push_back(added);
        return joined(kept, true);
    }
    return joined(kept, endsWithNewline);
}

std::string withoutDecision(std::string_view original, const Decision& decision) {
    const std::string text = asUtf8(original);
    const std::vector<std::string_view> lines = linesOf(text);
    const std::vector<Decision> found = parseDecisions(text).decisions;
    std::vector<std::string_view> kept;
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (next < found.size() && lineIndexOf(found[next]) == i &&
            found[next++].sameAs(decision)) {
            continue;
        }
        kept.push_back(lines[i]);
    }
    return joined(kept, !text.empty() && text.back() == '\n');
}

bool sameQsoLine(std::string_view first, std::string_view second) {
    return qsoWords(first) == qsoWords(second);
}

DecisionFileText readDecisionFileText(const std::string& path) {
    DecisionFileText read;
    if (!existsOtherThanFolder(path)) {
        return read;
    }
    std::optional<FileBytes> file = readRegularFile(path, kMaxFileBytes);
    if (!file) {
        read.error = "soubor rozhodnutí " + path + " nelze číst";
    } else if (!file->whole) {
        read.error = "soubor rozhodnutí " + path + " je větší než " +
                     formatDecimal(static_cast<std::int64_t>(kMaxFileBytes >> 20)) + " MiB";
    } else {
        read.text = asUtf8(file->bytes);
    }
    return read;
}

DecisionFile readDecisionFile(const std::string& path) {
    const DecisionFileText read = readDecisionFileText(path);
    if (read.error) {
        DecisionFile file;
        file.problems.push_back({0, *read.error});
        return file;
    }
    return read.text ? parseDecisions(*read.text) : DecisionFile{};
}

}  // namespace zeb::contest
