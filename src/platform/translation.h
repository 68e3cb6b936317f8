#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zeb {

// The languages of the program's own messages: English, the language they are written in, and
// Czech, from the catalogue po/cs.po. The specified texts (the form's, its dialogs', the
// protocol's) are Czech whatever the language and never pass through the catalogue.
enum class Language { English, Czech };

// Marks a message for the catalogue where it is not translated at once (tables of messages).
#define N_(text) text

// Takes the user's language, once, at the start of a program: on Linux from the environment, as
// the C library's message catalogues take it (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), even when the
// system lacks the locale itself; on Windows from the user's display language, unless one of those
// variables names a language.
void useUserLanguage();

// The language that useUserLanguage took; English before it is called.
Language userLanguage();

// The message in the user's language; the English text itself where the catalogue has none.
const char* tr(const char* english);

// The message in the language given: the published pages and the entrant reports are Czech
// whatever the user's language.
const char* tr(Language language, const char* english);

// The text with "%1" to "%9" replaced by the arguments in turn.
std::string format(std::string_view text, std::initializer_list<std::string_view> arguments);

// The catalogue's domain and the folder of its message catalogues, for the tests.
inline constexpr const char* kTextDomain = "zeb-contest";

}  // namespace zeb
