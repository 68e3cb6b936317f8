#include "cli/plain_answer.h"

#include "platform/translation.h"

namespace zeb::cli {

using namespace zeb::contest;

namespace {

// A line feed or an escape sequence in a file name would break the one line or the terminal.
std::string printable(const std::string& name) {
    std::string text = name;
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return text;
}

}  // namespace

std::string answerLine(const LogEvaluation& evaluation) {
    if (evaluation.outcome == LogOutcome::Scored && evaluation.state) {
        const EvaluationTotals& totals = evaluation.state->totals;
        return format(tr("%1: scored: QSOs %2, errors %3, points %4, ZEB multipliers %5, DXCC "
                         "multipliers %6, result %7"),
                      {printable(evaluation.log), std::to_string(totals.qsoTotal),
                       std::to_string(totals.errorTotal), std::to_string(totals.pointsTotal),
                       std::to_string(totals.clubMultTotal), std::to_string(totals.dxccMultTotal),
                       std::to_string(totals.result)});
    }
    return printable(evaluation.log) + ": " + tr(outcomeName(evaluation.outcome));
}

}  // namespace zeb::cli
