#pragma once
// Option parsing of the correction tools' sub-commands: CLI11 with the
// suite's exit statuses (2 and one line for a usage error, 0 after --help).

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace corvan::cli {

// Parses args into app. nullopt when the command should go on; otherwise
// the exit status (help shown, or a usage error reported).
std::optional<int> ParseToolOptions(CLI::App& app, const std::vector<std::string>& args);

// "corvan NAME: message" on stderr; kExitUsage.
int ToolUsageError(const std::string& command, const std::string& message);

// "FILE: reason" on stderr; kExitFailure.
int ToolFailure(const std::string& file, const std::string& reason);

}  // namespace corvan::cli
