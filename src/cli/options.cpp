#include "cli/options.h"

#include <string_view>

namespace zeb::cli {

namespace {

enum class Id {
    Config,
    CallStart,
    ExchStart,
    Only80m,
    UnknownPrefix,
    Output,
    OutputDir,
    Force,
    Json,
    Help,
    Version,
};

struct OptionSpec {
    std::string_view shortName;  // empty when there is none
    std::string_view longName;
    Id id;
    bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"-c", "--config", Id::Config, true},
    {"", "--call-start", Id::CallStart, true},
    {"", "--exch-start", Id::ExchStart, true},
    {"", "--only-80m", Id::Only80m, false},
    {"", "--unknown-prefix", Id::UnknownPrefix, true},
    {"-o", "--output", Id::Output, true},
    {"", "--output-dir", Id::OutputDir, true},
    {"", "--force", Id::Force, false},
    {"", "--json", Id::Json, false},
    {"-h", "--help", Id::Help, false},
    {"", "--version", Id::Version, false},
};

const OptionSpec* findOption(std::string_view name) {
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.longName || (!spec.shortName.empty() && name == spec.shortName)) {
            return &spec;
        }
    }
    return nullptr;
}

ParseResult usageError(std::string message) {
    ParseResult result;
    result.status = ParseStatus::UsageError;
    result.error = std::move(message);
    return result;
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult result;
    Options& options = result.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.logs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> attached;
        if (arg.rfind("--", 0) == 0) {
            const std::size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                name = arg.substr(0, equals);
                attached = arg.substr(equals + 1);
            }
        }
        const OptionSpec* spec = findOption(name);
        if (spec == nullptr) {
            return usageError("unknown option '" + name + "'");
        }
        std::string value;
        if (spec->takesValue) {
            if (attached) {
                value = *attached;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            if (value.empty()) {
                return usageError("option '" + name + "' needs a value");
            }
        } else if (attached) {
            return usageError("option '" + name + "' takes no value");
        }
        switch (spec->id) {
            case Id::Config:
                options.evaluation.config = value;
                break;
            case Id::CallStart:
                options.evaluation.callStart = value;
                break;
            case Id::ExchStart:
                options.evaluation.exchStart = value;
                break;
            case Id::Only80m:
                options.evaluation.only80m = true;
                break;
            case Id::UnknownPrefix:
                if (value == "ignore") {
                    options.evaluation.unknownPrefix = UnknownPrefixAnswer::Ignore;
                } else if (value == "abort") {
                    options.evaluation.unknownPrefix = UnknownPrefixAnswer::Abort;
                } else {
                    return usageError("option '" + name + "' takes 'ignore' or 'abort', not '" +
                                      value + "'");
                }
                break;
            case Id::Output:
                options.output = value;
                break;
            case Id::OutputDir:
                options.outputDir = value;
                break;
            case Id::Force:
                options.force = true;
                break;
            case Id::Json:
                options.json = true;
                break;
            case Id::Help:
                result.status = ParseStatus::Help;
                return result;
            case Id::Version:
                result.status = ParseStatus::Version;
                return result;
        }
    }
    if (options.logs.empty()) {
        return usageError("no LOG given");
    }
    if (options.output && options.outputDir) {
        return usageError("'--output' and '--output-dir' exclude each other");
    }
    if (options.output && options.logs.size() > 1) {
        return usageError("'--output' takes the protocol of a single LOG");
    }
    if (options.output && *options.output == "-" && options.json) {
        return usageError("'--output -' and '--json' would both write to standard output");
    }
    return result;
}

std::string usageText() {
    return R"(Usage: zebscore [OPTIONS] LOG [LOG...]

Evaluates ZEB contest logs in Cabrillo format as the zebcontest window does: loads each LOG,
finds its columns, applies the column options, computes the score and, if asked, writes the
result protocol. Every message the window would show is printed on standard error as
"zebscore: LOG: KIND: TEXT".

Options:
  -c, --config FILE          load a column configuration file after the column finding
      --call-start N         then type N into the call start edit
      --exch-start N         then type N into the exchange start edit
      --only-80m             as ticking "Jen 80 m"
      --unknown-prefix ANSWER
                             answer to every "prefix not found" question: ignore (default)
                             or abort
  -o, --output FILE          write the protocol of the single LOG to FILE ("-": standard
                             output)
      --output-dir DIR       write the protocol of every LOG to DIR/NAME.prn
      --force                allow replacing an existing protocol file
      --json                 print one JSON object per LOG on standard output (JSON Lines)
  -h, --help                 show this help
      --version              show the version

A value follows its option as the next argument or after "=" (--config=FILE); a repeated
option keeps its last value; "--" ends the options.

Exit status: 0 every LOG scored; 1 usage error, or a file that could not be read or written;
2 a LOG refused by the reader's rules; 3 an evaluation aborted at an unknown prefix. The
highest that applies is returned.
)";
}

}  // namespace zeb::cli
