#include "cli/plain_answer.h"

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
    std::string line = printable(evaluation.log) + ": " + outcomeName(evaluation.outcome);
    if (evaluation.outcome == LogOutcome::Scored && evaluation.state) {
        const EvaluationTotals& totals = evaluation.state->totals;
        line += ": QSOs " + std::to_string(totals.qsoTotal) + ", errors " +
                std::to_string(totals.errorTotal) + ", points " +
                std::to_string(totals.pointsTotal) + ", ZEB multipliers " +
                std::to_string(totals.clubMultTotal) + ", DXCC multipliers " +
                std::to_string(totals.dxccMultTotal) + ", result " + std::to_string(totals.result);
    }
    return line;
}

}  // namespace zeb::cli
