#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/intake/contest_log.h"
#include "platform/translation.h"

namespace zeb::contest {

inline constexpr int kDefaultTimeWindow = 10;  // minutes

// One QSO of a log that the other logs do not confirm as it stands.
struct Finding {
    FindingKind kind = FindingKind::NotInLog;
    std::size_t qso = 0;         // index into the log's QSOs
    std::size_t partnerLog = 0;  // index into the logs; not for a unique call
    // The partner's QSO: the matching one for a busted exchange, the other half of a QSO with a
    // wrongly logged call; none for not in log and unique.
    std::optional<std::size_t> partnerQso;
};

// A QSO confirmed by its partner's only with an adjustment for one log's systematic error: a
// clock that is off, or a call written with a designator the other log does not write.
struct AdjustedMatch {
    std::size_t qso = 0;  // index into the log's QSOs
    std::size_t partnerLog = 0;
    std::size_t partnerQso = 0;
    bool clock = false;       // apart by more than the window without the clocks' offsets
    bool designator = false;  // one call bears a designator or prefix the other lacks
};

struct LogCrossCheck {
    bool checked = false;  // a scored log with an own call
    int validQsos = 0;
    int confirmed = 0;  // valid QSOs matched by a QSO of the partner's log
    // Confirmed QSOs whose exchange cannot be checked: the partner's line records neither a sent
    // member number nor "NM".
    int unverifiable = 0;
    std::vector<Finding> findings;        // in the order of the kinds, then of the QSOs
    std::vector<AdjustedMatch> adjusted;  // in the order of the QSOs
    // The findings of the other logs that this log causes: their QSOs it does not hold (not in
    // log) and their calls it logged wrongly (busted call).
    int causedFindings = 0;
};

struct CrossCheck {
    int windowMinutes = kDefaultTimeWindow;
    std::vector<LogCrossCheck> logs;  // one per log, in the order of the logs
};

// The own call of a log as the cross-check knows it: from its "CALLSIGN:" line, or else the sent
// call of its QSO lines; the sent call when the two name different stations.
std::optional<std::string> crossCheckCall(const ContestLog& log);

// The call under which the cross-check knows a log, or its file name when it knows none.
std::string crossCheckName(const ContestLog& log);

// The station a call names: in capitals, without a portable or status designator ("/P", "/M",
// "/QRP", "/MM", "/AM", a trailing "/7") or a country prefix ("DL/"): "dl/ok1lo/p" is OK1LO.
std::string stationCall(std::string_view call);

// The log's "CALLSIGN:" line names another station than its own QSO lines send: the lines are
// taken.
bool headerCallContradicted(const ContestLog& log);

// A finding that is this log's own error takes the QSO off its score: not in the partner's log, a
// wrongly logged call, a busted exchange. A busted call is the partner's error, a unique call
// proves nothing.
bool removesQso(FindingKind kind);

// Compares the valid QSOs (status 0) of the scored logs that have an own call. A QSO of log A with
// the own call of log B matches the QSO of B, on the same band and within the window, whose
// received call is A's own call; each QSO matches at most one, the nearest in time first.
// Calls compare without regard to case. Of the QSOs left unmatched, a QSO of A and a QSO of B on
// the same band and within the window are one QSO with a wrongly logged call when one of them
// bears the other's own call and the other bears a call one character changed, added or dropped
// (or two neighbours swapped) from its partner's own call; again nearest in time first, each QSO at
// most once. A matched QSO whose received member number is not the one the partner's line records
// as sent is a busted exchange (none recorded: unverifiable). A QSO without a match is not in the
// partner's log only when that log is of the same session (it holds a QSO within a day of it). A
// call sign that is the own call of no log, however it ended, and that no other scored log holds is
// unique. A QSO whose date or time cannot be read lies within no window.
CrossCheck crossCheck(const std::vector<ContestLog>& logs, int windowMinutes);

// Every kind of finding, in the order in which reports list them.
inline constexpr FindingKind kFindingKinds[] = {FindingKind::NotInLog, FindingKind::BustedCall,
                                                FindingKind::WrongCall, FindingKind::BustedExchange,
                                                FindingKind::Unique};

// How many findings of the kind a log has.
int findingCount(const LogCrossCheck& log, FindingKind kind);

// The key of a finding's kind in reports and JSON ("not-in-log", "busted-call", ...), and its
// heading in the language given, named from the side of the log's entrant: "The partner logged
// your call wrongly", "You logged the partner's call wrongly".
const char* findingKey(FindingKind kind);
const char* findingHeading(FindingKind kind, Language language = Language::Czech);
// ... and its heading over a narrow column of counts: a few words ("Not in log", "Unique"), but
// for the two kinds of busted call, which only the words of findingHeading tell apart.
const char* findingColumnHeading(FindingKind kind, Language language = Language::Czech);

// True when the texts differ by exactly one character changed, added or dropped, or by two
// neighbouring characters swapped.
bool differByOneEdit(std::string_view first, std::string_view second);

}  // namespace zeb::contest
