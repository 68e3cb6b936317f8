#include "win32/rich_text.h"

#include <richedit.h>

namespace zeb::win32 {

namespace {

using contest::LineMark;
using contest::TextBlock;
using contest::TextLine;
using contest::TextPiece;
using contest::Tone;

// The colour table's entries, from 1 (0 is the text's own colour).
enum Colour { kAlert = 1, kQuiet, kKept, kCall, kExchange, kSelected };

// ASCII only: every other character as its UTF-16 code, which the rich edit reads whatever the
// system's code page.
std::string escaped(const std::string& utf8) {
    std::string out;
    for (const wchar_t c : widen(utf8)) {
        if (c == L'\\' || c == L'{' || c == L'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == L'\n') {
            out += "\\line ";
        } else if (c == L'\t') {
            out += "\\tab ";
        } else if (c == L'\r') {
            continue;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "\\u" + std::to_string(static_cast<short>(c)) + "?";
        }
    }
    return out;
}

std::string start(const RichTextFonts& fonts) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 " +
           escaped(narrow(fonts.face)) + ";}{\\f1\\fmodern\\fcharset238 " +
           escaped(narrow(fonts.codeFace)) +
           ";}}{\\colortbl ;\\red176\\green0\\blue0;\\red96\\green96\\blue96;"
           "\\red0\\green96\\blue0;\\red191\\green220\\blue255;\\red255\\green217\\blue138;"
           "\\red226\\green226\\blue226;}\\uc1\\f0\\fs" +
           std::to_string(2 * fonts.points) + " ";
}

std::string pieceRtf(const TextPiece& piece) {
    std::string out = "{";
    if (piece.strong) {
        out += "\\b";
    }
    if (piece.code) {
        out += "\\f1";
    }
    switch (piece.tone) {
        case Tone::Alert:
            out += "\\cf" + std::to_string(kAlert);
            break;
        case Tone::Quiet:
            out += "\\cf" + std::to_string(kQuiet);
            break;
        case Tone::Kept:
            out += "\\cf" + std::to_string(kKept);
            break;
        case Tone::Normal:
            break;
    }
    switch (piece.mark) {
        case LineMark::Call:
            out += "\\highlight" + std::to_string(kCall);
            break;
        case LineMark::Exchange:
            out += "\\highlight" + std::to_string(kExchange);
            break;
        case LineMark::None:
            break;
    }
    // A blank ends the control words before the text, and only there is it no text of its own.
    return out + (out.size() > 1 ? " " : "") + escaped(piece.text) + "}";
}

std::string lineRtf(const TextLine& line) {
    std::string out;
    for (const TextPiece& piece : line) {
        out += pieceRtf(piece);
    }
    return out;
}

std::string linesRtf(const std::vector<TextLine>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += (i > 0 ? "\\line " : "") + lineRtf(lines[i]);
    }
    return out;
}

}  // namespace

std::string detailsRtf(const contest::DetailsText& details, const RichTextFonts& fonts) {
    const std::string size = "\\fs" + std::to_string(2 * fonts.points);
    std::string out = start(fonts);
    for (const TextBlock& block : details) {
        switch (block.kind) {
            case TextBlock::Kind::Title:
                out += "\\pard\\sa120\\b\\fs" + std::to_string(2 * fonts.points + 6) + " " +
                       linesRtf(block.lines) + "\\b0" + size + "\\par\n";
                break;
            case TextBlock::Kind::Heading:
                out += "\\pard\\sb120\\sa60\\b\\fs" + std::to_string(2 * fonts.points + 2) + " " +
                       linesRtf(block.lines) + "\\b0" + size + "\\par\n";
                break;
            case TextBlock::Kind::Subheading:
                out += "\\pard\\sb80\\sa40\\b\\i " + linesRtf(block.lines) + "\\b0\\i0\\par\n";
                break;
            case TextBlock::Kind::Paragraph:
                out += "\\pard\\sa80 " + linesRtf(block.lines) + "\\par\n";
                break;
            case TextBlock::Kind::List:
                for (const std::vector<TextLine>& item : block.items) {
                    out += "\\pard\\li360\\fi-240\\tx360\\sa60 \\u8226?\\tab " + linesRtf(item) +
                           "\\par\n";
                }
                break;
        }
    }
    return out + "}";
}

std::string summaryRtf(const std::vector<TextLine>& lines, const RichTextFonts& fonts) {
    return start(fonts) + "\\pard " + linesRtf(lines) + "\\par}";
}

std::string qsoLinesRtf(const contest::QsoLinesText& lines, const RichTextFonts& fonts) {
    if (lines.lines.empty()) {
        return plainRtf(lines.none, fonts);
    }
    std::string out = start(fonts) + "\\pard\\sa120 " + lineRtf(lines.legend) + "\\par\n";
    for (const contest::QsoLineText& line : lines.lines) {
        out += "\\pard\\f1 ";
        contest::TextLine pieces = line.pieces;
        // The fixed faces of the system lack the triangle that marks the line selected; the line
        // stands out on its grey ground anyway.
        if (line.selected && !pieces.empty() && pieces.front().text.rfind("▶", 0) == 0) {
            pieces.front().text.replace(0, std::string("▶").size(), ">");
        }
        if (line.selected) {
            out += "{\\highlight" + std::to_string(kSelected) + lineRtf(pieces) + "}";
        } else {
            out += lineRtf(pieces);
        }
        out += "\\par\n";
    }
    return out + "}";
}

std::string plainRtf(const std::string& text, const RichTextFonts& fonts) {
    return start(fonts) + "\\pard " + escaped(text) + "\\par}";
}

void setRichText(HWND edit, const std::string& rtf) {
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(rtf.c_str()));
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
}

}  // namespace zeb::win32
