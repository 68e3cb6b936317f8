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
    html += flagsSection(log);
    html += findingsSection(contest, l);
    html += repairSection(log);
    html += filesParagraph(log);
    html += notesSection(contest, l);
    return html;
}

QString qsoLinesHtml(const contest::ContestWorkspace& contest, std::size_t l) {
    const ContestLog& log = contest.logs()[l];
    if (log.qsos.empty()) {
        return QStringLiteral("<p>Deník nemá hodnocené řádky QSO.</p>");
    }
    // The findings beside their lines; those that take the QSO off the score in red.
    std::map<std::size_t, QStringList> removing;
    std::map<std::size_t, QStringList> noting;
    const auto& check = contest.checked().crossCheck;
    if (check && check->logs[l].checked) {
        for (const Finding& finding : check->logs[l].findings) {
            (contest::removesQso(finding.kind) ? removing : noting)[finding.qso].push_back(
                QString::fromUtf8(contest::findingHeading(finding.kind)));
        }
    }
    QString html = QStringLiteral(
        "<p>Řádky QSO, jak je účastník poslal. Přečtená <span style=\"background-color:#bfdcff; "
        "font-weight:bold\">značka protistanice</span> a <span "
        "style=\"background-color:#ffd98a; font-weight:bold\">přijatá výměna</span>; "
        "<span style=\"color:#b00000\">červeně</span> nálezy, které QSO vyřazují.</p><pre>");
    for (std::size_t q = 0; q < log.qsos.size(); ++q) {
        const ContestQso& qso = log.qsos[q];
        html += QStringLiteral("%1  ").arg(
            qso.submittedNumber > 0 ? number(qso.submittedNumber) : QString(), 4);
        html += markedLineHtml(qso);
        if (const auto found = removing.find(q); found != removing.end()) {
            html += QStringLiteral("  <span style=\"color:#b00000\">← %1</span>")
                        .arg(found->second.join(QStringLiteral(", ")).toHtmlEscaped());
        }
        if (const auto found = noting.find(q); found != noting.end()) {
            html += QStringLiteral("  <span style=\"color:#606060\">← %1</span>")
                        .arg(found->second.join(QStringLiteral(", ")).toHtmlEscaped());
        }
        html += QLatin1Char('\n');
    }
    return html + QStringLiteral("</pre>");
}

}  // namespace zeb
