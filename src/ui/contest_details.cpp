#include "ui/contest_details.h"

#include <QStringList>
#include <algorithm>
#include <map>

#include "contest/publish/contest_view.h"
#include "contest/publish/cross_check_report.h"
#include "contest/publish/results_table.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "platform/translation.h"

namespace zeb {

namespace {

using contest::ContestLog;
using contest::ContestQso;
using contest::Finding;

QString escaped(const std::string& utf8) {
    return QString::fromStdString(utf8).toHtmlEscaped();
}

// A message of the catalogue, as zeb::tr() gives it; the messages hold no markup.
QString said(const char* utf8) {
    return QString::fromUtf8(utf8).toHtmlEscaped();
}

QString bold(const QString& html) {
    return QStringLiteral("<b>%1</b>").arg(html);
}

QString number(std::int64_t value) {
    return QString::number(value);
}

// "QSO 7 (line 12)": where a QSO stands in the file the entrant submitted.
QString whereIs(const ContestQso& qso) {
    QString text = QStringLiteral("QSO %1").arg(qso.number);
    if (qso.submittedNumber > 0) {
        text += said(zeb::tr(" (line %1)")).arg(qso.submittedNumber);
    }
    return text;
}

// The line with its blanks, which line up its columns.
QString codeLine(const ContestQso& qso) {
    return QStringLiteral("<br><span style=\"font-family:monospace; white-space:pre\">%1</span>")
        .arg(escaped(qso.asSubmitted()));
}

QString resultsParagraph(const ContestLog& log) {
    QString text =
        said(zeb::tr("Outcome: %1")).arg(bold(said(zeb::tr(contest::outcomeName(log.outcome)))));
    if (log.outcome == contest::LogOutcome::Scored) {
        text += said(zeb::tr(". QSOs: %1, errors: %2, result: %3"))
                    .arg(number(log.totals.qsoTotal), number(log.totals.errorTotal),
                         bold(number(log.totals.result)));
        if (log.checked) {
            text += said(zeb::tr(", after the cross-check: %1 (QSOs removed: %2)"))
                        .arg(bold(number(log.checked->totals.result)),
                             number(static_cast<std::int64_t>(log.checked->removed.size())));
        }
    }
    return QStringLiteral("<p>%1.</p>").arg(text);
}

QString filesParagraph(const ContestLog& log) {
    QStringList lines = {said(zeb::tr("Log: %1")).arg(escaped(log.path))};
    if (!log.evaluated.empty() && log.evaluated != log.path) {
        lines.push_back(said(zeb::tr("Repaired copy evaluated: %1")).arg(escaped(log.evaluated)));
    }
    if (log.settings.config) {
        lines.push_back(
            said(zeb::tr("Column configuration: %1")).arg(escaped(*log.settings.config)));
    }
    return QStringLiteral("<p>%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

QString flagsSection(const ContestLog& log) {
    QString html = QStringLiteral("<h4>%1</h4>").arg(said(zeb::tr("To look at")));
    if (log.flags.empty()) {
        return html + QStringLiteral("<p>%1</p>").arg(said(zeb::tr("Nothing to look at.")));
    }
    html += QStringLiteral("<ul>");
    // The reasons are the club's, in Czech whatever the language.
    for (const contest::LogFlag& flag : log.flags) {
        html += QStringLiteral("<li>%1: %2</li>")
                    .arg(bold(said(contest::flagPhrase(flag.code, userLanguage()))),
                         escaped(flag.text));
    }
    return html + QStringLiteral("</ul>");
}

QString setAsideParagraph(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::string why = contest::setAsideText(contest.logs(), l, userLanguage());
    if (why.empty()) {
        return {};
    }
    return QStringLiteral("<p>%1: %2.</p>").arg(bold(said(zeb::tr("Not evaluated"))), escaped(why));
}

QString decisionsSection(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::vector<contest::DecisionNote> notes =
        contest::decisionNotes(contest.logs(), contest.checked(), l);
    if (notes.empty()) {
        return {};
    }
    QString html =
        QStringLiteral("<h4>%1</h4><ul>").arg(said(zeb::tr("The evaluator's decisions")));
    // A decision is told in the words of the decisions file, which are Czech.
    for (const contest::DecisionNote& note : notes) {
        html += QStringLiteral("<li>%1").arg(bold(escaped(note.what)));
        if (!note.reason.empty()) {
            html += said(zeb::tr(", reason: %1")).arg(escaped(note.reason));
        }
        if (!note.qsoLine.empty()) {
            html += QStringLiteral(
                        "<br><span style=\"font-family:monospace; white-space:pre\">%1</span>")
                        .arg(escaped(note.qsoLine));
        }
        html += note.applies
                    ? QStringLiteral("<br>") + said(zeb::tr("Effect: %1")).arg(escaped(note.effect))
                    : QStringLiteral("<br><span style=\"color:#b00000\">%1</span>")
                          .arg(said(zeb::tr("Does not apply: %1")).arg(escaped(note.effect)));
        html += QStringLiteral("</li>");
    }
    return html + QStringLiteral("</ul>");
}

QString findingsSection(const contest::ContestWorkspace& contest, std::size_t l) {
    const auto& check = contest.checked().crossCheck;
    if (!check || !check->logs[l].checked) {
        return {};
    }
    const ContestLog& log = contest.logs()[l];
    const std::vector<Finding>& findings = check->logs[l].findings;
    QString html = QStringLiteral("<h4>%1</h4>").arg(said(zeb::tr("Cross-check")));
    html += QStringLiteral("<p>%1</p>")
                .arg(said(zeb::tr("Valid QSOs: %1, confirmed: %2, with an unverifiable "
                                  "exchange: %3."))
                         .arg(check->logs[l].validQsos)
                         .arg(check->logs[l].confirmed)
                         .arg(check->logs[l].unverifiable));
    if (findings.empty()) {
        return html + QStringLiteral("<p>%1</p>").arg(said(zeb::tr("No findings.")));
    }
    for (const contest::FindingKind kind : contest::kFindingKinds) {
        QString items;
        for (const Finding& finding : findings) {
            if (finding.kind != kind) {
                continue;
            }
            const ContestQso& ours = log.qsos[finding.qso];
            items += QStringLiteral("<li>%1: %2%3")
                         .arg(whereIs(ours), escaped(ours.call), codeLine(ours));
            if (kind != contest::FindingKind::Unique) {
                items += QStringLiteral("<br>") +
                         said(zeb::tr("partner %1"))
                             .arg(escaped(contest::partnerNote(contest.logs(), log, finding,
                                                               userLanguage())));
                if (finding.partnerQso) {
                    const ContestQso& theirs =
                        contest.logs()[finding.partnerLog].qsos[*finding.partnerQso];
                    items += codeLine(theirs);
                } else {
                    items += said(zeb::tr(": the QSO is not in its log"));
                }
            }
            items += QStringLiteral("</li>");
        }
        if (!items.isEmpty()) {
            html += QStringLiteral("<h5>%1</h5><ul>%2</ul>")
                        .arg(said(contest::findingHeading(kind, userLanguage())), items);
        }
    }
    return html;
}

QString repairSection(const ContestLog& log) {
    if (!log.repaired) {
        return {};
    }
    const auto paragraph = [](const char* message) {
        return QStringLiteral("<p>%1</p>").arg(said(message));
    };
    QString html = QStringLiteral("<h4>%1</h4>").arg(said(zeb::tr("Repair of the log")));
    if (!log.repaired->copy) {
        return html + paragraph(zeb::tr(
                          "The repaired copy could not be written: the log is evaluated as it "
                          "stands."));
    }
    if (log.copyEdited()) {
        html += paragraph(
            zeb::tr("The repaired copy was changed by hand and is evaluated as it stands."));
    } else if (log.copyKept()) {
        html += paragraph(zeb::tr("The repaired copy of before is evaluated as it stands."));
    }
    const std::vector<contest::RepairChange>& changes = log.repaired->repair.changes;
    if (changes.empty()) {
        return html + paragraph(zeb::tr("The repair changed nothing."));
    }
    html += QStringLiteral("<ul>");
    const bool czech = userLanguage() == Language::Czech;
    for (const contest::RepairChange& change : changes) {
        html += QStringLiteral("<li>%1</li>")
                    .arg(said(zeb::tr("line %1: %2"))
                             .arg(change.line)
                             .arg(escaped(czech ? change.czech : cp1250ToUtf8(change.text))));
    }
    return html + QStringLiteral("</ul>");
}

QString notesSection(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::vector<std::string>& notes = contest.notes(l);
    if (notes.empty()) {
        return {};
    }
    QString html = QStringLiteral("<h4>%1</h4><ul>").arg(said(zeb::tr("Messages of the program")));
    for (const std::string& note : notes) {
        html += QStringLiteral("<li>%1</li>").arg(escaped(note));
    }
    return html + QStringLiteral("</ul>");
}

QString markedLineHtml(const ContestQso& qso) {
    QString html;
    for (const contest::LinePiece& piece : contest::markedLine(qso)) {
        switch (piece.mark) {
            case contest::LineMark::None:
                html += escaped(piece.text);
                break;
            case contest::LineMark::Call:
                html += QStringLiteral(
                            "<span style=\"background-color:#bfdcff; font-weight:bold\">%1</span>")
                            .arg(escaped(piece.text));
                break;
            case contest::LineMark::Exchange:
                html += QStringLiteral(
                            "<span style=\"background-color:#ffd98a; font-weight:bold\">%1</span>")
                            .arg(escaped(piece.text));
                break;
        }
    }
    return html;
}

}  // namespace

QString logDetailsHtml(const contest::ContestWorkspace& contest, std::size_t l) {
    const ContestLog& log = contest.logs()[l];
    QString html = QStringLiteral("<h3>%1 – %2</h3>")
                       .arg(escaped(contest::callOrFileName(log)), escaped(baseName(log.path)));
    html += resultsParagraph(log);
    if (log.outcome != contest::LogOutcome::Scored) {
        html += QStringLiteral("<p>%1</p>")
                    .arg(said(zeb::tr("Why it was not scored: %1")).arg(escaped(log.reason)));
        if (!log.message.empty()) {
            html +=
                QStringLiteral("<p>%1</p>")
                    .arg(said(zeb::tr("Message of the reader: “%1”")).arg(escaped(log.message)));
        }
    }
    html += setAsideParagraph(contest, l);
    html += decisionsSection(contest, l);
    html += flagsSection(log);
    html += findingsSection(contest, l);
    html += repairSection(log);
    html += filesParagraph(log);
    html += notesSection(contest, l);
    return html;
}

QString otherFileDetailsHtml(const contest::ContestWorkspace& contest, std::size_t other) {
    const contest::OtherFile& file = contest.others()[other];
    return QStringLiteral("<h3>%1</h3><p>%2. %3</p><p>%4</p>")
        .arg(escaped(baseName(file.path)),
             said(zeb::tr("Outcome: %1")).arg(bold(said(zeb::tr("no log")))), escaped(file.reason),
             said(zeb::tr("File: %1")).arg(escaped(file.path)));
}

QString qsoLinesHtml(const contest::ContestWorkspace& contest, std::size_t l,
                     std::optional<std::size_t> selected) {
    const ContestLog& log = contest.logs()[l];
    if (log.qsos.empty()) {
        return QStringLiteral("<p>%1</p>").arg(said(zeb::tr("The log has no scored QSO lines.")));
    }
    // The findings beside their lines; those that take the QSO off the score in red, but for a
    // QSO the evaluator kept.
    std::map<std::size_t, const contest::DecisionNote*> decided;
    const std::vector<contest::DecisionNote> notes =
        contest::decisionNotes(contest.logs(), contest.checked(), l);
    for (const contest::DecisionNote& note : notes) {
        for (const std::size_t q : note.qsos) {
            decided[q] = &note;  // the last of the file stands
        }
    }
    const auto keptBy = [&](std::size_t q) {
        return log.checked && std::any_of(log.checked->kept.begin(), log.checked->kept.end(),
                                          [q](const contest::KeptQso& kept) {
                                              return kept.number == static_cast<int>(q) + 1;
                                          });
    };
    std::map<std::size_t, QStringList> removing;
    std::map<std::size_t, QStringList> noting;
    const auto& check = contest.checked().crossCheck;
    if (check && check->logs[l].checked) {
        for (const Finding& finding : check->logs[l].findings) {
            (contest::removesQso(finding.kind) && !keptBy(finding.qso) ? removing
                                                                       : noting)[finding.qso]
                .push_back(
                    QString::fromUtf8(contest::findingHeading(finding.kind, userLanguage())));
        }
    }
    QString html =
        QStringLiteral("<p>%1</p><pre>")
            .arg(said(zeb::tr("The QSO lines as the entrant sent them. The %1 and the %2 that "
                              "were read; after the arrow the findings (%3 those that remove the "
                              "QSO) and the evaluator's decisions."))
                     .arg(QStringLiteral("<span style=\"background-color:#bfdcff; "
                                         "font-weight:bold\">%1</span>")
                              .arg(said(zeb::tr("partner's call"))),
                          QStringLiteral("<span style=\"background-color:#ffd98a; "
                                         "font-weight:bold\">%1</span>")
                              .arg(said(zeb::tr("received exchange"))),
                          QStringLiteral("<span style=\"color:#b00000\">%1</span>")
                              .arg(said(zeb::tr("in red")))));
    for (std::size_t q = 0; q < log.qsos.size(); ++q) {
        const ContestQso& qso = log.qsos[q];
        const bool isSelected = selected == q;
        QString line = (isSelected ? QStringLiteral("▶") : QStringLiteral(" ")) +
                       QStringLiteral("%1  ").arg(
                           qso.submittedNumber > 0 ? number(qso.submittedNumber) : QString(), 4);
        line += markedLineHtml(qso);
        if (const auto found = removing.find(q); found != removing.end()) {
            line += QStringLiteral("  <span style=\"color:#b00000\">← %1</span>")
                        .arg(found->second.join(QStringLiteral(", ")).toHtmlEscaped());
        }
        if (const auto found = noting.find(q); found != noting.end()) {
            line += QStringLiteral("  <span style=\"color:#606060\">← %1</span>")
                        .arg(found->second.join(QStringLiteral(", ")).toHtmlEscaped());
        }
        if (const auto found = decided.find(q); found != decided.end()) {
            const contest::DecisionNote& note = *found->second;
            QString mark = QString::fromUtf8(contest::decisionName(note.kind));
            if (!note.reason.empty()) {
                mark += QStringLiteral(": ") + QString::fromStdString(note.reason);
            }
            if (!note.applies) {
                mark += QString::fromUtf8(zeb::tr(" (does not apply: %1)"))
                            .arg(QString::fromStdString(note.effect));
            }
            const char* colour = !note.applies                                 ? "#606060"
                                 : note.kind == contest::DecisionKind::KeepQso ? "#006000"
                                                                               : "#b00000";
            line += QStringLiteral("  <span style=\"color:%1; font-weight:bold\">← %2</span>")
                        .arg(QLatin1String(colour), mark.toHtmlEscaped());
        }
        // The whole line is the link that selects it, in the colours of the text.
        html +=
            QStringLiteral(
                "<a href=\"qso:%1\" style=\"color:#000000; text-decoration:none%2\">%3</a>\n")
                .arg(QString::number(q),
                     isSelected ? QStringLiteral("; background-color:#e2e2e2") : QString(), line);
    }
    return html + QStringLiteral("</pre>");
}

std::optional<std::size_t> qsoOfLink(const QUrl& link) {
    if (link.scheme() != QLatin1String("qso")) {
        return std::nullopt;
    }
    bool isNumber = false;
    const qulonglong qso = link.path().toULongLong(&isNumber);
    return isNumber ? std::optional<std::size_t>(qso) : std::nullopt;
}

}  // namespace zeb
