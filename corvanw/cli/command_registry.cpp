#include "cli/command_registry.h"

namespace corvan::cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

CommandRegistrar::CommandRegistrar(const char* name, const char* usage, CommandFunction run) {
    Registry().push_back(Command{name, usage, run});
}

const std::vector<Command>& Commands() { return Registry(); }

}  // namespace corvan::cli
