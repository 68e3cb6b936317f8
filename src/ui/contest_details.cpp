#include "ui/contest_details.h"

#include <QStringList>
#include <algorithm>
#include <map>

#include "contest/publish/contest_view.h"
#include "contest/publish/cross_check_report.h"
#include "intake/load_command.h"

namespace zeb {

namespace {

using contest::ContestLog;
using contest::ContestQso;
using contest::Finding;

QString escaped(const std::string& utf8) {
    return QString::fromStdString(utf8).toHtmlEscaped();
}

QString number(std::int64_t value) {
    return QString::number(value);
}

// "QSO 7 (řádek 12)": where a QSO stands in the file the entrant submitted.
QString whereIs(const ContestQso& qso) {
    QString text = QStringLiteral("QSO %1").arg(qso.number);
    if (qso.submittedNumber > 0) {
        text += QStringLiteral(" (řádek %1)").arg(qso.submittedNumber);
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
        QStringLiteral("Stav: <b>%1</b>").arg(escaped(contest::czechOutcomeName(log.outcome)));
    if (log.outcome == contest::LogOutcome::Scored) {
        text += QStringLiteral(". QSO: %1, chyb: %2, výsledek: <b>%3</b>")
                    .arg(number(log.totals.qsoTotal), number(log.totals.errorTotal),
                         number(log.totals.result));
        if (log.checked) {
            text += QStringLiteral(", po křížové kontrole: <b>%1</b> (vyřazeno QSO: %2)")
                        .arg(number(log.checked->totals.result),
                             number(static_cast<std::int64_t>(log.checked->removed.size())));
        }
    }
    return QStringLiteral("<p>%1.</p>").arg(text);
}

QString filesParagraph(const ContestLog& log) {
    QStringList lines = {QStringLiteral("Deník: ") + escaped(log.path)};
    if (!log.evaluated.empty() && log.evaluated != log.path) {
        lines.push_back(QStringLiteral("Hodnocená opravená kopie: ") + escaped(log.evaluated));
    }
    if (log.settings.config) {
        lines.push_back(QStringLiteral("Konfigurace sloupců: ") + escaped(*log.settings.config));
    }
    return QStringLiteral("<p>%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

QString flagsSection(const ContestLog& log) {
    QString html = QStringLiteral("<h4>Ke kontrole</h4>");
    if (log.flags.empty()) {
        return html + QStringLiteral("<p>Deník nemá nic ke kontrole.</p>");
    }
    html += QStringLiteral("<ul>");
    for (const contest::LogFlag& flag : log.flags) {
        html +=
            QStringLiteral("<li><b>%1</b>: %2</li>").arg(escaped(flag.code), escaped(flag.text));
    }
    return html + QStringLiteral("</ul>");
}

QString setAsideParagraph(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::string why = contest::setAsideText(contest.logs(), l);
    if (why.empty()) {
        return {};
    }
    return QStringLiteral("<p><b>Nehodnotí se</b>: %1.</p>").arg(escaped(why));
}

QString decisionsSection(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::vector<contest::DecisionNote> notes =
        contest::decisionNotes(contest.logs(), contest.checked(), l);
    if (notes.empty()) {
        return {};
    }
    QString html = QStringLiteral("<h4>Rozhodnutí vyhodnocovatele</h4><ul>");
    for (const contest::DecisionNote& note : notes) {
        html += QStringLiteral("<li><b>%1</b>").arg(escaped(note.what));
        if (!note.reason.empty()) {
            html += QStringLiteral(", důvod: %1").arg(escaped(note.reason));
        }
        if (!note.qsoLine.empty()) {
            html += QStringLiteral(
                        "<br><span style=\"font-family:monospace; white-space:pre\">%1</span>")
                        .arg(escaped(note.qsoLine));
        }
        html += note.applies ? QStringLiteral("<br>Účinek: %1").arg(escaped(note.effect))
                             : QStringLiteral(
                                   "<br><span style=\"color:#b00000\">Neplatí: "
                                   "%1</span>")
                                   .arg(escaped(note.effect));
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
    QString html = QStringLiteral("<h4>Křížová kontrola</h4>");
    html += QStringLiteral("<p>Platných QSO: %1, potvrzených: %2, s neověřitelnou výměnou: %3.</p>")
                .arg(check->logs[l].validQsos)
                .arg(check->logs[l].confirmed)
                .arg(check->logs[l].unverifiable);
    if (findings.empty()) {
        return html + QStringLiteral("<p>Bez nálezů.</p>");
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
                items += QStringLiteral("<br>protistanice ") +
                         escaped(contest::partnerNote(contest.logs(), log, finding));
                if (finding.partnerQso) {
                    const ContestQso& theirs =
                        contest.logs()[finding.partnerLog].qsos[*finding.partnerQso];
                    items += codeLine(theirs);
                } else {
                    items += QStringLiteral(": QSO v jejím deníku není");
                }
            }
            items += QStringLiteral("</li>");
        }
        if (!items.isEmpty()) {
            html += QStringLiteral("<h5>%1</h5><ul>%2</ul>")
                        .arg(QString::fromUtf8(contest::findingHeading(kind)), items);
        }
    }
    return html;
}

QString repairSection(const ContestLog& log) {
    if (!log.repaired) {
        return {};
    }
    QString html = QStringLiteral("<h4>Oprava deníku</h4>");
    if (!log.repaired->copy) {
        return html + QStringLiteral(
                          "<p>Opravenou kopii se nepodařilo zapsat: hodnocen je deník, jak "
                          "je.</p>");
    }
    if (log.copyEdited()) {
        html += QStringLiteral("<p>Opravená kopie byla změněna ručně a hodnotí se, jak je.</p>");
    } else if (log.copyKept()) {
        html += QStringLiteral("<p>Opravená kopie z dřívějška se hodnotí, jak je.</p>");
    }
    const std::vector<contest::RepairChange>& changes = log.repaired->repair.changes;
    if (changes.empty()) {
        return html + QStringLiteral("<p>Oprava nic neměnila.</p>");
    }
    html += QStringLiteral("<ul>");
    for (const contest::RepairChange& change : changes) {
        html += QStringLiteral("<li>řádek %1: %2</li>").arg(change.line).arg(escaped(change.czech));
    }
    return html + QStringLiteral("</ul>");
}

QString notesSection(const contest::ContestWorkspace& contest, std::size_t l) {
    const std::vector<std::string>& notes = contest.notes(l);
    if (notes.empty()) {
        return {};
    }
    QString html = QStringLiteral("<h4>Hlášení programu</h4><ul>");
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
        html += QStringLiteral("<p>Proč nebyl hodnocen: %1</p>").arg(escaped(log.reason));
        if (!log.message.empty()) {
            html += QStringLiteral("<p>Hlášení při čtení: „%1“</p>").arg(escaped(log.message));
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
    return QStringLiteral("<h3>%1</h3><p>Stav: <b>není deník</b>. %2</p><p>Soubor: %3</p>")
        .arg(escaped(baseName(file.path)), escaped(file.reason), escaped(file.path));
}

QString qsoLinesHtml(const contest::ContestWorkspace& contest, std::size_t l,
                     std::optional<std::size_t> selected) {
    const ContestLog& log = contest.logs()[l];
    if (log.qsos.empty()) {
        return QStringLiteral("<p>Deník nemá hodnocené řádky QSO.</p>");
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
                .push_back(QString::fromUtf8(contest::findingHeading(finding.kind)));
        }
    }
    QString html = QStringLiteral(
        "<p>Řádky QSO, jak je účastník poslal. Přečtená <span style=\"background-color:#bfdcff; "
        "font-weight:bold\">značka protistanice</span> a <span "
        "style=\"background-color:#ffd98a; font-weight:bold\">přijatá výměna</span>; "
        "za šipkou nálezy (<span style=\"color:#b00000\">červeně</span> ty, které QSO "
        "vyřazují) a rozhodnutí vyhodnocovatele.</p><pre>");
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
                mark += QStringLiteral(" (neplatí: %1)").arg(QString::fromStdString(note.effect));
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
