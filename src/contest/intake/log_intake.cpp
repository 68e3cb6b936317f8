#include "contest/intake/log_intake.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/text_input.h"
#include "state/decimal.h"
#include "state/texts.h"

namespace zeb::contest {

namespace fs = std::filesystem;

namespace {

// Logs up to this size are read whole for the repair and for what the reports quote.
constexpr std::size_t kReadLogBytes = std::size_t{16} << 20;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// A text of the log as UTF-8, whichever of the two encodings it was written in.
std::string logText(std::string_view bytes, bool utf8) {
    return utf8 ? std::string(bytes) : cp1250ToUtf8(bytes);
}

// The value of the "CONTEST:" line before the first QSO line.
std::string contestNameOf(const std::vector<std::string_view>& lines, bool utf8) {
    for (const std::string_view line : lines) {
        if (isQsoLine(line)) {
            break;
        }
        if (headerKey(line) == "CONTEST") {
            return logText(trimmed(line.substr(line.find(':') + 1)), utf8);
        }
    }
    return {};
}

// The repaired copy's QSO lines are the log's, in their order: each quotes its line as the
// entrant wrote it. A copy changed by hand may no longer line up; it then quotes itself.
void quoteSubmittedLines(ContestLog& log, const std::vector<std::string_view>& lines,
                         const LogRepair& repair) {
    if (log.qsos.size() != repair.qsoLineNumbers.size()) {
        for (ContestQso& qso : log.qsos) {
            qso.submittedNumber = 0;
        }
        return;
    }
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const int number = repair.qsoLineNumbers[i];
        log.qsos[i].submittedNumber = number;
        if (number >= 1 && static_cast<std::size_t>(number) <= lines.size()) {
            log.qsos[i].submittedLine = logText(trimmed(lines[number - 1]), log.utf8);
        }
    }
}

bool newerThan(const std::string& first, const std::string& second) {
    std::error_code error;
    const auto firstTime = fs::last_write_time(pathFromUtf8(first), error);
    if (error) {
        return false;
    }
    const auto secondTime = fs::last_write_time(pathFromUtf8(second), error);
    return !error && firstTime > secondTime;
}

}  // namespace

OutputFiles::OutputFiles(NoteSink notes, bool force) : notes_(std::move(notes)), force_(force) {}

void OutputFiles::protect(const std::string& input) {
    inputs_.add(input);
}

bool OutputFiles::write(const std::string& prefix, const std::string& what,
                        const std::string& target, const std::string& content, bool replace) {
    if (const std::optional<std::string> input = inputs_.find(target)) {
        notes_(prefix + what + " " + target + " would replace the input " + *input +
               "; an input is never replaced");
        return false;
    }
    // Two logs of one name in different folders would share DIR/NAME.prn, and a report may name
    // the file of a protocol; --force allows replacing what was there before the run, never a
    // file this run has just written.
    if (written_.find(target)) {
        notes_(prefix + what + " " + target +
               " was already written for an earlier LOG of this run; it is not replaced");
        return false;
    }
    if (!force_ && !replace && existsOtherThanFolder(target)) {
        notes_(prefix + what + " " + target + " exists and stays untouched; --force replaces it");
        return false;
    }
    const WriteOutcome outcome = writeFileAtomically(target, content);
    if (!outcome.ok) {
        notes_(prefix + "cannot write the " + what + " " + target + ": " +
               cp1250ToUtf8(outcome.error));
        return false;
    }
    written_.add(target);
    return true;
}

LogIntake::LogIntake(ContestSettings settings, OutputFiles& files, NoteSink notes)
    : settings_(std::move(settings)), files_(files), notes_(std::move(notes)) {}

ContestEntry LogIntake::take(const std::string& log) {
    ContestEntry entry;
    std::string bytes;
    bool whole = false;
    if (std::optional<FileBytes> file =
            readRegularFile(log, settings_.repairDir ? std::string().max_size() : kReadLogBytes)) {
        bytes = std::move(file->bytes);
        whole = file->whole;
    }
    const bool utf8 = isUtf8BeyondAscii(bytes);

    std::string evaluated = log;
    EvaluationSettings settings = settings_.evaluation;
    std::optional<RepairedLog> repaired;
    const std::vector<std::string_view> lines = textLines(bytes);
    // A file without a single QSO line is no log to repair: the reader says what it is.
    if (settings_.repairDir && whole && std::any_of(lines.begin(), lines.end(), isQsoLine)) {
        repaired = repair(log, bytes, entry);
        if (repaired->copy) {
            evaluated = *repaired->copy;
        }
    }
    if (settings_.configBeside) {
        const std::string beside = configPathBeside(evaluated);
        if (isReadableFile(beside)) {
            settings.config = beside;
        }
    }
    if (repaired && repaired->repair.columnsMustBeSet && !repaired->edited && !settings.config &&
        !settings.callStart && !settings.exchStart) {
        settings.callStart = std::to_string(kRepairedCallColumn);
        settings.exchStart = std::to_string(kRepairedExchangeColumn);
    }
    entry.evaluation =
        evaluateLog(evaluated, settings, [this, &evaluated](const DialogMessage& message) {
            notes_(evaluated + ": " + kindName(message.kind) + ": " + cp1250ToUtf8(message.text));
        });
    entry.evaluation.log = log;
    const LogEvaluation& evaluation = entry.evaluation;
    if (evaluation.configUnreadable) {
        notes_(evaluated + ": cannot open the column configuration " + *settings.config +
               "; the columns stay as found");
        entry.fileFailed = true;
    }
    if (evaluation.columnCheck && evaluation.columnCheck->poor()) {
        const ColumnCheck& check = *evaluation.columnCheck;
        notes_(evaluated + ": the columns found agree with the QSO fields on " +
               std::to_string(check.agreeing) + " of " + std::to_string(check.lines) + " lines" +
               (settings_.repairDir ? "; check the columns in the window"
                                    : "; --repair rewrites the log so that they are found, or "
                                      "check the columns in the window"));
    }
    if (settings_.warnOfUtf8 && utf8 && !(repaired && repaired->copy)) {
        notes_(log +
               ": the log is in UTF-8, not Windows-1250: its letters beyond ASCII are read "
               "wrongly; --repair converts it");
    }

    entry.log = summarizeLog(evaluation);
    entry.log.utf8 = utf8;
    entry.log.evaluated = evaluated;
    entry.log.settings = settings;
    entry.log.contestName = contestNameOf(lines, utf8);
    if (repaired && repaired->copy) {
        quoteSubmittedLines(entry.log, lines, repaired->repair);
    } else if (utf8) {
        for (ContestQso& qso : entry.log.qsos) {
            if (qso.submittedNumber >= 1 &&
                static_cast<std::size_t>(qso.submittedNumber) <= lines.size()) {
                qso.submittedLine = std::string(trimmed(lines[qso.submittedNumber - 1]));
            }
        }
    }
    if (entry.log.outcome != LogOutcome::Scored) {
        entry.log.reason = plainReason(evaluation, evaluated, bytes);
    }
    if (repaired) {
        repaired->repair.copy.clear();
        repaired->repair.copy.shrink_to_fit();
        entry.log.repaired = std::move(repaired);
    }
    return entry;
}

// Writes the repaired copy of a log into the repair folder, or takes the copy that is there.
// Without a copy (the copy cannot be written) the log is evaluated as it stands.
std::optional<RepairedLog> LogIntake::repair(const std::string& log, const std::string& bytes,
                                             ContestEntry& entry) {
    RepairedLog repaired;
    if (!repairScratch_) {
        repairScratch_ = makeEvaluationState();
    }
    repaired.repair = repairLog(bytes, repairScratch_.get());
    const std::string target = repairPathIn(*settings_.repairDir, log);
    const std::string prefix = log + ": ";
    // Two logs of one name in different folders would share their copy.
    if (const std::optional<std::string> earlier = copies_.find(target)) {
        notes_(prefix + "repaired copy " + target +
               " belongs to an earlier LOG of this run; the "
               "log is evaluated as it stands");
        entry.fileFailed = true;
        return repaired;
    }
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(pathFromUtf8(target), error);
    if (!files_.force() && fs::is_regular_file(existing) && !files_.inputNamed(target)) {
        const std::optional<FileBytes> copy = readRegularFile(target, std::string().max_size());
        if (!copy) {
            notes_(prefix + "cannot read the repaired copy " + target +
                   "; the log is evaluated as it stands");
            entry.fileFailed = true;
            return repaired;
        }
        // The copy may hold the evaluator's corrections: it is what is evaluated, and no output
        // of the run may replace it.
        files_.protect(target);
        copies_.add(target);
        repaired.kept = true;
        repaired.edited = copy->bytes != repaired.repair.copy;
        if (newerThan(log, target)) {
            notes_(prefix + "the log is newer than its repaired copy " + target +
                   "; the copy is evaluated; --force writes it anew");
        }
        repaired.copy = target;
        return repaired;
    }
    if (!files_.write(prefix, "repaired copy", target, repaired.repair.copy)) {
        notes_(prefix + "the log is evaluated as it stands");
        entry.fileFailed = true;
        return repaired;
    }
    copies_.add(target);
    repaired.copy = target;
    return repaired;
}

bool makeOutputFolders(const std::vector<std::string>& folders, const NoteSink& notes) {
    bool ok = true;
    for (const std::string& folder : folders) {
        const WriteOutcome made = makeFolders(folder);
        if (!made.ok) {
            notes("cannot make the folder " + folder + ": " + cp1250ToUtf8(made.error));
            ok = false;
        }
    }
    return ok;
}

std::string repairPathIn(const std::string& dir, const std::string& log) {
    return pathInFolder(dir, baseName(log));
}

std::string configPathBeside(const std::string& log) {
    return utf8FromPath(pathFromUtf8(log).replace_extension(".ini"));
}

std::string protocolPathIn(const std::string& dir, const std::string& log) {
    return pathInFolder(dir, utf8FromPath(pathFromUtf8(log).filename().stem()) + ".prn");
}

std::optional<std::vector<std::string>> logsInFolder(const std::string& folder) {
    std::error_code error;
    if (!fs::is_directory(pathFromUtf8(folder), error)) {
        return std::nullopt;
    }
    std::vector<std::string> logs;
    for (fs::directory_iterator it(pathFromUtf8(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string extension = inCapitals(utf8FromPath(it->path().extension()));
        if ((extension == ".CBR" || extension == ".LOG") && it->is_regular_file(error)) {
            logs.push_back(pathInFolder(folder, utf8FromPath(it->path().filename())));
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

std::string plainReason(const LogEvaluation& evaluation, const std::string& path,
                        std::string_view bytes) {
    if (evaluation.outcome == LogOutcome::Aborted) {
        return "hodnocení přerušeno u značky s neznámým prefixem";
    }
    if (evaluation.outcome == LogOutcome::Unreadable) {
        std::error_code error;
        const fs::file_status status = fs::status(pathFromUtf8(path), error);
        if (!fs::exists(status)) {
            return "soubor neexistuje";
        }
        if (fs::is_directory(status)) {
            return "je to složka, ne soubor deníku";
        }
        return "soubor nelze číst (není to obyčejný soubor, nebo chybí oprávnění)";
    }
    const auto said = [&](const auto& matches) {
        return std::any_of(evaluation.messages.begin(), evaluation.messages.end(),
                           [&](const DialogMessage& message) { return matches(message.text); });
    };
    if (said([](const std::string& text) { return text == texts::kTooManyQsos; })) {
        return "víc QSO, než program hodnotí (nejvýš " + formatDecimal(kMaxQsoLines) + ")";
    }
    if (trimmed(bytes).empty()) {
        return "prázdný soubor";
    }
    const std::vector<std::string_view> lines = textLines(bytes);
    if (std::none_of(lines.begin(), lines.end(), isQsoLine)) {
        return "není to deník Cabrillo: nemá jediný řádek QSO:";
    }
    if (said([](const std::string& text) { return text.rfind(texts::kTabOnLinePrefix, 0) == 0; })) {
        return "tabulátor v řádku deníku; --repair jej nahradí mezerami";
    }
    if (said([](const std::string& text) { return text == texts::kNoEndMarker; })) {
        return "chybí řádek END-OF-LOG:; --repair jej doplní";
    }
    if (said([](const std::string& text) { return text == texts::kNoQsoIn25Lines; })) {
        return "hlavička je delší než 25 řádků; --repair ji zkrátí";
    }
    return "deník nesplňuje pravidla čtení";
}

}  // namespace zeb::contest
