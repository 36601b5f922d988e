#include "cli/tool_cli.h"

#include <cstdio>

#include "cli/cli_common.h"
#include "cli/command_registry.h"

namespace corvan::cli {

std::optional<int> ParseToolOptions(CLI::App& app, const std::vector<std::string>& args) {
    return ParseCommandLine(app, args, &ToolUsageError);
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
