#include "contest/publish/contest_reports.h"

#include <filesystem>

#include "contest/publish/contest_index.h"
#include "contest/publish/cross_check_report.h"
#include "contest/publish/entrant_report.h"
#include "contest/publish/results_table.h"
#include "platform/paths.h"
#include "platform/translation.h"

namespace zeb::contest {

namespace fs = std::filesystem;

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    return pathInFolder(folder, name);
}

const std::vector<std::string> kNoFiles;

}  // namespace

ReportTargets ReportTargets::of(const ContestFolder& folder, bool bands) {
    return {folder.results(), folder.crossChecks(), folder.entrants(), folder.index(), bands, true};
}

bool writeContestReports(const ReportTargets& targets, const std::vector<ContestLog>& logs,
                         const CheckedContest& checked, OutputFiles& files,
                         const std::vector<OtherFile>& others) {
    bool ok = true;
    for (const std::string& file : targets.results) {
        ok &=
            files.write("", tr("results table"), file,
                        resultsTable(logs, *reportFormatOf(file), targets.bands), targets.replace);
    }
    // The cross-check's reports and the entrants' need it; a run without it asks for neither.
    const bool crossChecked = checked.crossCheck.has_value();
    for (const std::string& file : crossChecked ? targets.crossChecks : kNoFiles) {
        ok &= files.write("", tr("cross-check report"), file,
                          crossCheckReport(logs, *checked.crossCheck, *reportFormatOf(file)),
                          targets.replace);
    }
    std::vector<std::string> reports(logs.size());
    if (targets.entrants && crossChecked) {
        const std::vector<std::string> names = entrantReportNames(logs);
        for (std::size_t l = 0; l < logs.size(); ++l) {
            if (logs[l].setAside) {
                continue;
            }
            if (files.write(logs[l].path + ": ", tr("entrant report"),
                            inFolder(*targets.entrants, names[l]),
                            entrantReport(logs, *checked.crossCheck, l, checked.summary),
                            targets.replace)) {
                reports[l] = inFolder(*targets.entrants, names[l]);
            } else {
                ok = false;
            }
        }
    }
    if (targets.index) {
        const fs::path folder = pathFromUtf8(*targets.index).parent_path();
        const auto relative = [&](const std::string& file) {
            return file.empty() ? file
                                : utf8WithSlashes(pathFromUtf8(file).lexically_relative(folder));
        };
        std::vector<LogLinks> links(logs.size());
        for (std::size_t l = 0; l < logs.size(); ++l) {
            links[l].protocol = relative(logs[l].protocolFile);
            if (logs[l].repaired && logs[l].repaired->copy) {
                links[l].copy = relative(*logs[l].repaired->copy);
            }
            links[l].report = relative(reports[l]);
        }
        std::vector<std::string> pages;
        for (const auto* group : {&targets.results, &targets.crossChecks}) {
            for (const std::string& file : *group) {
                pages.push_back(relative(file));
            }
        }
        ok &= files.write("", tr("index page"), *targets.index,
                          contestIndexPage(logs, checked, links, pages, others), targets.replace);
    }
    return ok;
}

}  // namespace zeb::contest
