#include "contest/check/clocks.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "contest/check/cross_check.h"
#include "scoring/band_plan.h"

namespace zeb::contest {

namespace {

constexpr std::int64_t kHour = 60;
// The offsets looked for: whole hours up to a day and an hour either way.
constexpr std::int64_t kFurthestHours = 25;
// The fewest agreeing QSOs that set an offset.
constexpr int kFewestAgreeing = 2;

struct Estimate {
    std::int64_t offset = 0;  // the log's times less its partners'
    int agreeing = 0;         // its QSOs that agree with their partners' with the offset
    int pairable = 0;         // its QSOs that pair up with a partner's
};

struct PairedQso {
    // Partner's time less this log's, for every QSO of a partner that pairs with it.
    std::vector<std::int64_t> differences;
};

class ClockEstimator {
  public:
    ClockEstimator(std::vector<ContestLog>& logs, int window) : logs_(logs), window_(window) {
        for (std::size_t l = 0; l < logs.size(); ++l) {
            const ContestLog& log = logs[l];
            stations_.emplace_back();
            worked_.emplace_back();
            if (!log.takesPart()) {
                continue;
            }
            if (const std::optional<std::string> call = crossCheckCall(log)) {
                stations_.back() = stationCall(*call);
                byStation_[stations_.back()].push_back(l);
            }
            for (std::size_t q = 0; q < log.qsos.size(); ++q) {
                const ContestQso& qso = log.qsos[q];
                if (qso.status == kStatusValid && qso.minute) {
                    worked_.back()[stationCall(qso.call)].push_back(q);
                }
            }
        }
    }

    // The log whose clock is off most clearly is set right first, and the others are measured
    // again against it: a log whose partners are mostly one log off would otherwise be set off
    // too (of two logs an hour apart, each looks an hour off to the other).
    void run() {
        for (ContestLog& log : logs_) {
            log.clockOffset = 0;
            log.clockAgreeing = 0;
            log.clockPairable = 0;
        }
        std::vector<bool> set(logs_.size(), false);
        for (;;) {
            std::optional<std::size_t> clearest;
            Estimate best;
            std::vector<Estimate> estimates(logs_.size());
            for (std::size_t l = 0; l < logs_.size(); ++l) {
                if (stations_[l].empty() || set[l]) {
                    continue;
                }
                estimates[l] = estimate(l);
                if (estimates[l].offset != 0 && estimates[l].agreeing > best.agreeing) {
                    clearest = l;
                    best = estimates[l];
                }
            }
            for (std::size_t l = 0; l < logs_.size(); ++l) {
                if (!set[l]) {
                    logs_[l].clockPairable = estimates[l].pairable;
                }
            }
            if (!clearest) {
                return;
            }
            set[*clearest] = true;
            logs_[*clearest].clockOffset = best.offset;
            logs_[*clearest].clockAgreeing = best.agreeing;
        }
    }

  private:
    // The valid QSOs of log `l` that worked the station, with a time.
    const std::vector<std::size_t>& workedBy(std::size_t l, const std::string& station) const {
        static const std::vector<std::size_t> kNone;
        const auto found = worked_[l].find(station);
        return found == worked_[l].end() ? kNone : found->second;
    }

    std::vector<PairedQso> paired(std::size_t l) const {
        std::vector<PairedQso> found;
        constexpr std::int64_t kFurthest = kFurthestHours * kHour;
        for (const auto& [station, qsos] : worked_[l]) {
            const auto partners = byStation_.find(station);
            if (partners == byStation_.end() || station == stations_[l]) {
                continue;
            }
            for (const std::size_t q : qsos) {
                const ContestQso& qso = logs_[l].qsos[q];
                PairedQso pair;
                for (const std::size_t p : partners->second) {
                    for (const std::size_t r : workedBy(p, stations_[l])) {
                        const ContestQso& theirs = logs_[p].qsos[r];
                        if (!sameBand(qso.kHz, theirs.kHz)) {
                            continue;
                        }
                        const std::int64_t difference =
                            *logs_[p].checkedMinute(theirs) - *qso.minute;
                        if (difference >= -kFurthest - window_ &&
                            difference <= kFurthest + window_) {
                            pair.differences.push_back(difference);
                        }
                    }
                }
                if (!pair.differences.empty()) {
                    found.push_back(std::move(pair));
                }
            }
        }
        return found;
    }

    // How many of the QSOs have a partner's within the window of the offset.
    int agreeing(const std::vector<PairedQso>& qsos, std::int64_t offset) const {
        return static_cast<int>(std::count_if(qsos.begin(), qsos.end(), [&](const PairedQso& q) {
            return std::any_of(q.differences.begin(), q.differences.end(), [&](std::int64_t d) {
                return d - offset <= window_ && offset - d <= window_;
            });
        }));
    }

    // For every whole hour from -kFurthestHours, how many of the QSOs agree with it: each QSO
    // counted once for every hour that one of its partners' QSOs lies within the window of.
    std::vector<int> agreeingByHour(const std::vector<PairedQso>& qsos) const {
        std::vector<int> counts(2 * kFurthestHours + 1, 0);
        std::vector<std::int64_t> hours;
        for (const PairedQso& q : qsos) {
            hours.clear();
            for (const std::int64_t d : q.differences) {
                // The hours h with |d - 60 h| <= window.
                const std::int64_t low = floorDivision(d - window_ + kHour - 1, kHour);
                const std::int64_t high = floorDivision(d + window_, kHour);
                for (std::int64_t h = std::max(low, -kFurthestHours);
                     h <= std::min(high, kFurthestHours); ++h) {
                    hours.push_back(h);
                }
            }
            std::sort(hours.begin(), hours.end());
            hours.erase(std::unique(hours.begin(), hours.end()), hours.end());
            for (const std::int64_t h : hours) {
                ++counts[static_cast<std::size_t>(h + kFurthestHours)];
            }
        }
        return counts;
    }

    static std::int64_t floorDivision(std::int64_t a, std::int64_t b) {
        return a >= 0 ? a / b : -((-a + b - 1) / b);
    }

    // The offset of the log's clock, or none when its times agree with its partners' or the
    // evidence is not clear.
    Estimate estimate(std::size_t l) const {
        const std::vector<PairedQso> qsos = paired(l);
        Estimate found;
        found.pairable = static_cast<int>(qsos.size());
        const std::vector<int> byHour = agreeingByHour(qsos);
        const int atZero = byHour[kFurthestHours];
        std::int64_t best = 0;
        int bestCount = atZero;
        for (std::int64_t hours = -kFurthestHours; hours <= kFurthestHours; ++hours) {
            const int count = byHour[static_cast<std::size_t>(hours + kFurthestHours)];
            // The nearer of two offsets that agree as well: no offset first.
            if (count > bestCount ||
                (count == bestCount && std::abs(hours * kHour) < std::abs(best))) {
                best = hours * kHour;
                bestCount = count;
            }
        }
        // Within its window, the median difference.
        std::vector<std::int64_t> nearest;
        for (const PairedQso& q : qsos) {
            const auto closest = std::min_element(
                q.differences.begin(), q.differences.end(), [&](std::int64_t a, std::int64_t b) {
                    return std::abs(a - best) < std::abs(b - best);
                });
            if (std::abs(*closest - best) <= window_) {
                nearest.push_back(*closest);
            }
        }
        if (nearest.empty()) {
            return found;
        }
        // Of two middle values, the one nearer the whole offset.
        std::sort(nearest.begin(), nearest.end());
        std::int64_t median = nearest[nearest.size() / 2];
        if (nearest.size() % 2 == 0 &&
            std::abs(nearest[nearest.size() / 2 - 1] - best) < std::abs(median - best)) {
            median = nearest[nearest.size() / 2 - 1];
        }
        const bool clear = bestCount >= kFewestAgreeing && 2 * bestCount > found.pairable;
        const bool beyondWindow = best != 0 && clear && bestCount > atZero;
        const bool withinWindow = best == 0 && clear && 2 * std::abs(median) >= window_;
        if (beyondWindow || withinWindow) {
            // The partners' times less this log's: the log's clock is off by the opposite.
            found.offset = -median;
            found.agreeing = agreeing(qsos, median);
        }
        return found;
    }

    std::vector<ContestLog>& logs_;
    const std::int64_t window_;
    std::vector<std::string> stations_;  // per log, its station; empty when it takes no part
    std::unordered_map<std::string, std::vector<std::size_t>> byStation_;
    // Per log, its valid QSOs with a time by the station they worked.
    std::vector<std::unordered_map<std::string, std::vector<std::size_t>>> worked_;
};

}  // namespace

void estimateClocks(std::vector<ContestLog>& logs, int windowMinutes) {
    ClockEstimator(logs, windowMinutes).run();
}

}  // namespace zeb::contest
