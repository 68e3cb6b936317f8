#include "contest/publish/report_table.h"

#include <gtest/gtest.h>

#include <string>

namespace zeb::contest {
namespace {

TEST(ReportFormat, IsNamedByTheExtension) {
    EXPECT_EQ(reportFormatOf("r.csv"), ReportFormat::Csv);
    EXPECT_EQ(reportFormatOf("out/R.HTML"), ReportFormat::Html);
    EXPECT_EQ(reportFormatOf("a.b.Txt"), ReportFormat::Text);
    for (const char* path : {"r.htm", "r.pdf", "csv", "r.csv.bak", "", "r."}) {
        EXPECT_FALSE(reportFormatOf(path)) << path;
    }
}

TEST(Csv, QuotesOnlyWhatRfc4180Requires) {
    EXPECT_EQ(csvField("OK1ABC"), "OK1ABC");
    EXPECT_EQ(csvField("Na řádku č. 5"), "Na řádku č. 5");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(csvRecord({"1", "", "a,b"}), "1,,\"a,b\"\r\n");
    // What a log writes a spreadsheet must not run; numbers stay numbers.
    EXPECT_EQ(csvField("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(csvField("+1+1"), "'+1+1");
    EXPECT_EQ(csvField("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(csvField("-cmd"), "'-cmd");
    EXPECT_EQ(csvField("-12"), "-12");
}

TEST(Html, EscapesEveryMarkupCharacter) {
    EXPECT_EQ(htmlEscape("<b>&\"x\"'</b>"), "&lt;b&gt;&amp;&quot;x&quot;&#39;&lt;/b&gt;");
    Table table;
    table.columns = {{"Značka", "call", Align::Left}, {"Řádek", "line", Align::Left, true}};
    table.rows = {{"<OK1A>", "QSO: a & b"}};
    const std::string html = htmlTable(table, "x");
    EXPECT_NE(html.find("<td>&lt;OK1A&gt;</td><td><code>QSO: a &amp; b</code></td>"),
              std::string::npos)
        << html;
    const std::string page = htmlPage("A & B", html);
    EXPECT_NE(page.find("<title>A &amp; B</title>"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("@media print"), std::string::npos);
    // Self-contained: nothing is fetched.
    for (const char* external : {"<link", "src=", "@import", "url("}) {
        EXPECT_EQ(page.find(external), std::string::npos) << external;
    }
}

TEST(TextTable, AlignsByCharactersNotBytes) {
    Table table;
    table.columns = {{"Značka", "call", Align::Left},
                     {"Výsledek", "result", Align::Right},
                     {"Zpráva", "message", Align::Left}};
    table.rows = {{"OK1A", "5", "řádek"}, {"ŽŠČŘĎ", "12345", ""}};
    EXPECT_EQ(textTable(table, "  "),
              "  Značka  Výsledek  Zpráva\n"
              "  ------------------------\n"
              "  OK1A           5  řádek\n"
              "  ŽŠČŘĎ      12345\n");
    EXPECT_EQ(displayWidth("Násobiče"), 8u);
    EXPECT_EQ(displayWidth("\xff\xfe"), 2u);
}

}  // namespace
}  // namespace zeb::contest
