#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <string>

namespace zeb::cli {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string json;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonStrings : public testing::TestWithParam<EscapeCase> {};

TEST_P(JsonStrings, AreEscapedAndValid) {
    std::string out;
    appendJsonString(out, GetParam().text);
    EXPECT_EQ(out, GetParam().json);

    // Whatever the bytes, the result reads back as a JSON string.
    const std::string document = "{\"s\":" + out + "}";
    QJsonParseError error{};
    const QJsonDocument parsed =
        QJsonDocument::fromJson(QByteArray::fromStdString(document), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << document;
    EXPECT_TRUE(parsed.object().value("s").isString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonStrings,
    testing::Values(
        EscapeCase{"plain_text", "OK1ABC", "\"OK1ABC\""},
        EscapeCase{"quote_and_backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
        EscapeCase{"line_feeds_of_a_message", "pro call \nna radku 1",
                   "\"pro call \\nna radku 1\""},
        EscapeCase{"the_short_escapes", "\b\f\r\t", "\"\\b\\f\\r\\t\""},
        EscapeCase{"other_control_characters", std::string("\x01\x1f\x0b", 3),
                   "\"\\u0001\\u001f\\u000b\""},
        EscapeCase{"delete_and_slash_stay", "\x7f/", "\"\x7f/\""},
        EscapeCase{"czech_letters_stay", "Nelze otevřít deník", "\"Nelze otevřít deník\""},
        EscapeCase{"four_byte_characters_stay", "\xF0\x9F\x93\xBB", "\"\xF0\x9F\x93\xBB\""},
        EscapeCase{"a_stray_byte_becomes_a_replacement", "a\x81z", "\"a\xEF\xBF\xBDz\""},
        EscapeCase{"a_cut_sequence_becomes_a_replacement", "a\xC5", "\"a\xEF\xBF\xBD\""},
        EscapeCase{"an_overlong_form_is_refused", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        EscapeCase{"a_surrogate_is_refused", "\xED\xA0\x80",
                   "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        EscapeCase{"beyond_the_last_code_point_is_refused", "\xF4\x90\x80\x80",
                   "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

TEST(JsonWriter, KeepsTheOrderOfTheKeysAndPlacesTheCommas) {
    JsonWriter writer;
    writer.beginObject();
    writer.key("z").value(std::int64_t{1});
    writer.key("a").beginArray();
    writer.beginObject().key("n").null().key("t").value(true).endObject();
    writer.beginObject().endObject();
    writer.value("x").value(std::int32_t{-2});
    writer.endArray();
    writer.key("empty").beginArray().endArray();
    writer.key("f").value(false);
    writer.endObject();
    EXPECT_EQ(writer.text(), R"({"z":1,"a":[{"n":null,"t":true},{},"x",-2],"empty":[],"f":false})");
}

}  // namespace
}  // namespace zeb::cli
