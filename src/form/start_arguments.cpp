#include "form/start_arguments.h"

#include <filesystem>
#include <iterator>

#include "platform/paths.h"
#include "platform/translation.h"

namespace zeb {

StartArguments readStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    bool optionsEnded = false;
    bool contest = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
        if (isOption && argument == "--") {
            optionsEnded = true;
        } else if (isOption && (argument == "-h" || argument == "--help")) {
            start.request = StartRequest::Help;
            return start;
        } else if (isOption && argument == "--version") {
            start.request = StartRequest::Version;
            return start;
        } else if (start.request == StartRequest::UsageError) {
            continue;
        } else if (isOption && argument == "--contest") {
            contest = true;
        } else if (isOption) {
            start.request = StartRequest::UsageError;
            start.error = format(tr("unknown option '%1'"), {argument});
        } else {
            start.paths.push_back(argument);
        }
    }
    if (start.request == StartRequest::UsageError) {
        start.paths.clear();
    } else if (contest || opensContest(start.paths)) {
        start.request = StartRequest::Contest;
    }
    return start;
}

bool opensContest(const std::vector<std::string>& paths) {
    std::error_code error;
    return paths.size() > 1 ||
           (paths.size() == 1 && std::filesystem::is_directory(pathFromUtf8(paths.front()), error));
}

std::string zebcontestHelp(bool toolkitOptions) {
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
    // The last paragraph tells of the toolkit's options and the manual pages.
    const std::size_t paragraphs = std::size(kParagraphs) - (toolkitOptions ? 0 : 1);
    for (std::size_t i = 0; i < paragraphs; ++i) {
        text += (text.empty() ? "" : "\n\n") + std::string(tr(kParagraphs[i]));
    }
    return text + "\n";
}

}  // namespace zeb
