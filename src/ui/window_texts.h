#pragma once

#include <QString>
#include <QTranslator>

namespace zeb {

// The texts of the program's own windows, written in English in their .ui files, in the user's
// language from the program's catalogue. The form TForm1 keeps its Czech texts, and Qt's own
// texts are left to Qt's catalogues.
class WindowTexts final : public QTranslator {
  public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Installs WindowTexts once useUserLanguage() took the language, before a window is made: its texts
// are set as it is made.
void useWindowTexts();

}  // namespace zeb
