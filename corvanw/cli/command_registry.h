#pragma once
// Sub-commands of `corvan` register themselves from their own source file,
// so adding a command never touches the others.

#include <string>
#include <vector>

namespace corvan::cli {

// Exit statuses of every sub-command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// args: the words after the sub-command's name.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* usage;  // one line, shown by `corvan --help`
    CommandFunction run;
};

struct CommandRegistrar {
    CommandRegistrar(const char* name, const char* usage, CommandFunction run);
};

const std::vector<Command>& Commands();

}  // namespace corvan::cli
