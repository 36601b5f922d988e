// corvan list FILE [--from N] [--to N]: the list view as tab-separated text.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/list_format.h"

namespace corvan::cli {
namespace {

int RunList(const std::vector<std::string>& args) {
    CLI::App app = CommandApp("list", "The list view of a measurement file set as tab-separated text.");
    std::string file;
    long long from = 1;
    long long to = -1;
    app.add_option("FILE", file, "measurement file (base name or .CVN)")->required();
    app.add_option("--from", from, "first measurement number (from 1)")->check(WholeNumberFrom(1));
    app.add_option("--to", to, "last measurement number")->check(WholeNumberFrom(1));
    if (const auto status = ParseCommandLine(app, args)) return *status;
    DataSet data;
    if (!OpenFileSet(file, data)) return kExitFailure;

    const std::vector<ListColumn> columns = RebuildListColumns(data);
    std::string out;
    for (const ListColumn& c : columns) {
        out += '\t';
        out += c.header;
    }
    out += '\n';

    const int first = static_cast<int>(std::min<long long>(from - 1, data.recordCount));
    const int last =
        to < 0 ? data.recordCount - 1 : static_cast<int>(std::min<long long>(to - 1, data.recordCount - 1));
    SeriesCursor cursor(data, first);
    std::vector<std::string> cells;
    bool starts = false;
    for (int i = first; i <= last; ++i) {
        FormatListRow(data, columns, i, cursor, cells, starts);
        if (starts) out += '*';
        for (const std::string& cell : cells) {
            out += '\t';
            out += Trim(cell);
        }
        out += '\n';
        if (out.size() > (1u << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

const CommandRegistrar kList("list", "list FILE [--from N] [--to N] the list view as tab-separated text", &RunList);

}  // namespace
}  // namespace corvan::cli
