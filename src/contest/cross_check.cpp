#include "contest/cross_check.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "scoring/band_plan.h"

namespace zeb::contest {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
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

class Checker {
  public:
    Checker(const std::vector<ContestLog>& logs, int windowMinutes)
        : logs_(logs), window_(windowMinutes) {
        for (std::size_t l = 0; l < logs.size(); ++l) {
            const ContestLog& log = logs[l];
            ownCalls_.push_back(log.ownCall ? upper(*log.ownCall) : std::string());
            if (log.ownCall) {
                knownCalls_.insert(ownCalls_.back());
            }
            calls_.emplace_back();
            for (const ContestQso& qso : log.qsos) {
                calls_.back().push_back(upper(qso.call));
                holders_[calls_.back().back()].insert(l);
            }
            match_.emplace_back(log.qsos.size());
            bustedBy_.emplace_back(log.qsos.size());
            claimed_.emplace_back(log.qsos.size(), false);
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
        return result;
    }

  private:
    bool isChecked(std::size_t l) const {
        return logs_[l].outcome == LogOutcome::Scored && !ownCalls_[l].empty();
    }

    // The checked logs, other than `l`, whose own call is the call.
    std::vector<std::size_t> partnersFor(const std::string& call, std::size_t l) const {
        std::vector<std::size_t> partners;
        const auto found = checkedByCall_.find(call);
        if (found != checkedByCall_.end()) {
            for (const std::size_t partner : found->second) {
                if (partner != l) {
                    partners.push_back(partner);
                }
            }
        }
        return partners;
    }

    std::optional<std::int64_t> distanceWithinWindow(const ContestQso& a,
                                                     const ContestQso& b) const {
        if (!a.minute || !b.minute || !sameBand(a.kHz, b.kHz)) {
            return std::nullopt;
        }
        const std::int64_t distance =
            *a.minute > *b.minute ? *a.minute - *b.minute : *b.minute - *a.minute;
        if (distance > window_) {
            return std::nullopt;
        }
        return distance;
    }

    // The pairs of a valid QSO q of a checked log a that `wanted(a, q)` accepts and a valid QSO r
    // of a partner's log b that `fits(a, b, r)` accepts, on one band within the window, nearest in
    // time first.
    template <typename Wanted, typename Fits>
    std::vector<Pairing> pairings(Wanted wanted, Fits fits) const {
        std::vector<Pairing> found;
        for (std::size_t a = 0; a < logs_.size(); ++a) {
            if (!isChecked(a)) {
                continue;
            }
            for (std::size_t q = 0; q < logs_[a].qsos.size(); ++q) {
                if (!isValid(logs_[a].qsos[q]) || !wanted(a, q)) {
                    continue;
                }
                for (const std::size_t b : partnersFor(calls_[a][q], a)) {
                    for (std::size_t r = 0; r < logs_[b].qsos.size(); ++r) {
                        if (!isValid(logs_[b].qsos[r]) || !fits(a, b, r)) {
                            continue;
                        }
                        if (const auto distance =
                                distanceWithinWindow(logs_[a].qsos[q], logs_[b].qsos[r])) {
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
        const auto loggedThisCall = [this](std::size_t a, std::size_t b, std::size_t r) {
            return b >= a && calls_[b][r] == ownCalls_[a];
        };
        for (const Pairing& p : pairings(everyQso, loggedThisCall)) {
            if (!match_[p.log][p.qso] && !match_[p.partnerLog][p.partnerQso]) {
                match_[p.log][p.qso] = QsoRef{p.partnerLog, p.partnerQso};
                match_[p.partnerLog][p.partnerQso] = QsoRef{p.log, p.qso};
            }
        }
    }

    // For every unmatched QSO, a QSO left unmatched in the partner's log that bears the own call
    // with one character wrong.
    void findBustedCalls() {
        const auto unmatched = [this](std::size_t a, std::size_t q) { return !match_[a][q]; };
        const auto bustedThisCall = [this](std::size_t a, std::size_t b, std::size_t r) {
            return !match_[b][r] && differByOneEdit(calls_[b][r], ownCalls_[a]);
        };
        for (const Pairing& p : pairings(unmatched, bustedThisCall)) {
            if (!bustedBy_[p.log][p.qso] && !claimed_[p.partnerLog][p.partnerQso]) {
                bustedBy_[p.log][p.qso] = QsoRef{p.partnerLog, p.partnerQso};
                claimed_[p.partnerLog][p.partnerQso] = true;
            }
        }
    }

    bool isUnique(const std::string& call, std::size_t l) const {
        if (call.empty() || knownCalls_.count(call) != 0) {
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
                const ContestQso& theirs = logs_[partner->log].qsos[partner->qso];
                if (normalizedExchange(qsos[q].exchange) !=
                    normalizedExchange(theirs.sentExchange)) {
                    result.findings.push_back(
                        {FindingKind::BustedExchange, q, partner->log, partner->qso});
                }
            } else if (const auto& busted = bustedBy_[l][q]) {
                result.findings.push_back({FindingKind::BustedCall, q, busted->log, busted->qso});
            } else if (const auto partners = partnersFor(calls_[l][q], l); !partners.empty()) {
                result.findings.push_back({FindingKind::NotInLog, q, partners.front(), {}});
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
    std::vector<std::string> ownCalls_;            // in capitals; empty without a "CALLSIGN:" line
    std::vector<std::vector<std::string>> calls_;  // the received calls, in capitals
    std::set<std::string> knownCalls_;             // the own calls of all logs, scored or not
    std::map<std::string, std::set<std::size_t>> holders_;  // the logs in which a call was worked
    std::map<std::string, std::vector<std::size_t>> checkedByCall_;
    std::vector<std::vector<std::optional<QsoRef>>> match_;
    std::vector<std::vector<std::optional<QsoRef>>> bustedBy_;  // the partner's QSO with a bad call
    std::vector<std::vector<bool>> claimed_;  // a partner's QSO taken for a busted call
};

}  // namespace

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
        // One changed character: everything after it agrees.
        return head < first.size() && first.substr(head + 1) == second.substr(head + 1);
    }
    // One added character: dropping it from the longer text leaves the shorter.
    return first.substr(head + 1) == second.substr(head);
}

CrossCheck crossCheck(const std::vector<ContestLog>& logs, int windowMinutes) {
    return Checker(logs, windowMinutes).run();
}

}  // namespace zeb::contest
