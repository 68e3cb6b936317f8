#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/intake/band_breakdown.h"
#include "contest/intake/column_check.h"
#include "contest/intake/log_evaluation.h"
#include "contest/intake/log_repair.h"
#include "intake/load_command.h"

namespace zeb::contest {

// One QSO as the results table and the cross-check see it. Texts are UTF-8.
struct ContestQso {
    int number = 0;    // from 1, as the window and the messages number QSO lines
    std::string line;  // the whole QSO line, without trailing blanks
    std::int32_t kHz = 0;
    std::int32_t status = kStatusValid;
    // Read from the whole line into the fields of the Cabrillo QSO template, or, when the line
    // could not be read, from the columns found (the call and exchange) and from the words of the
    // template in their order (date and time).
    bool read = false;
    std::string call;      // the received call
    std::string exchange;  // the received member number without leading zeros, or "NM"
    // The member number the partner sent, without leading zeros, "NM", or the empty text when the
    // line records neither.
    std::string sentExchange;
    // The received exchange holds neither a member number nor "NM" (a name only, nothing); the
    // scoring takes it for "NM".
    bool noMember = false;
    std::string date;                    // YYYY-MM-DD
    std::string time;                    // HHMM
    std::optional<std::int64_t> minute;  // date and time in minutes, when both can be read
    // Where the line stands in the file the entrant submitted (from 1; 0 when unknown) and, when
    // a repaired copy was evaluated, the line as submitted.
    int submittedNumber = 0;
    std::string submittedLine;
    // The line evaluated is not what the repair makes of the submitted line: the evaluator changed
    // it in the repaired copy.
    bool editedLine = false;

    const std::string& asSubmitted() const { return submittedLine.empty() ? line : submittedLine; }
};

// Why a log needs the evaluator's eyes: a code ("other-session", "unread", ...) and the reason in
// Czech, naming the lines concerned.
struct LogFlag {
    std::string code;
    std::string text;
};

enum class FindingKind {
    NotInLog,        // the partner's log holds no record of the QSO
    BustedCall,      // the partner logged this log's call wrongly: the partner's error
    WrongCall,       // this log logged the partner's call wrongly: this log's error
    BustedExchange,  // the received member number is not the one the partner sent
    Unique,          // a call that no other log holds
};

// A QSO that the cross-check, or the evaluator, takes off a log's score.
struct RemovedQso {
    int number = 0;                               // as ContestQso::number
    FindingKind finding = FindingKind::NotInLog;  // when not `decided`
    bool decided = false;                         // the evaluator removed it; `reason` says why
    std::string reason;
};

// A QSO that a finding would take off, kept by the evaluator's decision.
struct KeptQso {
    int number = 0;
    FindingKind finding = FindingKind::NotInLog;
    std::string reason;
};

// The result of a log without its removed QSOs, as if their lines were not in the log.
struct CheckedResult {
    std::vector<RemovedQso> removed;
    std::vector<KeptQso> kept;
    EvaluationTotals totals{};
};

// Why a scored log takes no part in the contest: neither ranked nor a partner in the cross-check.
enum class SetAsideKind {
    Decision,    // the evaluator set it aside
    Copy,        // it is another copy of the log that counts (the same QSO lines)
    Superseded,  // the same station sent another log, which counts
};

struct SetAside {
    SetAsideKind kind = SetAsideKind::Decision;
    std::size_t by = 0;   // the log that counts instead, for a copy or a superseded log
    bool chosen = false;  // ... chosen by the evaluator, not as the newest
    std::string reason;   // the evaluator's reason, for a decision
};

// What is kept of one evaluated log once its evaluation state is gone.
struct ContestLog {
    std::string path;  // as given
    LogOutcome outcome = LogOutcome::Unreadable;
    std::optional<std::string> ownCall;   // from the "CALLSIGN:" header line
    std::optional<std::string> sentCall;  // the call that its QSO lines send, when they agree
    std::string message;  // why a log was not scored: its last error message, on one line
    EvaluationTotals totals{};
    std::vector<BandTotals> bands;  // scored logs only
    std::vector<ContestQso> qsos;   // scored logs only
    ColumnCheck columnCheck;        // scored logs only

    // What a contest run adds.
    std::string contestName;      // the value of the "CONTEST:" line as written, UTF-8
    std::string evaluated;        // the file that was evaluated: the log or its repaired copy
    std::string protocolFile;     // the protocol written for it, when one was
    EvaluationSettings settings;  // as they were applied to that file
    std::optional<RepairedLog> repaired;  // what the repair changed (without the copy's text)
    bool utf8 = false;                    // the submitted log is in UTF-8
    std::string reason;                   // why it was not scored, in plain Czech words
    std::vector<LogFlag> flags;
    std::optional<CheckedResult> checked;  // when the cross-check ran

    // From the header of the log as submitted.
    std::string claimedScore;     // the "CLAIMED-SCORE:" value as written, UTF-8; empty when none
    bool checkLogHeader = false;  // its category says CHECKLOG
    // When the submitted file was last written, in the file system's ticks: the newest of one
    // station's logs counts.
    std::int64_t received = 0;

    // How the check of the contest takes it.
    std::optional<SetAside> setAside;
    bool checkLog = false;  // it confirms its partners' QSOs, but is not ranked
    // How far its clock is off, in minutes: its times less those of its partners for the same
    // QSOs (+60: an hour ahead). The check takes each of its QSOs at its time less this.
    std::int64_t clockOffset = 0;
    // Of its QSOs that pair up with a partner's, how many agree on that offset.
    int clockAgreeing = 0;
    int clockPairable = 0;

    // The time of one of its QSOs as the check takes it: its clock's offset taken off.
    std::optional<std::int64_t> checkedMinute(const ContestQso& qso) const {
        return qso.minute ? std::optional(*qso.minute - clockOffset) : std::nullopt;
    }

    // Its repaired copy was there already / and was changed by hand (see RepairedLog).
    bool copyKept() const { return repaired && repaired->kept; }
    bool copyEdited() const { return repaired && repaired->edited; }

    bool flagged(std::string_view code) const;
    // Scored and not set aside: it is a partner in the cross-check.
    bool takesPart() const { return outcome == LogOutcome::Scored && !setAside; }
    // Taking part, no check log, but of another session or meeting no other log: listed below the
    // ranking.
    bool rankedApart() const;
    // Taking part and in the ranking.
    bool ranked() const { return takesPart() && !checkLog && !rankedApart(); }
};

ContestLog summarizeLog(const LogEvaluation& evaluation);

// "odmítnut" and so on: an outcome as the Czech reports name it.
const char* czechOutcomeName(LogOutcome outcome);

// The log's own call, or its file name when it has none.
std::string callOrFileName(const ContestLog& log);

// An exchange as a member number without leading zeros, or "NM": the rule of the exchange
// extraction ("0042" and "42" are one member; "0", letters and the empty text are "NM").
std::string normalizedExchange(std::string_view exchange);

// "YYYY-MM-DD" and "HHMM" as minutes since 1970-01-01 00:00, or nothing when either cannot be read.
std::optional<std::int64_t> minuteOf(std::string_view date, std::string_view time);

}  // namespace zeb::contest
