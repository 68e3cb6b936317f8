#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::cli {

// Appends the text as a JSON string: quotes, backslashes and control characters escaped, and every
// byte that is not part of well-formed UTF-8 replaced by U+FFFD, so that the output is valid JSON
// whatever bytes a path or a log holds.
void appendJsonString(std::string& out, std::string_view utf8);

// Writes compact JSON in the order the calls come (an object's keys keep their order) and places
// the commas.
class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view utf8);
    JsonWriter& value(const char* utf8) { return value(std::string_view(utf8)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(std::int32_t number) { return value(std::int64_t{number}); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    void reserve(std::size_t bytes) { out_.reserve(bytes); }
    const std::string& text() const& { return out_; }
    std::string text() && { return std::move(out_); }

  private:
    void beforeValue();

    std::string out_;
    std::vector<bool> hasMembers_;  // one entry per open object or array
    bool afterKey_ = false;
};

}  // namespace zeb::cli
