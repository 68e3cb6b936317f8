#include "contest/workspace/contest_details.h"

#include <algorithm>
#include <map>

#include "contest/publish/contest_index.h"
#include "contest/publish/cross_check_report.h"
#include "contest/publish/results_table.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"

namespace zeb::contest {

namespace {

TextPiece plain(std::string text) {
    return {std::move(text)};
}

TextPiece strong(std::string text) {
    TextPiece piece{std::move(text)};
    piece.strong = true;
    return piece;
}

TextPiece code(std::string text) {
    TextPiece piece{std::move(text)};
    piece.code = true;
    return piece;
}

TextPiece toned(std::string text, Tone tone, bool isStrong = false) {
    TextPiece piece{std::move(text)};
    piece.tone = tone;
    piece.strong = isStrong;
    return piece;
}

std::string number(std::int64_t value) {
    return std::to_string(value);
}

void append(TextLine& line, TextLine more) {
    for (TextPiece& piece : more) {
        line.push_back(std::move(piece));
    }
}

TextBlock block(TextBlock::Kind kind, std::vector<TextLine> lines) {
    TextBlock made;
    made.kind = kind;
    made.lines = std::move(lines);
    return made;
}

TextBlock heading(TextBlock::Kind kind, std::string text) {
    return block(kind, {{plain(std::move(text))}});
}

TextBlock paragraph(TextLine line) {
    return block(TextBlock::Kind::Paragraph, {std::move(line)});
}

TextBlock list(std::vector<std::vector<TextLine>> items) {
    TextBlock made;
    made.kind = TextBlock::Kind::List;
    made.items = std::move(items);
    return made;
}

// "QSO 7 (line 12)": where a QSO stands in the file the entrant submitted.
std::string whereIs(const ContestQso& qso, Language language) {
    std::string text = "QSO " + number(qso.number);
    if (qso.submittedNumber > 0) {
        text += format(tr(language, " (line %1)"), {number(qso.submittedNumber)});
    }
    return text;
}

TextBlock resultsParagraph(const ContestLog& log, Language language) {
    TextLine line =
        formatPieces(tr(language, "Outcome: %1"), {strong(tr(language, outcomeName(log.outcome)))});
    if (log.outcome == LogOutcome::Scored) {
        append(line, formatPieces(
                         tr(language, ". QSOs: %1, errors: %2, result: %3"),
                         {plain(number(log.totals.qsoTotal)), plain(number(log.totals.errorTotal)),
                          strong(number(log.totals.result))}));
        if (log.checked) {
            append(line,
                   formatPieces(
                       tr(language, ", after the cross-check: %1 (QSOs removed: %2)"),
                       {strong(number(log.checked->totals.result)),
                        plain(number(static_cast<std::int64_t>(log.checked->removed.size())))}));
        }
    }
    line.push_back(plain("."));
    return paragraph(std::move(line));
}

TextBlock filesParagraph(const ContestLog& log, Language language) {
    std::vector<TextLine> lines = {{plain(format(tr(language, "Log: %1"), {log.path}))}};
    if (!log.evaluated.empty() && log.evaluated != log.path) {
        lines.push_back(
            {plain(format(tr(language, "Repaired copy evaluated: %1"), {log.evaluated}))});
    }
    if (log.settings.config) {
        lines.push_back(
            {plain(format(tr(language, "Column configuration: %1"), {*log.settings.config}))});
    }
    return block(TextBlock::Kind::Paragraph, std::move(lines));
}

void addFlags(DetailsText& text, const ContestLog& log, Language language) {
    text.push_back(heading(TextBlock::Kind::Heading, tr(language, "To look at")));
    if (log.flags.empty()) {
        text.push_back(paragraph({plain(tr(language, "Nothing to look at."))}));
        return;
    }
    std::vector<std::vector<TextLine>> items;
    // The reasons are the club's, in Czech whatever the language.
    for (const LogFlag& flag : log.flags) {
        items.push_back({{strong(flagPhrase(flag.code, language)), plain(": " + flag.text)}});
    }
    text.push_back(list(std::move(items)));
}

void addSetAside(DetailsText& text, const ContestWorkspace& contest, std::size_t l,
                 Language language) {
    const std::string why = setAsideText(contest.logs(), l, language);
    if (!why.empty()) {
        text.push_back(paragraph({strong(tr(language, "Not evaluated")), plain(": " + why + ".")}));
    }
}

void addDecisions(DetailsText& text, const ContestWorkspace& contest, std::size_t l,
                  Language language) {
    const std::vector<DecisionNote> notes = decisionNotes(contest.logs(), contest.checked(), l);
    if (notes.empty()) {
        return;
    }
    text.push_back(heading(TextBlock::Kind::Heading, tr(language, "The evaluator's decisions")));
    std::vector<std::vector<TextLine>> items;
    // A decision is told in the words of the decisions file, which are Czech.
    for (const DecisionNote& note : notes) {
        std::vector<TextLine> item = {{strong(note.what)}};
        if (!note.reason.empty()) {
            append(item.back(), formatPieces(tr(language, ", reason: %1"), {plain(note.reason)}));
        }
        if (!note.qsoLine.empty()) {
            item.push_back({code(note.qsoLine)});
        }
        item.push_back(
            {note.applies
                 ? plain(format(tr(language, "Effect: %1"), {note.effect}))
                 : toned(format(tr(language, "Does not apply: %1"), {note.effect}), Tone::Alert)});
        items.push_back(std::move(item));
    }
    text.push_back(list(std::move(items)));
}

void addFindings(DetailsText& text, const ContestWorkspace& contest, std::size_t l,
                 Language language) {
    const auto& check = contest.checked().crossCheck;
    if (!check || !check->logs[l].checked) {
        return;
    }
    const ContestLog& log = contest.logs()[l];
    const LogCrossCheck& result = check->logs[l];
    text.push_back(heading(TextBlock::Kind::Heading, tr(language, "Cross-check")));
    text.push_back(paragraph({plain(format(
        tr(language,
           "Valid QSOs: %1, confirmed: %2, with an unverifiable "
           "exchange: %3."),
        {number(result.validQsos), number(result.confirmed), number(result.unverifiable)}))}));
    if (result.findings.empty()) {
        text.push_back(paragraph({plain(tr(language, "No findings."))}));
        return;
    }
    for (const FindingKind kind : kFindingKinds) {
        std::vector<std::vector<TextLine>> items;
        for (const Finding& finding : result.findings) {
            if (finding.kind != kind) {
                continue;
            }
            const ContestQso& ours = log.qsos[finding.qso];
            std::vector<TextLine> item = {{plain(whereIs(ours, language) + ": " + ours.call)},
                                          {code(ours.asSubmitted())}};
            if (kind != FindingKind::Unique) {
                item.push_back(
                    {plain(format(tr(language, "partner %1"),
                                  {partnerNote(contest.logs(), log, finding, language)}))});
                if (finding.partnerQso) {
                    const ContestQso& theirs =
                        contest.logs()[finding.partnerLog].qsos[*finding.partnerQso];
                    item.push_back({code(theirs.asSubmitted())});
                } else {
                    item.back().push_back(plain(tr(language, ": the QSO is not in its log")));
                }
            }
            items.push_back(std::move(item));
        }
        if (!items.empty()) {
            text.push_back(heading(TextBlock::Kind::Subheading, findingHeading(kind, language)));
            text.push_back(list(std::move(items)));
        }
    }
}

void addRepair(DetailsText& text, const ContestLog& log, Language language) {
    if (!log.repaired) {
        return;
    }
    const auto said = [](std::string message) { return paragraph({plain(std::move(message))}); };
    text.push_back(heading(TextBlock::Kind::Heading, tr(language, "Repair of the log")));
    if (!log.repaired->copy) {
        text.push_back(
            said(tr(language,
                    "The repaired copy could not be written: the log is evaluated as it stands.")));
        return;
    }
    if (log.copyEdited()) {
        text.push_back(said(
            tr(language, "The repaired copy was changed by hand and is evaluated as it stands.")));
    } else if (log.copyKept()) {
        text.push_back(
            said(tr(language, "The repaired copy of before is evaluated as it stands.")));
    }
    const std::vector<RepairChange>& changes = log.repaired->repair.changes;
    if (changes.empty()) {
        text.push_back(said(tr(language, "The repair changed nothing.")));
        return;
    }
    std::vector<std::vector<TextLine>> items;
    const bool czech = language == Language::Czech;
    for (const RepairChange& change : changes) {
        items.push_back({{plain(
            format(tr(language, "line %1: %2"),
                   {number(change.line), czech ? change.czech : cp1250ToUtf8(change.text)}))}});
    }
    text.push_back(list(std::move(items)));
}

void addNotes(DetailsText& text, const ContestWorkspace& contest, std::size_t l,
              Language language) {
    const std::vector<std::string>& notes = contest.notes(l);
    if (notes.empty()) {
        return;
    }
    text.push_back(heading(TextBlock::Kind::Heading, tr(language, "Messages of the program")));
    std::vector<std::vector<TextLine>> items;
    for (const std::string& note : notes) {
        items.push_back({{plain(note)}});
    }
    text.push_back(list(std::move(items)));
}

}  // namespace

TextLine formatPieces(std::string_view message, std::initializer_list<TextPiece> arguments,
                      const TextPiece& rest) {
    TextLine line;
    std::string run;
    const auto flush = [&] {
        if (!run.empty()) {
            TextPiece piece = rest;
            piece.text = std::move(run);
            line.push_back(std::move(piece));
            run.clear();
        }
    };
    for (std::size_t i = 0; i < message.size(); ++i) {
        const char next = i + 1 < message.size() ? message[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (message[i] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
            flush();
            line.push_back(arguments.begin()[index]);
            ++i;
        } else {
            run += message[i];
        }
    }
    flush();
    return line;
}

DetailsText logDetails(const ContestWorkspace& contest, std::size_t l, Language language) {
    const ContestLog& log = contest.logs()[l];
    DetailsText text;
    text.push_back(
        heading(TextBlock::Kind::Title, callOrFileName(log) + " – " + baseName(log.path)));
    text.push_back(resultsParagraph(log, language));
    if (log.outcome != LogOutcome::Scored) {
        text.push_back(
            paragraph({plain(format(tr(language, "Why it was not scored: %1"), {log.reason}))}));
        if (!log.message.empty()) {
            text.push_back(paragraph(
                {plain(format(tr(language, "Message of the reader: “%1”"), {log.message}))}));
        }
    }
    addSetAside(text, contest, l, language);
    addDecisions(text, contest, l, language);
    addFlags(text, log, language);
    addFindings(text, contest, l, language);
    addRepair(text, log, language);
    text.push_back(filesParagraph(log, language));
    addNotes(text, contest, l, language);
    return text;
}

DetailsText otherFileDetails(const ContestWorkspace& contest, std::size_t other,
                             Language language) {
    const OtherFile& file = contest.others()[other];
    TextLine outcome = formatPieces(tr(language, "Outcome: %1"), {strong(tr(language, "no log"))});
    outcome.push_back(plain(". " + file.reason));
    return {heading(TextBlock::Kind::Title, baseName(file.path)), paragraph(std::move(outcome)),
            paragraph({plain(format(tr(language, "File: %1"), {file.path}))})};
}

std::vector<TextLine> contestSummary(const ContestWorkspace& contest, Language language) {
    const CheckedContest& checked = contest.checked();
    std::vector<TextLine> lines = {
        {strong(contestTitle(checked.summary, language))},
        {plain(contestFacts(contest.logs(), checked.summary,
                            checked.crossCheck ? &*checked.crossCheck : nullptr, language))}};
    for (const std::string& note : contest.folderNotes()) {
        lines.push_back({toned(note, Tone::Alert)});
    }
    for (const DecisionProblem& problem : checked.decisionProblems) {
        lines.push_back({toned("decisions.txt: " + decisionProblemText(problem), Tone::Alert)});
    }
    return lines;
}

QsoLinesText qsoLines(const ContestWorkspace& contest, std::size_t l,
                      std::optional<std::size_t> selected, Language language) {
    const ContestLog& log = contest.logs()[l];
    QsoLinesText text;
    if (log.qsos.empty()) {
        text.none = tr(language, "The log has no scored QSO lines.");
        return text;
    }
    // The findings beside their lines; those that take the QSO off the score in red, but for a
    // QSO the evaluator kept.
    std::map<std::size_t, const DecisionNote*> decided;
    const std::vector<DecisionNote> notes = decisionNotes(contest.logs(), contest.checked(), l);
    for (const DecisionNote& note : notes) {
        for (const std::size_t q : note.qsos) {
            decided[q] = &note;  // the last of the file stands
        }
    }
    const auto keptBy = [&](std::size_t q) {
        return log.checked && std::any_of(log.checked->kept.begin(), log.checked->kept.end(),
                                          [q](const KeptQso& kept) {
                                              return kept.number == static_cast<int>(q) + 1;
                                          });
    };
    std::map<std::size_t, std::string> removing;
    std::map<std::size_t, std::string> noting;
    const auto& check = contest.checked().crossCheck;
    if (check && check->logs[l].checked) {
        for (const Finding& finding : check->logs[l].findings) {
            std::string& said =
                (removesQso(finding.kind) && !keptBy(finding.qso) ? removing : noting)[finding.qso];
            said +=
                (said.empty() ? "" : ", ") + std::string(findingHeading(finding.kind, language));
        }
    }
    TextPiece call = strong(tr(language, "partner's call"));
    call.mark = LineMark::Call;
    TextPiece exchange = strong(tr(language, "received exchange"));
    exchange.mark = LineMark::Exchange;
    text.legend =
        formatPieces(tr(language,
                        "The QSO lines as the entrant sent them. The %1 and the %2 that were read; "
                        "after the arrow the findings (%3 those that remove the QSO) and the "
                        "evaluator's decisions."),
                     {call, exchange, toned(tr(language, "in red"), Tone::Alert)});
    for (std::size_t q = 0; q < log.qsos.size(); ++q) {
        const ContestQso& qso = log.qsos[q];
        QsoLineText line;
        line.qso = q;
        line.selected = selected == q;
        std::string at = qso.submittedNumber > 0 ? number(qso.submittedNumber) : std::string();
        at.insert(0, at.size() < 4 ? 4 - at.size() : 0, ' ');
        line.pieces.push_back(code((line.selected ? "▶" : " ") + at + "  "));
        for (const LinePiece& piece : markedLine(qso)) {
            TextPiece marked = code(piece.text);
            marked.mark = piece.mark;
            marked.strong = piece.mark != LineMark::None;
            line.pieces.push_back(std::move(marked));
        }
        if (const auto found = removing.find(q); found != removing.end()) {
            TextPiece said = toned("  ← " + found->second, Tone::Alert);
            said.code = true;
            line.pieces.push_back(std::move(said));
        }
        if (const auto found = noting.find(q); found != noting.end()) {
            TextPiece said = toned("  ← " + found->second, Tone::Quiet);
            said.code = true;
            line.pieces.push_back(std::move(said));
        }
        if (const auto found = decided.find(q); found != decided.end()) {
            const DecisionNote& note = *found->second;
            std::string mark = decisionName(note.kind);
            if (!note.reason.empty()) {
                mark += ": " + note.reason;
            }
            if (!note.applies) {
                mark += format(tr(language, " (does not apply: %1)"), {note.effect});
            }
            const Tone tone = !note.applies                        ? Tone::Quiet
                              : note.kind == DecisionKind::KeepQso ? Tone::Kept
                                                                   : Tone::Alert;
            TextPiece said = toned("  ← " + mark, tone, true);
            said.code = true;
            line.pieces.push_back(std::move(said));
        }
        text.lines.push_back(std::move(line));
    }
    return text;
}

std::string noQsoLinesOfOtherFile(Language language) {
    return tr(language, "The file is no log: it has no QSO lines.");
}

std::string qsoChoiceText(const ContestWorkspace& contest, std::size_t l,
                          std::optional<std::size_t> selected, Language language) {
    const ContestLog& log = contest.logs()[l];
    if (!decisionChoices(contest.logs(), contest.checked(), l).onQsos) {
        return log.qsos.empty() ? std::string()
                                : tr(language,
                                     "No decisions on the QSOs of this log: the log is not "
                                     "evaluated (set aside, a check log or superseded).");
    }
    if (!selected) {
        return tr(language, "Click the QSO line that you want to decide about.");
    }
    const ContestQso& qso = log.qsos[*selected];
    const std::string words = singleSpaced(qso.asSubmitted());
    return format(tr(language, "Line %1 selected: %2"),
                  {number(qso.submittedNumber > 0 ? qso.submittedNumber : qso.number), words});
}

}  // namespace zeb::contest
