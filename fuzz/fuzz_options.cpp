// zebscore's hand-written option parser on any argument list: the input's NUL bytes separate the
// arguments. Whatever the arguments, parsing ends in one of its outcomes, and a run always has
// logs and never two outputs on standard output.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"
#include "contest/publish/report_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb::cli;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0') {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    const ParseResult parsed = parseOptions(args);
    switch (parsed.status) {
        case ParseStatus::Run: {
            const Options& options = parsed.options;
            ZEB_FUZZ_CHECK(!options.logs.empty());
            ZEB_FUZZ_CHECK(!(options.output && options.outputDir));
            ZEB_FUZZ_CHECK(!(options.output && options.logs.size() > 1));
            ZEB_FUZZ_CHECK(!(options.output == std::string("-") && options.json));
            ZEB_FUZZ_CHECK(!options.timeWindow || *options.timeWindow > 0);
            // One results table and one cross-check report per format, none in the other's file.
            for (const auto* files : {&options.results, &options.crossChecks}) {
                for (std::size_t i = 0; i < files->size(); ++i) {
                    for (std::size_t j = 0; j < i; ++j) {
                        ZEB_FUZZ_CHECK(zeb::contest::reportFormatOf((*files)[i]) !=
                                       zeb::contest::reportFormatOf((*files)[j]));
                    }
                }
            }
            for (const std::string& results : options.results) {
                for (const std::string& crossCheck : options.crossChecks) {
                    ZEB_FUZZ_CHECK(results != crossCheck);
                }
            }
            // The whole contest names its outputs itself.
            ZEB_FUZZ_CHECK(!options.contest || (options.results.empty() &&
                                                options.crossChecks.empty() && !options.repairDir));
            break;
        }
        case ParseStatus::UsageError:
            ZEB_FUZZ_CHECK(!parsed.error.empty());
            break;
        case ParseStatus::Help:
        case ParseStatus::Version:
            break;
    }
    return 0;
}
