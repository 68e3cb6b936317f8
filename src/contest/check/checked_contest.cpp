#include "contest/check/checked_contest.h"

#include <algorithm>

#include "contest/check/clocks.h"
#include "contest/check/contest_analysis.h"
#include "contest/check/stations.h"
#include "intake/load_command.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

// Why a log takes no part, in a few words.
std::string asideWords(const std::vector<ContestLog>& logs, const ContestLog& log) {
    switch (log.setAside->kind) {
        case SetAsideKind::Decision:
            return "je odložen";
        case SetAsideKind::Copy:
            return "je kopií deníku " + baseName(logs[log.setAside->by].path);
        case SetAsideKind::Superseded:
            return "je nahrazen deníkem " + baseName(logs[log.setAside->by].path);
    }
    return {};
}

// Applies the decisions in the order of the file: a later one on the same log or QSO is the one
// that stands.
class DecisionTaker {
  public:
    DecisionTaker(std::vector<ContestLog>& logs, const DecisionFile& file)
        : logs_(logs), decided_(logs.size()) {
        for (const Decision& decision : file.decisions) {
            AppliedDecision applied;
            applied.decision = decision;
            for (std::size_t l = 0; l < logs.size(); ++l) {
                if (baseName(logs[l].path) == decision.log) {
                    applied.logs.push_back(l);
                }
            }
            taken_.push_back(std::move(applied));
        }
    }

    // Set aside, check logs and the logs chosen to count: before the stations are settled.
    std::vector<std::size_t> takeLogDecisions() {
        for (ContestLog& log : logs_) {
            log.setAside.reset();
            log.checkLog = log.checkLogHeader;
        }
        std::vector<std::size_t> chosen;
        for (AppliedDecision& applied : taken_) {
            if (!named(applied) || applied.decision.aboutQso()) {
                continue;
            }
            for (const std::size_t l : applied.logs) {
                ContestLog& log = logs_[l];
                switch (applied.decision.kind) {
                    case DecisionKind::SetAside:
                        log.setAside =
                            SetAside{SetAsideKind::Decision, 0, false, applied.decision.reason};
                        break;
                    case DecisionKind::CheckLog:
                        log.checkLog = true;
                        break;
                    case DecisionKind::Counts:
                        chosen.push_back(l);
                        break;
                    default:
                        break;
                }
            }
        }
        return chosen;
    }

    // Once the stations are settled: what each decision on a log came to, and the decisions on
    // QSOs, per log, for the checked results.
    const std::vector<std::vector<QsoDecision>>& takeQsoDecisions(bool crossChecked) {
        for (AppliedDecision& applied : taken_) {
            if (!named(applied)) {
                continue;
            }
            const std::size_t l = applied.logs.front();
            const ContestLog& log = logs_[l];
            const Decision& decision = applied.decision;
            if (!decision.aboutQso()) {
                describeLogDecision(applied, log);
                continue;
            }
            if (log.setAside) {
                applied.effect =
                    "deník " + decision.log + " se nehodnotí: " + asideWords(logs_, log);
                continue;
            }
            if (log.checkLog) {
                applied.effect = "deník " + decision.log + " je kontrolní: nemá výsledek";
                continue;
            }
            applied.qsos = qsosOfLine(log, decision.qsoLine);
            if (applied.qsos.empty()) {
                applied.effect = "deník " + decision.log +
                                 " takový řádek QSO nemá (změnil se deník, nebo jeho kopie?)";
                continue;
            }
            if (!crossChecked) {
                applied.effect = "bez křížové kontroly se QSO neodečítají";
                continue;
            }
            auto& onLog = decided_[l];
            for (const int qso : applied.qsos) {
                // A later decision on the same QSO stands.
                onLog.erase(std::remove_if(onLog.begin(), onLog.end(),
                                           [qso](const QsoDecision& d) { return d.number == qso; }),
                            onLog.end());
                onLog.push_back({qso, decision.kind == DecisionKind::KeepQso, decision.reason});
            }
            applied.applied = true;
            applied.effect =
                std::string(decision.kind == DecisionKind::KeepQso ? "uznáno" : "vyřazeno") +
                " QSO, " + linesOf(log, applied.qsos);
        }
        for (auto& onLog : decided_) {
            std::sort(onLog.begin(), onLog.end(), [](const QsoDecision& a, const QsoDecision& b) {
                return a.number < b.number;
            });
        }
        return decided_;
    }

    // After the checked results: whether the QSOs kept were ones that a finding removes.
    std::vector<AppliedDecision> finish() {
        for (AppliedDecision& applied : taken_) {
            if (!applied.applied || applied.decision.kind != DecisionKind::KeepQso) {
                continue;
            }
            const ContestLog& log = logs_[applied.logs.front()];
            const bool overruled =
                log.checked &&
                std::any_of(
                    log.checked->kept.begin(), log.checked->kept.end(), [&](const KeptQso& kept) {
                        return std::find(applied.qsos.begin(), applied.qsos.end(), kept.number) !=
                               applied.qsos.end();
                    });
            if (!overruled) {
                applied.effect += " (křížová kontrola je nevyřazuje)";
            }
        }
        return std::move(taken_);
    }

  private:
    bool named(AppliedDecision& applied) {
        if (applied.logs.empty()) {
            applied.effect = "deník " + applied.decision.log + " mezi deníky soutěže není";
            return false;
        }
        if (logs_[applied.logs.front()].outcome != LogOutcome::Scored) {
            applied.effect = "deník " + applied.decision.log + " nebyl hodnocen";
            return false;
        }
        return true;
    }

    void describeLogDecision(AppliedDecision& applied, const ContestLog& log) {
        applied.applied = true;
        switch (applied.decision.kind) {
            case DecisionKind::SetAside:
                applied.effect = "deník odložen: nehodnotí se a křížová kontrola jej nepoužije";
                break;
            case DecisionKind::CheckLog:
                applied.effect = log.setAside
                                     ? "deník je odložen, kontrolním být nemůže"
                                     : "kontrolní deník: potvrzuje QSO ostatních, nehodnotí se";
                applied.applied = !log.setAside;
                break;
            case DecisionKind::Counts: {
                const bool others =
                    std::any_of(logs_.begin(), logs_.end(), [&](const ContestLog& other) {
                        return other.setAside && other.setAside->chosen &&
                               &logs_[other.setAside->by] == &log;
                    });
                if (log.setAside) {
                    applied.effect = "platí jiný deník téže stanice, vybraný dříve";
                    applied.applied = false;
                } else {
                    applied.effect = others ? "platí tento deník stanice; ostatní jsou nahrazeny"
                                            : "deník je jediný deník své stanice: nic se nemění";
                }
                break;
            }
            default:
                break;
        }
    }

    std::vector<ContestLog>& logs_;
    std::vector<AppliedDecision> taken_;
    std::vector<std::vector<QsoDecision>> decided_;
};

}  // namespace

std::vector<int> qsosOfLine(const ContestLog& log, const std::string& line) {
    std::vector<int> qsos;
    for (const ContestQso& qso : log.qsos) {
        if (sameQsoLine(qso.asSubmitted(), line) || sameQsoLine(qso.line, line)) {
            qsos.push_back(qso.number);
        }
    }
    return qsos;
}

std::optional<CheckedContest> checkContest(
    std::vector<ContestLog>& logs, const DecisionFile& decisions, bool withCrossCheck,
    int windowMinutes, const std::function<bool(std::size_t, std::size_t)>& progress) {
    CheckedContest checked;
    DecisionTaker taker(logs, decisions);
    const std::vector<std::size_t> chosen = taker.takeLogDecisions();
    // A log whose clock is off is taken at its partners' times: in their session, as one station
    // with its other logs, matching their QSOs.
    estimateClocks(logs, windowMinutes);
    settleStations(logs, chosen);
    const std::vector<std::vector<QsoDecision>>& decided = taker.takeQsoDecisions(withCrossCheck);
    if (withCrossCheck) {
        checked.crossCheck = crossCheck(logs, windowMinutes);
        if (!computeCheckedResults(logs, *checked.crossCheck, decided, progress)) {
            return std::nullopt;
        }
    }
    checked.summary =
        analyzeContest(logs, checked.crossCheck ? &*checked.crossCheck : nullptr, decided);
    checked.decisions = taker.finish();
    checked.decisionProblems = decisions.problems;
    return checked;
}

}  // namespace zeb::contest
