#include "contest/column_check.h"

#include <cstring>
#include <string>

#include "contest/contest_log.h"

namespace zeb::contest {

int ColumnCheck::percent() const {
    return lines == 0 ? 100 : static_cast<int>(static_cast<long long>(agreeing) * 100 / lines);
}

bool ColumnCheck::poor() const {
    return static_cast<long long>(agreeing) * 10 < static_cast<long long>(lines) * 9;
}

ColumnCheck checkColumns(const EvaluationState& state, const std::vector<QsoLineReading>& fields) {
    ColumnCheck check;
    check.lines = state.qsoTable.qsoCount;
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (at >= fields.size() || !fields[at].fields) {
            ++check.unread;
            continue;
        }
        const QsoRecord& record = state.qsoTable.slots[i];
        const QsoFields& read = *fields[at].fields;
        if (read.receivedCall == record.callText &&
            read.receivedMember.scoredValue() == normalizedExchange(record.exchText)) {
            ++check.agreeing;
        }
    }
    return check;
}

}  // namespace zeb::contest
