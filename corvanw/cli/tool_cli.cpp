#include "cli/tool_cli.h"

#include <algorithm>
#include <cstdio>

#include "cli/command_registry.h"

namespace corvan::cli {

std::optional<int> ParseToolOptions(CLI::App& app, const std::vector<std::string>& args) {
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        std::string what = e.what();
        std::replace(what.begin(), what.end(), '\n', ' ');
        // The app is named as its usage line shows it, "corvan NAME".
        std::string name = app.get_name();
        if (name.rfind("corvan ", 0) == 0) name.erase(0, 7);
        return ToolUsageError(name, what);
    }
    return std::nullopt;
}

int ToolUsageError(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "corvan %s: %s\n", command.c_str(), message.c_str());
    return kExitUsage;
}

int ToolFailure(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), reason.c_str());
    return kExitFailure;
}

}  // namespace corvan::cli
