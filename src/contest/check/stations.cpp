#include "contest/check/stations.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "contest/check/cross_check.h"
#include "contest/check/sessions.h"
#include "contest/decisions/decisions.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"

namespace zeb::contest {

namespace {

bool isChosen(const std::vector<std::size_t>& chosen, std::size_t log) {
    return std::find(chosen.begin(), chosen.end(), log) != chosen.end();
}

// Received later: its file's time, then its name.
bool receivedBefore(const std::vector<ContestLog>& logs, std::size_t a, std::size_t b) {
    return std::make_tuple(logs[a].received, baseName(logs[a].path), a) <
           std::make_tuple(logs[b].received, baseName(logs[b].path), b);
}

}  // namespace

bool sameQsoLines(const ContestLog& first, const ContestLog& second) {
    return first.qsos.size() == second.qsos.size() &&
           std::equal(first.qsos.begin(), first.qsos.end(), second.qsos.begin(),
                      [](const ContestQso& a, const ContestQso& b) {
                          return sameQsoLine(a.asSubmitted(), b.asSubmitted());
                      });
}

std::vector<std::vector<std::size_t>> stationGroups(const std::vector<ContestLog>& logs) {
    const auto taken = [](const ContestLog& log) {
        return log.outcome == LogOutcome::Scored &&
               !(log.setAside && log.setAside->kind == SetAsideKind::Decision);
    };
    const ContestSessions sessions = findSessions(logs, taken);
    std::map<std::pair<std::size_t, std::string>, std::vector<std::size_t>> byStation;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const std::optional<std::string> call = crossCheckCall(logs[l]);
        if (!taken(logs[l]) || !call) {
            continue;
        }
        const std::size_t session = sessions.sessionOf(l).value_or(0);
        byStation[{session, stationCall(*call)}].push_back(l);
    }
    std::vector<std::vector<std::size_t>> groups;
    for (auto& [station, group] : byStation) {
        if (group.size() > 1) {
            groups.push_back(std::move(group));
        }
    }
    std::sort(groups.begin(), groups.end());
    return groups;
}

void settleStations(std::vector<ContestLog>& logs, const std::vector<std::size_t>& chosen) {
    for (const std::vector<std::size_t>& group : stationGroups(logs)) {
        // The logs of the same lines, each class led by the log that stands for it.
        std::vector<std::vector<std::size_t>> classes;
        for (const std::size_t l : group) {
            const auto same = std::find_if(classes.begin(), classes.end(), [&](const auto& c) {
                return sameQsoLines(logs[c.front()], logs[l]);
            });
            if (same == classes.end()) {
                classes.push_back({l});
            } else {
                same->push_back(l);
            }
        }
        for (std::vector<std::size_t>& members : classes) {
            const auto rank = [&](std::size_t l) {
                return std::make_tuple(!isChosen(chosen, l), !logs[l].copyEdited());
            };
            std::sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
                return rank(a) != rank(b) ? rank(a) < rank(b) : receivedBefore(logs, a, b);
            });
        }
        const auto newest = [&](const std::vector<std::size_t>& members) {
            return *std::max_element(
                members.begin(), members.end(),
                [&](std::size_t a, std::size_t b) { return receivedBefore(logs, a, b); });
        };
        const auto counting =
            std::max_element(classes.begin(), classes.end(), [&](const auto& a, const auto& b) {
                const bool aChosen = isChosen(chosen, a.front());
                const bool bChosen = isChosen(chosen, b.front());
                if (aChosen != bChosen) {
                    return bChosen;
                }
                return receivedBefore(logs, newest(a), newest(b));
            });
        const std::size_t counts = counting->front();
        const bool byChoice = isChosen(chosen, counts);
        for (const std::vector<std::size_t>& members : classes) {
            for (const std::size_t l : members) {
                if (l == counts) {
                    continue;
                }
                SetAside aside;
                aside.kind = &members == &*counting ? SetAsideKind::Copy : SetAsideKind::Superseded;
                aside.by = counts;
                aside.chosen = byChoice;
                logs[l].setAside = aside;
            }
        }
    }
}

}  // namespace zeb::contest
