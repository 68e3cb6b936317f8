#include "cli/log_json.h"

#include <algorithm>
#include <cstring>

#include "contest/check/cross_check.h"
#include "contest/intake/band_breakdown.h"
#include "platform/cp1250.h"

namespace zeb::cli {

using namespace zeb::contest;

namespace {

// A fixed-capacity text of the state, up to its terminator, as UTF-8.
template <std::size_t N>
std::string textOf(const char (&field)[N]) {
    return cp1250ToUtf8(std::string_view(field, strnlen(field, N)));
}

void writeMessages(JsonWriter& writer, const LogEvaluation& evaluation) {
    writer.key("messages").beginArray();
    for (const DialogMessage& message : evaluation.messages) {
        writer.beginObject();
        writer.key("kind").value(kindName(message.kind));
        writer.key("text").value(cp1250ToUtf8(message.text));
        writer.endObject();
    }
    writer.endArray();
}

void writeTotals(JsonWriter& writer, const EvaluationTotals& totals) {
    writer.key("totals").beginObject();
    writer.key("qsoTotal").value(totals.qsoTotal);
    writer.key("errorTotal").value(totals.errorTotal);
    writer.key("pointsTotal").value(totals.pointsTotal);
    writer.key("clubMultTotal").value(totals.clubMultTotal);
    writer.key("dxccMultTotal").value(totals.dxccMultTotal);
    writer.key("result").value(totals.result);
    writer.key("sameNumberCount").value(totals.sameNumberCount);
    writer.endObject();
}

void writeBands(JsonWriter& writer, const EvaluationState& state) {
    writer.key("bands").beginArray();
    for (const BandTotals& band : bandBreakdown(state)) {
        writer.beginObject();
        writer.key("band").value(bandName(band.bandRow));
        writer.key("qsos").value(band.qsos);
        writer.key("valid").value(band.valid);
        writer.key("points").value(band.points);
        writer.key("dxccMult").value(band.dxccMult);
        writer.endObject();
    }
    writer.endArray();
}

void writeQso(JsonWriter& writer, const QsoRecord& record) {
    const bool valid = record.status == kStatusValid;
    const auto scoreOrNull = [&](std::int32_t value) -> JsonWriter& {
        return valid ? writer.value(value) : writer.null();
    };
    writer.beginObject();
    writer.key("line").value(textOf(record.line));
    writer.key("freq").value(textOf(record.freqText));
    writer.key("call").value(textOf(record.callText));
    writer.key("exchange").value(textOf(record.exchText));
    writer.key("memberNumber").value(record.memberNumber);
    // A country that begins with a space was not found.
    writer.key("country").value(record.country[0] == ' ' ? std::string() : textOf(record.country));
    writer.key("status").value(record.status);
    writer.key("points");
    scoreOrNull(record.points);
    writer.key("clubMult");
    scoreOrNull(record.clubMult);
    writer.key("dxccMult");
    scoreOrNull(record.dxccMult);
    writer.key("sameNumberFlag").value(record.sameNumberFlag);
    writer.endObject();
}

void writeColumnCheck(JsonWriter& writer, const ColumnCheck& check) {
    writer.key("columnCheck").beginObject();
    writer.key("lines").value(std::int64_t{check.lines});
    writer.key("agreeing").value(std::int64_t{check.agreeing});
    writer.key("unread").value(std::int64_t{check.unread});
    writer.endObject();
}

void writeRepair(JsonWriter& writer, const RepairedLog& repaired) {
    writer.key("repair").beginObject();
    writer.key("copy");
    if (repaired.copy) {
        writer.value(*repaired.copy);
    } else {
        writer.null();
    }
    writer.key("qsoLines").value(std::int64_t{repaired.repair.qsoLines});
    writer.key("changes").beginArray();
    for (const RepairChange& change : repaired.repair.changes) {
        writer.beginObject();
        writer.key("line").value(std::int64_t{change.line});
        writer.key("text").value(cp1250ToUtf8(change.text));
        writer.endObject();
    }
    writer.endArray();
    writer.key("unreadLines").beginArray();
    for (const int line : repaired.repair.unreadLines) {
        writer.value(std::int64_t{line});
    }
    writer.endArray();
    writer.endObject();
}

}  // namespace

void writeLogJson(JsonWriter& writer, const LogEvaluation& evaluation,
                  const RepairedLog* repaired) {
    writer.beginObject();
    writer.key("log").value(evaluation.log);
    writer.key("outcome").value(outcomeName(evaluation.outcome));
    writeMessages(writer, evaluation);
    const bool loaded =
        evaluation.outcome == LogOutcome::Scored || evaluation.outcome == LogOutcome::Aborted;
    if (loaded && evaluation.state) {
        const EvaluationState& state = *evaluation.state;
        writer.key("ownCall").value(textOf(state.ownCall));
        writer.key("autoConfig").beginObject();
        writer.key("succeeded").value(evaluation.autoConfigSucceeded);
        writer.key("row").value(std::int64_t{evaluation.autoConfigRow});
        writer.endObject();
        writer.key("columns").beginObject();
        writer.key("callStart").value(state.columns.callStart);
        writer.key("callWidth").value(state.columns.callWidth);
        writer.key("exchStart").value(state.columns.exchStart);
        writer.key("exchWidth").value(state.columns.exchWidth);
        writer.endObject();
        if (evaluation.outcome == LogOutcome::Scored) {
            writeTotals(writer, state.totals);
            writeBands(writer, state);
            writer.key("qsos").beginArray();
            for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
                writeQso(writer, state.qsoTable.slots[i]);
            }
            writer.endArray();
            if (evaluation.columnCheck) {
                writeColumnCheck(writer, *evaluation.columnCheck);
            }
        }
    }
    if (repaired != nullptr) {
        writeRepair(writer, *repaired);
    }
    writer.endObject();
}

std::string withContestFields(std::string line, const std::vector<ContestLog>& logs, std::size_t l,
                              const CheckedContest& contest) {
    const ContestLog& log = logs[l];
    JsonWriter writer;
    writer.beginObject();
    if (log.checked) {
        writer.key("checked").beginObject();
        writer.key("removed").beginArray();
        for (const RemovedQso& removed : log.checked->removed) {
            writer.beginObject();
            writer.key("qso").value(std::int64_t{removed.number});
            writer.key("finding").value(removed.decided ? "decision" : findingKey(removed.finding));
            if (removed.decided) {
                writer.key("reason").value(removed.reason);
            }
            writer.endObject();
        }
        writer.endArray();
        writer.key("kept").beginArray();
        for (const KeptQso& kept : log.checked->kept) {
            writer.beginObject();
            writer.key("qso").value(std::int64_t{kept.number});
            writer.key("finding").value(findingKey(kept.finding));
            writer.key("reason").value(kept.reason);
            writer.endObject();
        }
        writer.endArray();
        writeTotals(writer, log.checked->totals);
        writer.endObject();
    }
    writer.key("claimedScore");
    if (log.claimedScore.empty()) {
        writer.null();
    } else {
        writer.value(log.claimedScore);
    }
    writer.key("checkLog").value(log.takesPart() && log.checkLog);
    writer.key("clockOffset").value(log.clockOffset);
    writer.key("setAside");
    if (!log.setAside) {
        writer.null();
    } else {
        static constexpr const char* kKinds[] = {"decision", "copy", "superseded"};
        writer.beginObject();
        writer.key("kind").value(kKinds[static_cast<int>(log.setAside->kind)]);
        writer.key("by");
        if (log.setAside->kind == SetAsideKind::Decision) {
            writer.null();
        } else {
            writer.value(logs[log.setAside->by].path);
        }
        writer.key("reason").value(log.setAside->reason);
        writer.endObject();
    }
    writer.key("decisions").beginArray();
    for (const AppliedDecision& applied : contest.decisions) {
        if (applied.logs.empty() || applied.logs.front() != l) {
            continue;
        }
        writer.beginObject();
        writer.key("decision").value(decisionKeyword(applied.decision.kind));
        writer.key("qso").value(applied.decision.qsoLine);
        writer.key("reason").value(applied.decision.reason);
        writer.key("applied").value(applied.applied);
        writer.key("effect").value(applied.effect);
        writer.endObject();
    }
    writer.endArray();
    writer.key("flags").beginArray();
    for (const LogFlag& flag : log.flags) {
        writer.beginObject();
        writer.key("code").value(flag.code);
        writer.key("text").value(flag.text);
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();
    // The members go on the object of the line, after its last one.
    const std::string& members = writer.text();
    if (!line.empty() && line.back() == '}') {
        line.pop_back();
        line += ',';
        line.append(members, 1, std::string::npos);
    }
    return line;
}

std::string logJsonLine(const LogEvaluation& evaluation, const RepairedLog* repaired) {
    JsonWriter writer;
    if (evaluation.state) {
        // About 250 bytes per QSO; one allocation instead of a dozen doublings.
        writer.reserve(1024 + 320 * static_cast<std::size_t>(
                                        std::max(evaluation.state->qsoTable.qsoCount, 0)));
    }
    writeLogJson(writer, evaluation, repaired);
    return std::move(writer).text();
}

}  // namespace zeb::cli
