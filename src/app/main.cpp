#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "platform/translation.h"
#include "ui/command_line.h"
#include "ui/contest_window.h"
#include "ui/qt_file_dialogs.h"
#include "ui/qt_platform.h"
#include "ui/tform1.h"
#include "ui/window_texts.h"

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before any text is made; the form's texts are Czech whatever the language.
    zeb::useUserLanguage();
    // Answered before Qt starts, so that they need no display and open no window.
    switch (zeb::readCommandLine(argumentsOf(argc, argv)).request) {
        case zeb::StartRequest::Help:
            std::fputs(zeb::zebcontestHelp().c_str(), stdout);
            return 0;
        case zeb::StartRequest::Version:
            std::fputs("zebcontest " ZEB_VERSION "\n", stdout);
            return 0;
        default:
            break;
    }
    QApplication application(argc, argv);
    // Qt has taken its own options out of the arguments by now.
    const zeb::CommandLine line = zeb::readCommandLine(QApplication::arguments());
    if (line.request == zeb::StartRequest::UsageError) {
        std::fprintf(stderr, "zebcontest: %s\n%s\n", line.error.toLocal8Bit().constData(),
                     zeb::tr("Try 'zebcontest --help' for more information."));
        return 1;
    }
    // Lets a desktop match the window to zebcontest.desktop, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zebcontest"));
    zeb::useWindowTexts();
    // Qt's own texts (the buttons of the file and folder dialogs) as a system in the user's
    // language has them.
    if (zeb::userLanguage() == zeb::Language::Czech) {
        zeb::useCzechQtTexts();
    }
    try {
        zeb::QtPlatform platform;
        zeb::QtFileDialogs fileDialogs;
        zeb::TForm1 form(platform, fileDialogs);
        platform.setDialogParent(&form);
        zeb::QtFolderDialogs folderDialogs;
        zeb::QtClosingQuestion closingQuestion;
        zeb::QtReasonQuestion reasonQuestion;
        zeb::ContestWindow contest(folderDialogs, closingQuestion, reasonQuestion);
        contest.setWindowIcon(form.windowIcon());
        contest.setForm(&form);
        // The form on its own ends the program as it always has; beside the contest window it
        // closes and the evaluator is back there.
        platform.setEndHook([&contest](int) { return contest.closeFormInsteadOfEnding(); });
        const auto openContest = [&contest](const QStringList& paths) {
            contest.show();
            contest.raise();
            contest.activateWindow();
            contest.openPaths(paths);
        };
        form.setContestOpener(openContest);
        if (line.request == zeb::StartRequest::Contest) {
            contest.show();
            if (line.contest.isEmpty()) {
                // Once the window is up, so that the dialog stands over it.
                QTimer::singleShot(0, &contest, &zeb::ContestWindow::chooseLogsFolder);
            } else {
                contest.openPaths(line.contest);
            }
        } else {
            form.show();
            form.openArguments(QApplication::arguments());
        }
        QApplication::exec();
    } catch (const std::exception& error) {
        zeb::showExceptionBox(nullptr, error.what());
    } catch (...) {
        zeb::showExceptionBox(nullptr, "");
    }
    return 0;
}
