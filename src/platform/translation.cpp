#include "platform/translation.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#ifdef _WIN32
#include <windows.h>
#else
#include <libintl.h>
#include <clocale>
#include <filesystem>
#endif

#include "platform/message_catalogue.h"

namespace zeb {

namespace {

Language theUserLanguage = Language::English;

std::uint32_t word(std::string_view bytes, std::size_t at, bool swapped) {
    if (at + 4 > bytes.size()) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[at + (swapped ? 3 - i : i)]);
        value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return value;
}

// The Czech messages by their English text, read from the compiled catalogue built into the
// program: a table of original strings and one of translations, each a length and an offset.
const std::unordered_map<std::string_view, const char*>& czechMessages() {
    static const std::unordered_map<std::string_view, const char*> messages = [] {
        std::unordered_map<std::string_view, const char*> read;
        const std::string_view mo = czechCatalogue();
        constexpr std::uint32_t kMagic = 0x950412de;
        const bool swapped = word(mo, 0, false) != kMagic;
        if (word(mo, 0, swapped) != kMagic) {
            return read;
        }
        const std::uint32_t count = word(mo, 8, swapped);
        const std::uint32_t originals = word(mo, 12, swapped);
        const std::uint32_t translations = word(mo, 16, swapped);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t idLength = word(mo, originals + 8 * i, swapped);
            const std::uint32_t idAt = word(mo, originals + 8 * i + 4, swapped);
            const std::uint32_t textLength = word(mo, translations + 8 * i, swapped);
            const std::uint32_t textAt = word(mo, translations + 8 * i + 4, swapped);
            // Each string ends with a zero byte within the catalogue.
            if (std::size_t{idAt} + idLength >= mo.size() ||
                std::size_t{textAt} + textLength >= mo.size() || idLength == 0) {
                continue;
            }
            read.emplace(mo.substr(idAt, idLength), mo.data() + textAt);
        }
        return read;
    }();
    return messages;
}

const char* czech(const char* english) {
    const auto& messages = czechMessages();
    const auto found = messages.find(english);
    return found == messages.end() ? english : found->second;
}

// The language that the first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set names: "cs"
// of "cs_CZ.UTF-8" or of "cs:en".
std::optional<std::string> languageFromEnvironment() {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string text(value);
        return text.substr(0, text.find_first_of("_.@:"));
    }
    return std::nullopt;
}

#ifndef _WIN32
// The folder of the message catalogues: beside the program as installed (BIN/../share/locale),
// else the build's own.
std::string localeFolder() {
    if (const char* folder = std::getenv("ZEB_LOCALEDIR"); folder != nullptr && *folder != '\0') {
        return folder;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path installed = program.parent_path().parent_path() / "share" / "locale";
        if (fs::exists(installed / "cs" / "LC_MESSAGES" / (std::string(kTextDomain) + ".mo"),
                       error)) {
            return installed.string();
        }
    }
    return ZEB_BUILD_LOCALEDIR;
}
#endif

}  // namespace

void useUserLanguage() {
    const std::optional<std::string> asked = languageFromEnvironment();
#ifdef _WIN32
    if (asked) {
        theUserLanguage = asked == "cs" ? Language::Czech : Language::English;
    } else {
        theUserLanguage = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CZECH
                              ? Language::Czech
                              : Language::English;
    }
#else
    // Only the messages' category: the evaluation reads bytes as the C locale does.
    const char* messages = std::setlocale(LC_MESSAGES, "");
    // The system lacks the locale asked for, or the locale is C, under which the C library reads
    // no catalogue whatever LANGUAGE says: the language asked is still wanted. The catalogues are
    // read under a locale that is there, with that language.
    const auto plain = [](std::string_view name) { return name == "C" || name == "POSIX"; };
    if ((messages == nullptr || plain(messages)) && asked && !plain(*asked)) {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        setenv("LANGUAGE", asked->c_str(), 0);
    }
    bindtextdomain(kTextDomain, localeFolder().c_str());
    bind_textdomain_codeset(kTextDomain, "UTF-8");
    // The catalogue's header, its translation of the empty text, names its language.
    const std::string header = dgettext(kTextDomain, "");
    theUserLanguage =
        header.find("Language: cs\n") != std::string::npos ? Language::Czech : Language::English;
#endif
}

Language userLanguage() {
    return theUserLanguage;
}

const char* tr(const char* english) {
#ifdef _WIN32
    return tr(theUserLanguage, english);
#else
    return theUserLanguage == Language::English ? english : dgettext(kTextDomain, english);
#endif
}

const char* tr(Language language, const char* english) {
    return language == Language::Czech ? czech(english) : english;
}

std::string format(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
            out += arguments.begin()[index];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace zeb
