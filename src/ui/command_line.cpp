#include "ui/command_line.h"

#include <string>
#include <vector>

namespace zeb {

CommandLine readCommandLine(const QStringList& arguments) {
    std::vector<std::string> utf8;
    for (const QString& argument : arguments) {
        utf8.push_back(argument.toStdString());
    }
    const StartArguments start = readStartArguments(utf8);
    CommandLine line;
    line.request = start.request;
    line.error = QString::fromStdString(start.error);
    if (start.request == StartRequest::Window && !start.paths.empty()) {
        line.log = QString::fromStdString(start.paths.front());
    } else if (start.request == StartRequest::Contest) {
        for (const std::string& path : start.paths) {
            line.contest.push_back(QString::fromStdString(path));
        }
    }
    return line;
}

}  // namespace zeb
