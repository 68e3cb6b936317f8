#include "ui/command_line.h"

namespace zeb {

CommandLine readCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool optionsEnded = false;
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
        } else if (isOption) {
            line.request = StartRequest::UsageError;
            line.error = QStringLiteral("unknown option '%1'").arg(argument);
        } else if (line.log) {
            line.request = StartRequest::UsageError;
            line.error = QStringLiteral("one LOG at a time, not also '%1'").arg(argument);
        } else {
            line.log = argument;
        }
    }
    return line;
}

const char* zebcontestHelp() {
    return R"(Usage: zebcontest [LOG]
       zebcontest --help | --version

Opens the window of the ZEB contest evaluation, with LOG loaded when it is
given: a contest log in Cabrillo format (*.cbr). In the window, load a log
("Načti deník"), check the received call and exchange that the program found on
the "Konfigurace" page, compute ("Výpočet") and save the result protocol
(*.prn, "ulož"). A column configuration is saved to and loaded from a *.ini
file of the evaluator's choice.

Options:
  -h, --help     show this help
      --version  show the version
  --             ends the options: a LOG whose name begins with "-" may follow

Qt's own options (-platform, -style, ...) are taken as well. zebscore(1) does
the same evaluation from the command line; see zebcontest(1).
)";
}

}  // namespace zeb
