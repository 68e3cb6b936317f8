#include "contest/intake/log_intake.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "contest/intake/contest_folder.h"
#include "contest/intake/repair_record.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/text_input.h"
#include "platform/translation.h"
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

// The value of a header line ("CONTEST", "CLAIMED-SCORE", ...) before the first QSO line.
std::string headerValue(const std::vector<std::string_view>& lines, std::string_view key,
                        bool utf8) {
    for (const std::string_view line : lines) {
        if (isQsoLine(line)) {
            break;
        }
        if (headerKey(line) == key) {
            return logText(trimmed(line.substr(line.find(':') + 1)), utf8);
        }
    }
    return {};
}

// A check log says so in its category: "CATEGORY-OPERATOR: CHECKLOG", or in the older form of the
// header, "CATEGORY: CHECKLOG".
bool saysCheckLog(const std::vector<std::string_view>& lines) {
    for (const char* key : {"CATEGORY-OPERATOR", "CATEGORY"}) {
        // The words are views into the value, which must outlive them.
        const std::string value = inCapitals(headerValue(lines, key, true));
        for (const std::string_view word : qsoWords(value)) {
            if (word == "CHECKLOG") {
                return true;
            }
        }
    }
    return false;
}

std::int64_t lastWriteOf(const std::string& path) {
    std::error_code error;
    const auto written = fs::last_write_time(pathFromUtf8(path), error);
    return error ? 0 : static_cast<std::int64_t>(written.time_since_epoch().count());
}

// The repaired copy's QSO lines are the log's, in their order: each quotes its line as the
// entrant wrote it, and tells whether the evaluator changed it in the copy (it is then not what the
// repair makes of the submitted line). A copy changed by hand may no longer line up; it then
// quotes itself.
void quoteSubmittedLines(ContestLog& log, const std::vector<std::string_view>& lines,
                         const RepairedLog& repaired) {
    const LogRepair& repair = repaired.repair;
    if (log.qsos.size() != repair.qsoLineNumbers.size()) {
        for (ContestQso& qso : log.qsos) {
            qso.submittedNumber = 0;
        }
        return;
    }
    const std::vector<std::string_view> repairedLines = qsoLinesOf(repair.copy);
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        ContestQso& qso = log.qsos[i];
        const int number = repair.qsoLineNumbers[i];
        qso.submittedNumber = number;
        if (number >= 1 && static_cast<std::size_t>(number) <= lines.size()) {
            qso.submittedLine = logText(trimmed(lines[number - 1]), log.utf8);
        }
        qso.editedLine = repaired.edited && i < repairedLines.size() &&
                         cp1250ToUtf8(trimmed(repairedLines[i])) != qso.line;
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
        notes_(prefix + format(tr("%1 %2 would replace the input %3; an input is never "
                                  "replaced"),
                               {what, target, *input}));
        return false;
    }
    // Two logs of one name in different folders would share DIR/NAME.prn, and a report may name
    // the file of a protocol; --force allows replacing what was there before the run, never a
    // file this run has just written.
    if (written_.find(target)) {
        notes_(prefix + format(tr("%1 %2 was already written for an earlier LOG of this run; it "
                                  "is not replaced"),
                               {what, target}));
        return false;
    }
    if (!force_ && !replace && existsOtherThanFolder(target)) {
        notes_(prefix +
               format(tr("%1 %2 exists and stays untouched; --force replaces it"), {what, target}));
        return false;
    }
    const WriteOutcome outcome = writeFileAtomically(target, content);
    if (!outcome.ok) {
        notes_(prefix + format(tr("cannot write the %1 %2: %3"),
                               {what, target, cp1250ToUtf8(outcome.error)}));
        return false;
    }
    written_.add(target);
    return true;
}

LogIntake::LogIntake(ContestSettings settings, OutputFiles& files, NoteSink notes)
    : settings_(std::move(settings)), files_(files), notes_(std::move(notes)) {
    if (settings_.repairDir) {
        record_ = RepairRecord::of(*settings_.repairDir);
    }
}

bool LogIntake::finish() {
    std::string error;
    if (!record_.save(&error)) {
        notes_(format(tr("cannot write the record of the repaired copies in %1: %2"),
                      {*settings_.repairDir, error}));
        return false;
    }
    return true;
}

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
            notes_(evaluated + ": " + tr(kindName(message.kind)) + ": " +
                   cp1250ToUtf8(message.text));
        });
    entry.evaluation.log = log;
    const LogEvaluation& evaluation = entry.evaluation;
    if (evaluation.configUnreadable) {
        notes_(format(tr("%1: cannot open the column configuration %2; the columns stay as "
                         "found"),
                      {evaluated, *settings.config}));
        entry.fileFailed = true;
    }
    if (evaluation.columnCheck && evaluation.columnCheck->poor()) {
        const ColumnCheck& check = *evaluation.columnCheck;
        notes_(format(settings_.repairDir
                          ? tr("%1: the columns found agree with the QSO fields on %2 of %3 "
                               "lines; check the columns in the window")
                          : tr("%1: the columns found agree with the QSO fields on %2 of %3 "
                               "lines; --repair rewrites the log so that they are found, or "
                               "check the columns in the window"),
                      {evaluated, std::to_string(check.agreeing), std::to_string(check.lines)}));
    }
    if (settings_.warnOfUtf8 && utf8 && !(repaired && repaired->copy)) {
        notes_(format(tr("%1: the log is in UTF-8, not Windows-1250: its letters beyond ASCII "
                         "are read wrongly; --repair converts it"),
                      {log}));
    }

    entry.log = summarizeLog(evaluation);
    entry.log.utf8 = utf8;
    entry.log.evaluated = evaluated;
    entry.log.settings = settings;
    entry.log.contestName = headerValue(lines, "CONTEST", utf8);
    entry.log.claimedScore = headerValue(lines, "CLAIMED-SCORE", utf8);
    entry.log.checkLogHeader = saysCheckLog(lines);
    entry.log.received = lastWriteOf(log);
    if (repaired && repaired->copy) {
        quoteSubmittedLines(entry.log, lines, *repaired);
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
        notes_(prefix + format(tr("repaired copy %1 belongs to an earlier LOG of this run; the "
                                  "log is evaluated as it stands"),
                               {target}));
        entry.fileFailed = true;
        return repaired;
    }
    const std::string copyName = baseName(target);
    const std::uint64_t logDigest = digestOf(bytes);
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(pathFromUtf8(target), error);
    bool rewrite = false;
    if (!files_.force() && fs::is_regular_file(existing) && !files_.inputNamed(target)) {
        const std::optional<FileBytes> copy = readRegularFile(target, std::string().max_size());
        if (!copy) {
            notes_(prefix + format(tr("cannot read the repaired copy %1; the log is evaluated "
                                      "as it stands"),
                                   {target}));
            entry.fileFailed = true;
            return repaired;
        }
        const std::uint64_t copyDigest = digestOf(copy->bytes);
        const std::optional<RepairRecord::Entry> written = record_.find(copyName);
        const std::uint64_t firstLog = written ? written->firstLog : logDigest;
        if (copy->bytes == repaired.repair.copy) {
            record_.set(copyName, {copyDigest, logDigest, firstLog});
            repaired.resent = firstLog != logDigest;
        } else if (written && written->copy == copyDigest) {
            // Nobody touched the copy since it was written: the log was sent again (or is read
            // otherwise now), and its copy is written anew from it.
            repaired.resent = firstLog != logDigest;
            rewrite = true;
        } else {
            // Changed by hand: the evaluator's corrections are evaluated, and never replaced. A log
            // that changed since the copy was made leaves the two to be merged by eye.
            repaired.edited = true;
            repaired.resentAfterEdit = written ? written->log != logDigest : newerThan(log, target);
            if (repaired.resentAfterEdit) {
                notes_(prefix + format(tr("the log changed after its repaired copy %1 was "
                                          "corrected by hand; the corrected copy is evaluated: "
                                          "compare the two"),
                                       {target}));
            }
        }
        if (!rewrite) {
            files_.protect(target);
            copies_.add(target);
            repaired.kept = true;
            repaired.copy = target;
            return repaired;
        }
    }
    if (!files_.write(prefix, tr("repaired copy"), target, repaired.repair.copy, rewrite)) {
        notes_(prefix + tr("the log is evaluated as it stands"));
        entry.fileFailed = true;
        return repaired;
    }
    if (rewrite && repaired.resent) {
        notes_(prefix + format(tr("the log changed since its repaired copy %1 was made; the copy "
                                  "was untouched and is written anew"),
                               {target}));
    }
    const std::optional<RepairRecord::Entry> before = record_.find(copyName);
    record_.set(copyName, {digestOf(repaired.repair.copy), logDigest,
                           before && rewrite ? before->firstLog : logDigest});
    copies_.add(target);
    repaired.copy = target;
    return repaired;
}

bool makeOutputFolders(const std::vector<std::string>& folders, const NoteSink& notes) {
    bool ok = true;
    for (const std::string& folder : folders) {
        const WriteOutcome made = makeFolders(folder);
        if (!made.ok) {
            notes(format(tr("cannot make the folder %1: %2"), {folder, cp1250ToUtf8(made.error)}));
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
    std::optional<FolderContents> contents = scanLogsFolder(folder);
    if (!contents) {
        return std::nullopt;
    }
    return std::move(contents->logs);
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
