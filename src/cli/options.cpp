#include "cli/options.h"

#include <string_view>

#include "cli/help_text.h"
#include "contest/publish/report_table.h"
#include "platform/translation.h"

namespace zeb::cli {

using namespace zeb::contest;

namespace {

enum class Id {
    Config,
    CallStart,
    ExchStart,
    Only80m,
    UnknownPrefix,
    Output,
    OutputDir,
    Force,
    Json,
    Results,
    Bands,
    CrossCheck,
    TimeWindow,
    Repair,
    ConfigBeside,
    EntrantReports,
    Contest,
    Help,
    Version,
};

struct OptionDefinition {
    std::string_view shortName;  // empty when there is none
    std::string_view longName;
    Id id;
    bool takesValue;
};

constexpr OptionDefinition kOptions[] = {
    {"-c", "--config", Id::Config, true},
    {"", "--call-start", Id::CallStart, true},
    {"", "--exch-start", Id::ExchStart, true},
    {"", "--only-80m", Id::Only80m, false},
    {"", "--unknown-prefix", Id::UnknownPrefix, true},
    {"-o", "--output", Id::Output, true},
    {"", "--output-dir", Id::OutputDir, true},
    {"", "--force", Id::Force, false},
    {"", "--json", Id::Json, false},
    {"", "--results", Id::Results, true},
    {"", "--bands", Id::Bands, false},
    {"", "--cross-check", Id::CrossCheck, true},
    {"", "--time-window", Id::TimeWindow, true},
    {"", "--repair", Id::Repair, true},
    {"", "--config-beside", Id::ConfigBeside, false},
    {"", "--entrant-reports", Id::EntrantReports, true},
    {"", "--contest", Id::Contest, true},
    {"-h", "--help", Id::Help, false},
    {"", "--version", Id::Version, false},
};

const OptionDefinition* findOption(std::string_view name) {
    for (const OptionDefinition& definition : kOptions) {
        if (name == definition.longName ||
            (!definition.shortName.empty() && name == definition.shortName)) {
            return &definition;
        }
    }
    return nullptr;
}

// The longest time window taken: a year. Logs further apart than that are of different contests.
constexpr int kMaxTimeWindow = 366 * 24 * 60;

// A whole number of minutes from 1 to kMaxTimeWindow, written with figures only.
std::optional<int> minutesOf(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int minutes = std::stoi(text);
    if (minutes < 1 || minutes > kMaxTimeWindow) {
        return std::nullopt;
    }
    return minutes;
}

std::optional<std::string> reportFileError(const std::string& name, const std::string& value) {
    if (reportFormatOf(value)) {
        return std::nullopt;
    }
    return format(tr("option '%1' needs a FILE ending in .csv, .html or .txt, not '%2'"),
                  {name, value});
}

// One results table and one cross-check report per format: a second of the same format would be
// the same again. Two names of one file that differ in spelling are caught when the second is
// written.
std::optional<std::string> reportFilesError(const Options& options) {
    for (const std::string& file : options.results) {
        for (const std::string& report : options.crossChecks) {
            if (file == report) {
                return tr("'--results' and '--cross-check' name the same FILE");
            }
        }
    }
    for (const auto& [name, files] : {std::pair{"--results", &options.results},
                                      std::pair{"--cross-check", &options.crossChecks}}) {
        for (std::size_t i = 0; i < files->size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (reportFormatOf((*files)[j]) == reportFormatOf((*files)[i])) {
                    return format(tr("'%1' takes one FILE per format, not both '%2' and '%3'"),
                                  {name, (*files)[j], (*files)[i]});
                }
            }
        }
    }
    return std::nullopt;
}

// --contest names every output itself.
std::optional<std::string> contestError(const Options& options) {
    const std::pair<bool, const char*> outputs[] = {
        {options.output.has_value(), "--output"},
        {options.outputDir.has_value(), "--output-dir"},
        {!options.results.empty(), "--results"},
        {!options.crossChecks.empty(), "--cross-check"},
        {options.repairDir.has_value(), "--repair"},
        {options.entrantReports.has_value(), "--entrant-reports"},
    };
    for (const auto& [given, name] : outputs) {
        if (given) {
            return format(tr("'--contest' writes every output into its folder; '%1' is not "
                             "taken with it"),
                          {name});
        }
    }
    return std::nullopt;
}

ParseResult usageError(std::string message) {
    ParseResult result;
    result.status = ParseStatus::UsageError;
    result.error = std::move(message);
    return result;
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& options = result.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.logs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> attached;
        if (arg.rfind("--", 0) == 0) {
            const std::size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                name = arg.substr(0, equals);
                attached = arg.substr(equals + 1);
            }
        }
        const OptionDefinition* definition = findOption(name);
        if (definition == nullptr) {
            return usageError(format(tr("unknown option '%1'"), {name}));
        }
        std::string value;
        if (definition->takesValue) {
            if (attached) {
                value = *attached;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            if (value.empty()) {
                return usageError(format(tr("option '%1' needs a value"), {name}));
            }
        } else if (attached) {
            return usageError(format(tr("option '%1' takes no value"), {name}));
        }
        switch (definition->id) {
            case Id::Config:
                options.evaluation.config = value;
                break;
            case Id::CallStart:
                options.evaluation.callStart = value;
                break;
            case Id::ExchStart:
                options.evaluation.exchStart = value;
                break;
            case Id::Only80m:
                options.evaluation.only80m = true;
                break;
            case Id::UnknownPrefix:
                if (value == "ignore") {
                    options.evaluation.unknownPrefix = UnknownPrefixAnswer::Ignore;
                } else if (value == "abort") {
                    options.evaluation.unknownPrefix = UnknownPrefixAnswer::Abort;
                } else {
                    return usageError(format(tr("option '%1' takes 'ignore' or 'abort', not '%2'"),
                                             {name, value}));
                }
                break;
            case Id::Output:
                options.output = value;
                break;
            case Id::OutputDir:
                options.outputDir = value;
                break;
            case Id::Force:
                options.force = true;
                break;
            case Id::Json:
                options.json = true;
                break;
            case Id::Results:
            case Id::CrossCheck:
                if (const auto error = reportFileError(name, value)) {
                    return usageError(*error);
                }
                (definition->id == Id::Results ? options.results : options.crossChecks)
                    .push_back(value);
                break;
            case Id::Bands:
                options.bands = true;
                break;
            case Id::TimeWindow:
                options.timeWindow = minutesOf(value);
                if (!options.timeWindow) {
                    return usageError(
                        format(tr("option '%1' takes a whole number of minutes from 1 to %2, "
                                  "not '%3'"),
                               {name, std::to_string(kMaxTimeWindow), value}));
                }
                break;
            case Id::Repair:
                options.repairDir = value;
                break;
            case Id::ConfigBeside:
                options.configBeside = true;
                break;
            case Id::EntrantReports:
                options.entrantReports = value;
                break;
            case Id::Contest:
                options.contest = value;
                break;
            case Id::Help:
                result.status = ParseStatus::Help;
                return result;
            case Id::Version:
                result.status = ParseStatus::Version;
                return result;
        }
    }
    if (options.logs.empty()) {
        return usageError(tr("no LOG given"));
    }
    if (options.output && options.outputDir) {
        return usageError(tr("'--output' and '--output-dir' exclude each other"));
    }
    if (options.output && options.logs.size() > 1) {
        return usageError(tr("'--output' takes the protocol of a single LOG"));
    }
    if (options.output && *options.output == "-" && options.json) {
        return usageError(tr("'--output -' and '--json' would both write to standard output"));
    }
    if (options.bands && options.results.empty() && !options.contest) {
        return usageError(tr("'--bands' adds columns to the table of '--results'"));
    }
    if (options.timeWindow && !options.crossCheckRuns()) {
        return usageError(tr("'--time-window' belongs to '--cross-check'"));
    }
    if (const auto error = reportFilesError(options)) {
        return usageError(*error);
    }
    if (options.contest) {
        if (const auto error = contestError(options)) {
            return usageError(*error);
        }
    }
    return result;
}

std::string usageText() {
    // Paragraph by paragraph: each is one message of the catalogue.
    static const char* const kParagraphs[] = {
        N_(R"(Usage: zebscore --contest OUT [OPTIONS] LOG|FOLDER...
       zebscore [OPTIONS] LOG [LOG...])"),
        N_(R"(The whole contest in one command: "zebscore --contest out logs/" repairs every log of the
folder, scores and cross-checks the copies, and writes the results, the cross-check, the
protocols, a report for each entrant and out/index.html, the page to open.)"),
        N_(R"(Evaluates ZEB contest logs in Cabrillo format as the zebcontest window does: loads each LOG,
finds its columns, applies the column options, computes the score and, if asked, writes the
result protocol. Every message the window would show is printed on standard error as
"zebscore: LOG: KIND: TEXT".)"),
        N_(R"(Options:
      --contest OUT          evaluate the whole contest into the folder OUT (see below)
      --entrant-reports DIR  write a report for each entrant into DIR/ (made when missing)
  -c, --config FILE          load a column configuration file after the column finding
      --call-start N         then type N into the call start edit
      --exch-start N         then type N into the exchange start edit
      --only-80m             as ticking "Jen 80 m"
      --unknown-prefix ANSWER
                             answer to every "prefix not found" question: ignore (default)
                             or abort
  -o, --output FILE          write the protocol of the single LOG to FILE ("-": standard
                             output)
      --output-dir DIR       write the protocol of every LOG to DIR/NAME.prn; DIR and its
                             parents are made when missing
      --force                allow replacing an existing protocol, results or cross-check
                             file (never an input: see below)
      --json                 print one JSON object per LOG on standard output (JSON Lines)
      --results FILE         write the results table of all LOGs to FILE; may be given
                             once for each format
      --bands                add per-band columns to the results table
      --cross-check FILE     write the cross-check report of all LOGs to FILE; may be
                             given once for each format
      --time-window MINUTES  how far apart in time two logs' records of one QSO may be
                             (default 10)
      --repair DIR           write a repaired copy of every LOG to DIR/ (made when
                             missing) and evaluate the copy instead; a copy that is
                             there already is evaluated as it stands
      --config-beside        use NAME.ini beside a LOG as its column configuration
  -h, --help                 show this help
      --version              show the version)"),
        N_(R"(A value follows its option as the next argument or after "=" (--config=FILE); a repeated
option keeps its last value, except --results and --cross-check; "--" ends the options.)"),
        N_(R"(Whole contest (--contest OUT): as --repair OUT/fixed --output-dir OUT/protocols --results
OUT/results.{html,csv,txt} --cross-check OUT/cross-check.{html,csv,txt} --entrant-reports
OUT/entrants, and OUT/index.html. A FOLDER stands for its logs: every regular file directly
inside it whose name ends in .cbr or .log (any case), and any other that is a Cabrillo log, in
name order; every other file of it is named with its reason. A LOG or FOLDER that is not there,
or a folder without a log, stops the run before anything is written. The options that name
outputs are not taken with it. A second run replaces what the first wrote in OUT, except the
repaired copies and the evaluator's decisions: a copy corrected by hand is what the next run
scores (the log is flagged "edited"), a log sent again over an untouched copy is repaired anew
("resent"); --force writes the copies anew from the logs.)"),
        N_(R"(One log per station: of the logs of one session that name the same station, one counts, the
newest; the others are set aside (copies of it, or superseded by it), neither ranked nor used
in the cross-check. The evaluator's decisions in OUT/decisions.txt apply on every run, one per
line: "odložit LOG | REASON" sets a log aside, "kontrolní LOG | REASON" makes it a check log,
"platí LOG | REASON" chooses the log of its station that counts, "uznat LOG | QSO LINE |
REASON" keeps a QSO, "vyřadit LOG | QSO LINE | REASON" removes one.)"),
        N_(R"(Checked results: whenever the cross-check runs, each scored log also gets the result that the
scoring gives it without its own not-in-log, wrong-call and busted-exchange QSOs (as if their
lines were absent) and the QSOs the evaluator removed, but with those the evaluator kept; the
results table ranks by it and shows it beside the result before the check and the score the
log declares (claimed_score, result, checked_result, removed_qsos). Each log's clock is
estimated from the QSOs it shares with the others and applied before the QSOs are matched, and
a call is matched by the station it names, designators such as /P and prefixes such as DL/
aside.)"),
        N_(R"(Flags, the logs to look at (JSON "flags": [{"code", "text"}], a column of the results table,
a section at the top of the pages): other-session, no-partner, same-call, copy, superseded,
set-aside, checklog, decided, clock, header-call, causes-findings, columns, edited, resent,
resent-after-edit, unread, no-sent-number, encoding, refused, unreadable, aborted; "man
zebscore" tells what each means. A log of another session or without a partner is ranked
apart. With --json and any of these outputs, the JSON lines come after every LOG is evaluated,
each with what the contest tells of it last.)"),
        N_(R"(Entrant reports: DIR/CALL.txt (the file name when the call is unknown or sent two logs), UTF-8,
in Czech and then in English: the declared score, the result before and after the check, every
removed QSO with the entrant's line as submitted (its line number in the submitted file) and the
partner's line, then the busted calls of the entrant's call, unique calls, the QSOs confirmed
with an adjustment and what the repair read differently.)"),
        N_(R"(The column options, --only-80m and --unknown-prefix apply to every LOG. The JSON object of a
scored LOG holds, after "totals", "bands": one object {"band", "qsos", "valid", "points",
"dxccMult"} for every band with a QSO, from 80m up to 10m. "qsos" counts the QSOs in the band
whatever their status; "valid", "points" and "dxccMult" count the valid QSOs alone. After
"qsos" comes "columnCheck": {"lines", "agreeing", "unread"}.)"),
        N_(R"(Results table and cross-check report: the extension of FILE names the format: .csv (UTF-8,
RFC 4180, one header row with English names, records ending in CR LF), .html (one UTF-8 page
with its style sheet inside, Czech headings, made for screen and print) or .txt (UTF-8, Czech
headings, aligned columns). An existing FILE is replaced only with --force.)"),
        N_(R"(The results table ranks the scored LOGs by result, highest first, then by call; equal results
share a rank (1, 1, 3). A row holds the rank, the call (from the "CALLSIGN:" line, else the
file name), QSOs, errors, points, ZEB multipliers, DXCC multipliers, result, same-number
count, the share of QSO lines that the columns read as the lines' fields hold (see the column
check) and the log's file name; --bands inserts before that share four columns for each band
on which any LOG has a QSO, from 80m up: QSOs, valid QSOs, points and DXCC multipliers. The
LOGs that were refused, could not be read or were aborted follow in a list of their own with
the message that stopped them (in the CSV: rows without numbers, with "outcome" and
"message").)"),
        N_(R"(The cross-check compares the valid QSOs of the scored LOGs whose call is known (from the
"CALLSIGN:" line, else the call that the QSO lines send). It reads every QSO line whole into
the fields of the Cabrillo template (frequency, mode, date, time, sent call, sent exchange,
received call, received exchange), whatever the columns: the exchange as a member number or NM
("0042" equals "42", a name beside the number does not matter). The record of a QSO of LOG A
with the station of LOG B is the QSO of B on the same band whose received call is A's call and
whose date and time lie within the time window; each QSO has at most one record, the nearest in
time first. Calls compare without regard to case. Per LOG the report lists: not in log (B,
a log of the same session, holds no record of the QSO); busted call (B logged A's call with one
character changed, added or dropped, or two swapped: B's error, listed for A with B's line);
wrong call (A logged B's call so: A's error, listed with B's line); busted exchange (A's
received member number or NM differs from what B's line records as sent); unverifiable
exchange (B's line records no sent member number or NM: counted, not listed); and unique (a
call that is the own call of no LOG and that no other LOG holds). A QSO whose date or time
cannot be read lies within no window. The CSV report has one row per finding.)"),
        N_(R"(Column check: after the computation zebscore reads every QSO line of a scored LOG into its
fields, as the cross-check does, and counts the lines on which the call and the exchange of
the columns agree with them ("columnCheck" in the JSON, a column of the results table). When
fewer than 9 lines in 10 agree, it says so on standard error: repair the LOG, or check its
columns in the window and save them beside it for --config-beside.)"),
        N_(R"(Repair (--repair DIR): the copy DIR/NAME keeps every QSO line, in order, and is taken by the
log reader: tabs become blanks, the lines before the first QSO line are shortened to 25 (free
text first; "CALLSIGN:" kept where the column finding reads it, added from the sent call when
missing), "END-OF-LOG:" is added when missing. Every QSO line that can be read is rewritten
within 80 columns in the layout of the Cabrillo template, the received call at column 55 and
its member number or NM at column 73 (counted from 0, as the start edits count), where the
column finding finds them; what a line does not hold is written "-", never guessed.
A line that cannot be read is copied as it stands. A log in UTF-8 is converted to Windows-1250
first (a character Windows-1250 lacks becomes "?"). The LOG itself is never changed; a copy
that would replace an input is not written, and that LOG is evaluated as it stands. A LOG over
the QSO limit stays refused. The JSON object then ends with "repair": {"copy", "qsoLines",
"changes": [{"line", "text"}], "unreadLines"}. With --config-beside, NAME.ini is looked for
beside the file evaluated, the copy under --repair.)"),
        N_(R"(Without --json and without "--output -", zebscore answers with one line per LOG on standard
output: "LOG: OUTCOME" (scored, refused, unreadable or aborted), for a scored LOG followed by
": QSOs N, errors N, points N, ZEB multipliers N, DXCC multipliers N, result N". Control
characters in LOG show as "?".)"),
        N_(R"(No output ever replaces an input: a protocol, results table or cross-check report that would be
one of the LOGs or the column configuration FILE (under any name, through a hard or symbolic
link) is refused, with or without --force; that LOG is still evaluated.)"),
        N_(R"(While zebscore works through more than one LOG and standard error is a terminal, it shows
"zebscore: n/N NAME" on one line that it rewrites, and clears it at the end.)"),
        N_(R"(Ctrl-C stops zebscore between two LOGs: the file being written is finished, the progress line is
cleared, one line says how many LOGs were finished, no results table or cross-check report is
written, and the exit status is 130.)"),
        N_(R"(Messages are in the language of the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG; on
Windows the display language): Czech or English; LANGUAGE=en chooses English. JSON, CSV
headers and flag codes stay as they are.)"),
        N_(R"(Exit status: 0 every LOG scored; 1 usage error, a contest's folder without a log, or a file
that could not be read or written; 2 a LOG refused by the reader's rules, or a contest's LOG or
FOLDER that is not there; 3 an evaluation aborted at an unknown prefix. The highest that
applies is returned; 130 when interrupted.)"),
    };
    std::string text;
    for (const char* paragraph : kParagraphs) {
        text += tr(paragraph);
        text += "\n\n";
    }
    text.pop_back();
    return wrapHelp(text);
}

}  // namespace zeb::cli
