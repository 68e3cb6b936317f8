#include "ui/contest_details.h"

#include <QStringList>

namespace zeb {

namespace {

using contest::LineMark;
using contest::TextBlock;
using contest::TextLine;
using contest::TextPiece;
using contest::Tone;

QString escaped(const std::string& utf8) {
    return QString::fromStdString(utf8).toHtmlEscaped();
}

// `insideCode`: the piece stands in a <pre> already.
QString pieceHtml(const TextPiece& piece, bool insideCode = false) {
    QStringList style;
    if (piece.code && !insideCode) {
        style << QStringLiteral("font-family:monospace; white-space:pre");
    }
    switch (piece.mark) {
        case LineMark::Call:
            style << QStringLiteral("background-color:#bfdcff");
            break;
        case LineMark::Exchange:
            style << QStringLiteral("background-color:#ffd98a");
            break;
        case LineMark::None:
            break;
    }
    switch (piece.tone) {
        case Tone::Alert:
            style << QStringLiteral("color:#b00000");
            break;
        case Tone::Quiet:
            style << QStringLiteral("color:#606060");
            break;
        case Tone::Kept:
            style << QStringLiteral("color:#006000");
            break;
        case Tone::Normal:
            break;
    }
    QString html = escaped(piece.text);
    if (piece.strong) {
        html = QStringLiteral("<b>%1</b>").arg(html);
    }
    if (!style.isEmpty()) {
        html = QStringLiteral("<span style=\"%1\">%2</span>")
                   .arg(style.join(QStringLiteral("; ")), html);
    }
    return html;
}

QString lineHtml(const TextLine& line, bool insideCode = false) {
    QString html;
    for (const TextPiece& piece : line) {
        html += pieceHtml(piece, insideCode);
    }
    return html;
}

QString linesHtml(const std::vector<TextLine>& lines) {
    QStringList html;
    for (const TextLine& line : lines) {
        html.push_back(lineHtml(line));
    }
    return html.join(QStringLiteral("<br>"));
}

}  // namespace

QString detailsHtml(const contest::DetailsText& details) {
    QString html;
    for (const TextBlock& block : details) {
        switch (block.kind) {
            case TextBlock::Kind::Title:
                html += QStringLiteral("<h3>%1</h3>").arg(linesHtml(block.lines));
                break;
            case TextBlock::Kind::Heading:
                html += QStringLiteral("<h4>%1</h4>").arg(linesHtml(block.lines));
                break;
            case TextBlock::Kind::Subheading:
                html += QStringLiteral("<h5>%1</h5>").arg(linesHtml(block.lines));
                break;
            case TextBlock::Kind::Paragraph:
                html += QStringLiteral("<p>%1</p>").arg(linesHtml(block.lines));
                break;
            case TextBlock::Kind::List:
                html += QStringLiteral("<ul>");
                for (const std::vector<TextLine>& item : block.items) {
                    html += QStringLiteral("<li>%1</li>").arg(linesHtml(item));
                }
                html += QStringLiteral("</ul>");
                break;
        }
    }
    return html;
}

QString summaryHtml(const std::vector<contest::TextLine>& lines) {
    return linesHtml(lines);
}

QString qsoLinesHtml(const contest::QsoLinesText& lines) {
    if (lines.lines.empty()) {
        return QStringLiteral("<p>%1</p>").arg(escaped(lines.none));
    }
    QString html = QStringLiteral("<p>%1</p><pre>").arg(lineHtml(lines.legend));
    for (const contest::QsoLineText& line : lines.lines) {
        // The whole line is the link that selects it, in the colours of the text.
        html += QStringLiteral(
                    "<a href=\"qso:%1\" style=\"color:#000000; text-decoration:none%2\">%3</a>\n")
                    .arg(QString::number(line.qso),
                         line.selected ? QStringLiteral("; background-color:#e2e2e2") : QString(),
                         lineHtml(line.pieces, true));
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
