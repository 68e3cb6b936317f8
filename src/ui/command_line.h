#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace zeb {

// The form (with a log or without), the contest window, or an answer without a window.
enum class StartRequest { Window, Contest, Help, Version, UsageError };

struct CommandLine {
    StartRequest request = StartRequest::Window;
    std::optional<QString> log;  // the one log of the form
    QStringList contest;         // the folders and logs of the contest window; none: ask for one
    QString error;  // the usage error, without the program name, in the user's language
};

// Reads zebcontest's arguments, the program's name first. --help and --version win wherever they
// stand before "--", so that they are found also among Qt's own options before Qt has taken
// those out; an unknown option is a usage error. One LOG opens the form; a FOLDER, more than one
// LOG, or --contest opens the contest window.
CommandLine readCommandLine(const QStringList& arguments);

// The text of --help, in the user's language.
std::string zebcontestHelp();

}  // namespace zeb
