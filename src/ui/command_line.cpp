#include "ui/command_line.h"

#include <QFileInfo>

#include "platform/translation.h"

namespace zeb {

CommandLine readCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    bool contest = false;
    QStringList paths;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.startsWith('-');
        if (isOption && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (isOption &&
                   (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            line.request = StartRequest::Help;
            return line;
        } else if (isOption && argument == QLatin1String("--version")) {
            line.request = StartRequest::Version;
            return line;
        } else if (line.request == StartRequest::UsageError) {
            continue;
        } else if (isOption && argument == QLatin1String("--contest")) {
            contest = true;
        } else if (isOption) {
            line.request = StartRequest::UsageError;
            line.error = QString::fromUtf8(tr("unknown option '%1'")).arg(argument);
        } else {
            paths.push_back(argument);
        }
    }
    if (line.request == StartRequest::UsageError) {
        return line;
    }
    if (contest || paths.size() > 1 || (paths.size() == 1 && QFileInfo(paths.front()).isDir())) {
        line.request = StartRequest::Contest;
        line.contest = paths;
    } else if (!paths.isEmpty()) {
        line.log = paths.front();
    }
    return line;
}

std::string zebcontestHelp() {
    // Each paragraph laid out as it is printed: the options' descriptions line up.
    static const char* const kParagraphs[] = {
        N_(R"(Usage: zebcontest [LOG]
       zebcontest FOLDER | LOG LOG...
       zebcontest --contest [FOLDER | LOG...]
       zebcontest --help | --version)"),
        N_(R"(Opens the window of the ZEB contest evaluation, with LOG loaded when it is
given: a contest log in Cabrillo format (*.cbr). In the window, load a log
("Načti deník"), check the received call and exchange that the program found on
the "Konfigurace" page, compute ("Výpočet") and save the result protocol
(*.prn, "ulož"). A column configuration is saved to and loaded from a *.ini
file of the evaluator's choice.)"),
        N_(R"(A FOLDER of logs (its *.cbr and *.log files), or more than one LOG, opens the
window of a whole contest instead: every log repaired into the output folder
(FOLDER/vyhodnoceni, changeable), scored and cross-checked, in one table with
the claimed and the checked results and the logs to look at. A double click
opens a log's repaired copy in the first window; "Save results" writes what
`zebscore --contest OUT --config-beside` writes. --contest without a FOLDER asks
for one.)"),
        N_(R"(Options:
      --contest  open the window of a whole contest
  -h, --help     show this help
      --version  show the version
  --             ends the options: a LOG whose name begins with "-" may follow)"),
        N_(R"(The window of a whole contest and these messages are in the language of the
environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): Czech or English;
LANGUAGE=en chooses English. The first window is Czech whatever the language.)"),
        N_(R"(Qt's own options (-platform, -style, ...) are taken as well. zebscore(1) does
the same evaluation from the command line; see zebcontest(1).)"),
    };
    std::string text;
    for (const char* paragraph : kParagraphs) {
        text += (text.empty() ? "" : "\n\n") + std::string(tr(paragraph));
    }
    return text + "\n";
}

}  // namespace zeb
