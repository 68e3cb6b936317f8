#include "ui/window_texts.h"

#include <QCoreApplication>
#include <cstring>

#include "platform/translation.h"

namespace zeb {

QString WindowTexts::translate(const char* context, const char* sourceText, const char*,
                               int) const {
    // The windows' contexts are their classes' names in the .ui files.
    static constexpr const char* kOwnWindows[] = {"ContestWindow"};
    if (context == nullptr || sourceText == nullptr || *sourceText == '\0' ||
        userLanguage() == Language::English) {
        return {};
    }
    for (const char* own : kOwnWindows) {
        if (std::strcmp(context, own) == 0) {
            return QString::fromUtf8(zeb::tr(sourceText));
        }
    }
    return {};
}

void useWindowTexts() {
    QCoreApplication::installTranslator(new WindowTexts(QCoreApplication::instance()));
}

}  // namespace zeb
