#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "form/start_arguments.h"

namespace zeb {

struct CommandLine {
    StartRequest request = StartRequest::Window;
    std::optional<QString> log;  // the one log of the form
    QStringList contest;         // the folders and logs of the contest window; none: ask for one
    QString error;  // the usage error, without the program name, in the user's language
};

// zebcontest's arguments, the program's name first, read as readStartArguments reads them.
CommandLine readCommandLine(const QStringList& arguments);

}  // namespace zeb
