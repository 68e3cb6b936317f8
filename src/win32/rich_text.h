#pragma once

#include <string>
#include <vector>

#include "contest/workspace/contest_details.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The contest layer's details as the rich text format that a rich edit reads: the headings larger
// and bold, lists with bullets, the lines of logs in a fixed face, the marks and tones in colours
// (those of the Qt window). `face` and `codeFace` name the fonts, `points` their size.
struct RichTextFonts {
    std::wstring face;
    std::wstring codeFace;
    int points = 9;
};

std::string detailsRtf(const contest::DetailsText& details, const RichTextFonts& fonts);
std::string summaryRtf(const std::vector<contest::TextLine>& lines, const RichTextFonts& fonts);
// Each line of the log on a line of its own, the selected one on a grey ground.
std::string qsoLinesRtf(const contest::QsoLinesText& lines, const RichTextFonts& fonts);
// A paragraph of plain text.
std::string plainRtf(const std::string& text, const RichTextFonts& fonts);

// Shows the text in the rich edit, from its top.
void setRichText(HWND edit, const std::string& rtf);

}  // namespace zeb::win32
