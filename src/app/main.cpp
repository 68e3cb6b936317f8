#include <QApplication>
#include <exception>

#include "ui/qt_file_dialogs.h"
#include "ui/qt_platform.h"
#include "ui/tform1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zeb::useCzechQtTexts();
    try {
        zeb::QtPlatform platform;
        zeb::QtFileDialogs fileDialogs;
        zeb::TForm1 form(platform, fileDialogs);
        platform.setDialogParent(&form);
        form.show();
        form.openArguments(QApplication::arguments());
        QApplication::exec();
    } catch (const std::exception& error) {
        zeb::showExceptionBox(nullptr, error.what());
    } catch (...) {
        zeb::showExceptionBox(nullptr, "");
    }
    return 0;
}
