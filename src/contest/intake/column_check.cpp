#include "contest/intake/column_check.h"

#include <cstring>
#include <string>

#include "contest/intake/contest_log.h"

namespace zeb::contest {

int ColumnCheck::percent() const {
    return lines == 0 ? 100 : static_cast<int>(static_cast<long long>(agreeing) * 100 / lines);
}

bool ColumnCheck::poor() const {
    return static_cast<long long>(agreeing) * 10 < static_cast<long long>(lines) * 9;
}

ColumnCheck checkColumns(const EvaluationState& state, const std::vector<std::string_view>& lines,
                         std::string_view ownCall) {
    ColumnCheck check;
    check.lines = state.qsoTable.qsoCount;
    if (lines.size() != static_cast<std::size_t>(check.lines)) {
        check.unread = check.lines;
        return check;
    }
    check.unread = check.lines;
    std::vector<bool> agrees(lines.size());
    visitQsoLines(
        lines, ownCall,
        [&](std::size_t i, const QsoFields* read) {
            if (read == nullptr) {
                return;
            }
            --check.unread;
            const QsoRecord& record = state.qsoTable.slots[i];
            if (read->receivedCall == record.callText &&
                read->receivedMember.scoredValue() == normalizedExchange(record.exchText)) {
                ++check.agreeing;
                agrees[i] = true;
            }
        },
        true);
    if (check.poor()) {
        for (std::size_t i = 0; i < agrees.size(); ++i) {
            if (!agrees[i]) {
                check.disagreeing.push_back(static_cast<int>(i) + 1);
            }
        }
    }
    return check;
}

}  // namespace zeb::contest
