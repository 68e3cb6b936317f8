#include "contest/check/cross_check.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_map>

#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/translation.h"
#include "scoring/band_plan.h"

namespace zeb::contest {

namespace {

// The call, in any case, is `capitals`.
bool sameCall(std::string_view call, std::string_view capitals) {
    return call.size() == capitals.size() &&
           std::equal(call.begin(), call.end(), capitals.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
}

bool isValid(const ContestQso& qso) {
    return qso.status == kStatusValid;
}

// A possible pairing of a QSO of one log with a QSO of another. The nearest in time are taken
// first; the indexes only make the order complete.
struct Pairing {
    std::int64_t distance;
    std::size_t log;
    std::size_t qso;
    std::size_t partnerLog;
    std::size_t partnerQso;

    friend bool operator<(const Pairing& a, const Pairing& b) {
        return std::tie(a.distance, a.log, a.qso, a.partnerLog, a.partnerQso) <
               std::tie(b.distance, b.log, b.qso, b.partnerLog, b.partnerQso);
    }
};

struct QsoRef {
    std::size_t log;
    std::size_t qso;
};

// The other half of a QSO whose call one of the two logs logged wrongly.
struct BustedRef {
    QsoRef partner;
    bool wrongHere;  // this QSO bears the wrong call
};

class Checker {
  public:
    Checker(const std::vector<ContestLog>& logs, int windowMinutes)
        : logs_(logs), window_(windowMinutes) {
        for (std::size_t l = 0; l < logs.size(); ++l) {
            const ContestLog& log = logs[l];
            const std::optional<std::string> own = crossCheckCall(log);
            ownCalls_.push_back(own ? stationCall(*own) : std::string());
            fullCalls_.push_back(own ? inCapitals(*own) : std::string());
            if (own) {
                knownCalls_.insert(ownCalls_.back());
            }
            calls_.emplace_back();
            validByCall_.emplace_back();
            for (std::size_t q = 0; q < log.qsos.size(); ++q) {
                calls_.back().push_back(stationCall(log.qsos[q].call));
                // A log set aside is no witness: a copy, or an older log of the same station.
                if (log.takesPart()) {
                    holders_[calls_.back().back()].insert(l);
                }
                if (isValid(log.qsos[q])) {
                    validByCall_.back()[calls_.back().back()].push_back(q);
                }
            }
            minutes_.emplace_back();
            for (const ContestQso& qso : log.qsos) {
                if (const auto minute = log.checkedMinute(qso)) {
                    minutes_.back().push_back(*minute);
                }
            }
            std::sort(minutes_.back().begin(), minutes_.back().end());
            match_.emplace_back(log.qsos.size());
            busted_.emplace_back(log.qsos.size());
            if (isChecked(l)) {
                checkedByCall_[ownCalls_[l]].push_back(l);
            }
        }
    }

    CrossCheck run() {
        matchQsos();
        findBustedCalls();
        CrossCheck result;
        result.windowMinutes = window_;
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            result.logs.push_back(findingsOf(l));
        }
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            for (const Finding& finding : result.logs[l].findings) {
                if ((finding.kind == FindingKind::NotInLog ||
                     finding.kind == FindingKind::BustedCall) &&
                    finding.partnerLog != l) {
                    ++result.logs[finding.partnerLog].causedFindings;
                }
            }
        }
        return result;
    }

  private:
    bool isChecked(std::size_t l) const { return logs_[l].takesPart() && !ownCalls_[l].empty(); }

    // The checked logs, other than `l`, whose own call is the call.
    const std::vector<std::size_t>& partnersFor(const std::string& call) const {
        static const std::vector<std::size_t> kNone;
        const auto found = checkedByCall_.find(call);
        return found == checkedByCall_.end() ? kNone : found->second;
    }

    // The valid QSOs of log `l` whose received call is the call.
    const std::vector<std::size_t>& validQsosWith(std::size_t l, const std::string& call) const {
        static const std::vector<std::size_t> kNone;
        const auto found = validByCall_[l].find(call);
        return found == validByCall_[l].end() ? kNone : found->second;
    }

    // The time between two QSOs of two logs, each log's clock offset taken off, when they are on
    // one band within the window.
    std::optional<std::int64_t> distanceWithinWindow(std::size_t la, std::size_t qa, std::size_t lb,
                                                     std::size_t qb) const {
        const ContestQso& a = logs_[la].qsos[qa];
        const ContestQso& b = logs_[lb].qsos[qb];
        const auto aMinute = logs_[la].checkedMinute(a);
        const auto bMinute = logs_[lb].checkedMinute(b);
        if (!aMinute || !bMinute || !sameBand(a.kHz, b.kHz)) {
            return std::nullopt;
        }
        const std::int64_t distance =
            *aMinute > *bMinute ? *aMinute - *bMinute : *bMinute - *aMinute;
        if (distance > window_) {
            return std::nullopt;
        }
        return distance;
    }

    // For every valid QSO q of a checked log a that `wanted(a, q)` accepts, the partner QSOs r of
    // the logs b whose own call q bears that `candidates(a, b)` lists, on one band within the
    // window, nearest in time first.
    template <typename Wanted, typename Candidates>
    std::vector<Pairing> pairings(Wanted wanted, Candidates candidates) const {
        std::vector<Pairing> found;
        for (std::size_t a = 0; a < logs_.size(); ++a) {
            if (!isChecked(a)) {
                continue;
            }
            for (std::size_t q = 0; q < logs_[a].qsos.size(); ++q) {
                if (!isValid(logs_[a].qsos[q]) || !wanted(a, q)) {
                    continue;
                }
                for (const std::size_t b : partnersFor(calls_[a][q])) {
                    if (b == a) {
                        continue;
                    }
                    for (const std::size_t r : candidates(a, b)) {
                        if (const auto distance = distanceWithinWindow(a, q, b, r)) {
                            found.push_back({*distance, a, q, b, r});
                        }
                    }
                }
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    // Every QSO pair whose calls agree, each QSO paired at most once, nearest in time first.
    void matchQsos() {
        const auto everyQso = [](std::size_t, std::size_t) { return true; };
        // The pair is seen from both logs; it is collected from the first.
        const std::vector<std::size_t> none;
        const auto loggedThisCall = [&](std::size_t a, std::size_t b) -> const auto& {
            return b > a ? validQsosWith(b, ownCalls_[a]) : none;
        };
        for (const Pairing& p : pairings(everyQso, loggedThisCall)) {
            if (!match_[p.log][p.qso] && !match_[p.partnerLog][p.partnerQso]) {
                match_[p.log][p.qso] = QsoRef{p.partnerLog, p.partnerQso};
                match_[p.partnerLog][p.partnerQso] = QsoRef{p.log, p.qso};
            }
        }
    }

    // Of the QSOs left unmatched: a QSO that bears the partner's own call, and a QSO of the
    // partner that bears this log's call with one character wrong. Seen from the QSO with the
    // right call, so each such pair is found once, whichever of the two logs was wrong.
    void findBustedCalls() {
        std::vector<std::vector<std::size_t>> unmatched(logs_.size());
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            for (std::size_t q = 0; q < logs_[l].qsos.size(); ++q) {
                if (isValid(logs_[l].qsos[q]) && !match_[l][q]) {
                    unmatched[l].push_back(q);
                }
            }
        }
        const auto isUnmatched = [this](std::size_t a, std::size_t q) { return !match_[a][q]; };
        std::vector<std::size_t> candidates;
        const auto wronglyLoggedThisCall = [&](std::size_t a,
                                               std::size_t b) -> const std::vector<std::size_t>& {
            candidates.clear();
            for (const std::size_t r : unmatched[b]) {
                if (differByOneEdit(calls_[b][r], ownCalls_[a])) {
                    candidates.push_back(r);
                }
            }
            return candidates;
        };
        for (const Pairing& p : pairings(isUnmatched, wronglyLoggedThisCall)) {
            if (!busted_[p.log][p.qso] && !busted_[p.partnerLog][p.partnerQso]) {
                busted_[p.log][p.qso] = BustedRef{{p.partnerLog, p.partnerQso}, false};
                busted_[p.partnerLog][p.partnerQso] = BustedRef{{p.log, p.qso}, true};
            }
        }
    }

    // A log of another session of the contest (another day) cannot confirm a QSO; only one that
    // holds a QSO within a day of it, or whose times cannot be read, can miss it.
    bool sameSession(std::size_t l, std::optional<std::int64_t> minute) const {
        constexpr std::int64_t kDay = 24 * 60;
        if (!minute) {
            return true;
        }
        const std::vector<std::int64_t>& minutes = minutes_[l];
        if (minutes.empty()) {
            return true;  // nothing tells the sessions apart
        }
        const auto next = std::lower_bound(minutes.begin(), minutes.end(), *minute - kDay);
        return next != minutes.end() && *next <= *minute + kDay;
    }

    // The match needed an adjustment for one log's systematic error.
    std::optional<AdjustedMatch> adjustment(std::size_t l, std::size_t q,
                                            const QsoRef& partner) const {
        const ContestQso& ours = logs_[l].qsos[q];
        const ContestQso& theirs = logs_[partner.log].qsos[partner.qso];
        AdjustedMatch adjusted{q, partner.log, partner.qso, false, false};
        if (ours.minute && theirs.minute) {
            const std::int64_t raw = *ours.minute - *theirs.minute;
            adjusted.clock = (raw > window_ || raw < -window_) &&
                             logs_[l].clockOffset != logs_[partner.log].clockOffset;
        }
        adjusted.designator =
            !sameCall(ours.call, fullCalls_[partner.log]) || !sameCall(theirs.call, fullCalls_[l]);
        if (!adjusted.clock && !adjusted.designator) {
            return std::nullopt;
        }
        return adjusted;
    }

    bool isUnique(const std::string& call, std::size_t l) const {
        if (!isCallSign(call) || knownCalls_.count(call) != 0) {
            return false;
        }
        const std::set<std::size_t>& holders = holders_.at(call);
        return std::all_of(holders.begin(), holders.end(),
                           [l](std::size_t holder) { return holder == l; });
    }

    LogCrossCheck findingsOf(std::size_t l) const {
        LogCrossCheck result;
        if (!isChecked(l)) {
            return result;
        }
        result.checked = true;
        const std::vector<ContestQso>& qsos = logs_[l].qsos;
        for (std::size_t q = 0; q < qsos.size(); ++q) {
            if (!isValid(qsos[q])) {
                continue;
            }
            ++result.validQsos;
            if (const auto& partner = match_[l][q]) {
                ++result.confirmed;
                if (const auto adjusted = adjustment(l, q, *partner)) {
                    result.adjusted.push_back(*adjusted);
                }
                const ContestQso& theirs = logs_[partner->log].qsos[partner->qso];
                if (theirs.sentExchange.empty()) {
                    ++result.unverifiable;
                } else if (qsos[q].exchange != theirs.sentExchange) {
                    result.findings.push_back(
                        {FindingKind::BustedExchange, q, partner->log, partner->qso});
                }
            } else if (const auto& busted = busted_[l][q]) {
                result.findings.push_back(
                    {busted->wrongHere ? FindingKind::WrongCall : FindingKind::BustedCall, q,
                     busted->partner.log, busted->partner.qso});
            } else if (const auto& partners = partnersFor(calls_[l][q]);
                       std::any_of(partners.begin(), partners.end(),
                                   [l](std::size_t partner) { return partner != l; })) {
                const auto minute = logs_[l].checkedMinute(qsos[q]);
                const auto partner =
                    std::find_if(partners.begin(), partners.end(),
                                 [&](std::size_t p) { return p != l && sameSession(p, minute); });
                if (partner != partners.end()) {
                    result.findings.push_back({FindingKind::NotInLog, q, *partner, {}});
                }
            } else if (isUnique(calls_[l][q], l)) {
                result.findings.push_back({FindingKind::Unique, q, 0, {}});
            }
        }
        std::stable_sort(result.findings.begin(), result.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.kind < b.kind; });
        return result;
    }

    const std::vector<ContestLog>& logs_;
    const int window_;
    std::vector<std::string> ownCalls_;            // their stations; empty when unknown
    std::vector<std::string> fullCalls_;           // as written, in capitals
    std::vector<std::vector<std::string>> calls_;  // the received calls, in capitals
    // Per log, its valid QSOs by received call.
    std::vector<std::unordered_map<std::string, std::vector<std::size_t>>> validByCall_;
    std::set<std::string> knownCalls_;  // the own calls of all logs, scored or not
    std::unordered_map<std::string, std::set<std::size_t>> holders_;  // who worked a call
    std::unordered_map<std::string, std::vector<std::size_t>> checkedByCall_;
    std::vector<std::vector<std::int64_t>> minutes_;  // per log, the minutes of its QSOs, sorted
    std::vector<std::vector<std::optional<QsoRef>>> match_;
    std::vector<std::vector<std::optional<BustedRef>>> busted_;
};

}  // namespace

int findingCount(const LogCrossCheck& log, FindingKind kind) {
    return static_cast<int>(std::count_if(log.findings.begin(), log.findings.end(),
                                          [kind](const Finding& f) { return f.kind == kind; }));
}

const char* findingKey(FindingKind kind) {
    switch (kind) {
        case FindingKind::NotInLog:
            return "not-in-log";
        case FindingKind::BustedCall:
            return "busted-call";
        case FindingKind::WrongCall:
            return "wrong-call";
        case FindingKind::BustedExchange:
            return "busted-exchange";
        case FindingKind::Unique:
            return "unique";
    }
    return "";
}

const char* findingHeading(FindingKind kind, Language language) {
    switch (kind) {
        case FindingKind::NotInLog:
            return tr(language, N_("Not in the partner's log"));
        case FindingKind::BustedCall:
            return tr(language, N_("The partner logged your call wrongly"));
        case FindingKind::WrongCall:
            return tr(language, N_("You logged the partner's call wrongly"));
        case FindingKind::BustedExchange:
            return tr(language, N_("Exchange received wrongly"));
        case FindingKind::Unique:
            return tr(language, N_("Unique calls"));
    }
    return "";
}

const char* findingColumnHeading(FindingKind kind, Language language) {
    switch (kind) {
        case FindingKind::NotInLog:
            return tr(language, N_("Not in log"));
        case FindingKind::BustedExchange:
            return tr(language, N_("Busted exchange"));
        case FindingKind::Unique:
            return tr(language, N_("Unique"));
        case FindingKind::BustedCall:
        case FindingKind::WrongCall:
            break;
    }
    return findingHeading(kind, language);
}

bool differByOneEdit(std::string_view first, std::string_view second) {
    if (first.size() < second.size()) {
        std::swap(first, second);
    }
    if (first.size() - second.size() > 1) {
        return false;
    }
    std::size_t head = 0;
    while (head < second.size() && first[head] == second[head]) {
        ++head;
    }
    if (first.size() == second.size()) {
        if (head == first.size()) {
            return false;
        }
        // One changed character: everything after it agrees.
        if (first.substr(head + 1) == second.substr(head + 1)) {
            return true;
        }
        // Two neighbours swapped ("IN3HFE" for "IN3FHE"), a slip as common as a changed one.
        return head + 1 < first.size() && first[head] == second[head + 1] &&
               first[head + 1] == second[head] && first.substr(head + 2) == second.substr(head + 2);
    }
    // One added character: dropping it from the longer text leaves the shorter.
    return first.substr(head + 1) == second.substr(head);
}

bool headerCallContradicted(const ContestLog& log) {
    return log.ownCall && log.sentCall && stationCall(*log.ownCall) != stationCall(*log.sentCall);
}

std::optional<std::string> crossCheckCall(const ContestLog& log) {
    if (headerCallContradicted(log)) {
        return log.sentCall;
    }
    return log.ownCall ? log.ownCall : log.sentCall;
}

std::string stationCall(std::string_view call) {
    // Most calls bear no slash: they are their station.
    if (call.find('/') == std::string_view::npos) {
        return inCapitals(call);
    }
    const auto isDesignator = [](std::string_view part) {
        if (part.size() == 1 && part[0] >= '0' && part[0] <= '9') {
            return true;
        }
        const std::string capitals = inCapitals(part);
        return capitals == "P" || capitals == "M" || capitals == "QRP" || capitals == "MM" ||
               capitals == "AM";
    };
    std::string_view rest = call;
    for (std::size_t slash = rest.rfind('/');
         slash != std::string_view::npos && isDesignator(rest.substr(slash + 1));
         slash = rest.rfind('/')) {
        rest = rest.substr(0, slash);
    }
    // Of what is left, a country prefix and the call: the call is the longer part.
    std::string_view longest;
    for (std::size_t start = 0; start <= rest.size();) {
        const std::size_t slash = std::min(rest.find('/', start), rest.size());
        const std::string_view part = rest.substr(start, slash - start);
        if (part.size() > longest.size()) {
            longest = part;
        }
        start = slash + 1;
    }
    return inCapitals(longest.empty() ? rest : longest);
}

std::string crossCheckName(const ContestLog& log) {
    return crossCheckCall(log).value_or(baseName(log.path));
}

bool removesQso(FindingKind kind) {
    return kind == FindingKind::NotInLog || kind == FindingKind::WrongCall ||
           kind == FindingKind::BustedExchange;
}

CrossCheck crossCheck(const std::vector<ContestLog>& logs, int windowMinutes) {
    return Checker(logs, windowMinutes).run();
}

}  // namespace zeb::contest
