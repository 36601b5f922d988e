// corvan report --template T -o OUT.docx [--surface FILE] [--center FILE]
// [--bottom FILE] ...: the site-survey report without a window. The
// pictures need the chart painter, so the command is only complete in a
// build with the desktop program.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <locale>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/file_error.h"
#include "data/series_range.h"
#include "report/report_builder.h"

#ifdef CORVAN_REPORT_PICTURES
#include "report/gui/offscreen_pictures.h"
#endif

namespace corvan::cli {
namespace {

constexpr const char* kUsage =
    "report --template T -o OUT.docx [--surface FILE] [--center FILE] [--bottom FILE] [--surface-depth D] "
    "[--center-depth D] [--bottom-depth D] [--surface-address A] [--center-address A] [--bottom-address A] "
    "[--total-depth D] [--utm U] [--sted S] [--kommune K] [--fylke F] [--days] [--percent] [--no-auto-size]  "
    "site-survey report from a template; FILE is BASE or BASE:SERIES:FIRST:LAST";

std::string LocaleDecimalSeparator() {
    try {
        return std::string(1, std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point());
    } catch (const std::exception&) {
        return ".";
    }
}

int RunReport(const std::vector<std::string>& args) {
    CLI::App app{"Site-survey report from a template", "corvan report"};
    std::string templateFile;
    std::string output;
    std::array<std::string, kReportPositionCount> files;
    ReportSiteFacts facts;
    bool days = false;
    bool percent = false;
    bool noAutoSize = false;
    app.add_option("--template", templateFile, "report template (.docx, .dotx, or .dot with LibreOffice)")->required();
    app.add_option("-o,--output", output, "the document to write (.docx)")->required();
    app.add_option("--surface", files[0], "surface position: BASE or BASE:SERIES:FIRST:LAST");
    app.add_option("--center", files[1], "dispersion position");
    app.add_option("--bottom", files[2], "bottom position");
    app.add_option("--surface-depth", facts.depth[0], "depth of the surface position");
    app.add_option("--center-depth", facts.depth[1], "depth of the dispersion position");
    app.add_option("--bottom-depth", facts.depth[2], "depth of the bottom position");
    app.add_option("--surface-address", facts.address[0], "address of the surface position");
    app.add_option("--center-address", facts.address[1], "address of the dispersion position");
    app.add_option("--bottom-address", facts.address[2], "address of the bottom position");
    app.add_option("--total-depth", facts.totalDepth, "total depth at the site");
    app.add_option("--utm", facts.utm, "UTM/GPS position");
    app.add_option("--sted", facts.sted, "place");
    app.add_option("--kommune", facts.kommune, "municipality");
    app.add_option("--fylke", facts.fylke, "county");
    app.add_flag("--days", days, "mark the start of days on the time axes");
    app.add_flag("--percent", percent, "bar graphs in percent");
    app.add_flag("--no-auto-size", noAutoSize, "draw graphs at 1000 x 600 pixels and scale them into the page");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        std::printf("%s", app.help().c_str());
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(std::string("report: ") + e.what());
    }

    ReportRequest request;
    request.templateFileName = templateFile;
    request.outputFileName = output;
    request.facts = facts;
    request.startOfDays = days;
    request.barPercent = percent;
    request.autoSize = !noAutoSize;
    request.today = LocalNow().ToCivil();
    request.decimalSeparator = LocaleDecimalSeparator();
    for (int i = 0; i < kReportPositionCount; ++i) {
        const std::string& text = files[static_cast<std::size_t>(i)];
        if (text.empty()) continue;
        const auto named = ParseNamedRange(text);
        if (!named) return UsageError("report: " + text + " is not BASE or BASE:SERIES:FIRST:LAST");
        request.positions[static_cast<std::size_t>(i)] = {BaseNameOfArgument(named->base), named->request};
    }

#ifdef CORVAN_REPORT_PICTURES
    const auto pictures = CreateOffscreenPictureSource();
    try {
        const ReportOutcome outcome = ProduceReport(request, pictures.get());
        for (const std::string& note : outcome.notes) std::fprintf(stderr, "corvan: %s\n", note.c_str());
        return kExitOk;
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s: %s\n", e.FileName().c_str(), e.Reason().c_str());
        return kExitFailure;
    }
#else
    std::fprintf(stderr, "corvan: report is not available in this build (it needs the desktop's chart painter)\n");
    return kExitFailure;
#endif
}

const CommandRegistrar kReport("report", kUsage, &RunReport);

}  // namespace
}  // namespace corvan::cli
