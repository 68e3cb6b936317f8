#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"

namespace zeb::contest {

// What the logs of a contest say of it as a whole.
struct ContestSummary {
    // The "CONTEST:" value that most logs of the session write (the logs of one evening write it
    // in many ways), and how many of them write it so; empty when none writes one.
    std::string name;
    int nameCount = 0;
    int sessionLogs = 0;  // the scored logs of the session
    // The first and the last day of the session, YYYY-MM-DD; empty when no date can be read.
    std::string firstDate;
    std::string lastDate;
};

// The evaluator's decision on one QSO of a log: kept, or taken off.
struct QsoDecision {
    int number = 0;  // as ContestQso::number
    bool keep = false;
    std::string reason;
};

// Finds the session of the contest (where most logs have their QSOs: the "CONTEST:" line cannot
// tell, as logs of one evening write it in many ways) and sets the flags of every log: the logs
// for the evaluator to look at, each with its reason in Czech. `check` is the cross-check of the
// logs when it ran; only then can a log be found to meet no other log.
// `decided` holds, per log, the evaluator's decisions on its QSOs, which a flag names.
ContestSummary analyzeContest(std::vector<ContestLog>& logs, const CrossCheck* check,
                              const std::vector<std::vector<QsoDecision>>& decided = {});

// The QSOs the cross-check takes off a log (see removesQso); an unverifiable exchange takes
// nothing off.
std::vector<RemovedQso> removedQsos(const LogCrossCheck& check, const ContestLog& log);

// Sets the checked result of every log that takes part and is no check log: the result of its
// file evaluated again as it was, without the removed QSOs: those the cross-check removes, but
// for the ones the evaluator kept, and those the evaluator removed (`decided`, per log). `progress`
// is told of each log as it is reached (from 1) and stops the work by answering false; the answer
// then is false.
bool computeCheckedResults(std::vector<ContestLog>& logs, const CrossCheck& check,
                           const std::vector<std::vector<QsoDecision>>& decided = {},
                           const std::function<bool(std::size_t, std::size_t)>& progress = {});

// A clock's offset in minutes as a reader writes it: "+60 min (1 hodina)", "−7 min",
// "+1440 min (1 den)".
std::string clockOffsetInWords(std::int64_t minutes);

// Line numbers as a reader writes them: "3, 7–9, 12"; past twelve runs, "... a další (celkem N)".
std::string lineList(std::vector<int> numbers);

// The QSOs numbered `qsoNumbers` as lines of the file the entrant submitted: "řádky 3, 7–9" or
// "řádek 3"; "QSO 4" where a line is not known (a copy changed by hand).
std::string linesOf(const ContestLog& log, const std::vector<int>& qsoNumbers);

}  // namespace zeb::contest
