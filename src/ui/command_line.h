#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zeb {

enum class StartRequest { Window, Help, Version, UsageError };

struct CommandLine {
    StartRequest request = StartRequest::Window;
    std::optional<QString> log;
    QString error;  // the usage error, without the program name
};

// Reads zebcontest's arguments, the program's name first. --help and --version win wherever they
// stand before "--", so that they are found also among Qt's own options before Qt has taken
// those out; an unknown option or a second LOG is a usage error.
CommandLine readCommandLine(const QStringList& arguments);

// The text of --help.
const char* zebcontestHelp();

}  // namespace zeb
