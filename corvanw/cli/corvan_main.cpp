// `corvan`: the measurement files and the suite's tools without a window.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/command_registry.h"
#include "data/file_error.h"

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: corvan COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& c : corvan::cli::Commands()) std::fprintf(out, "  %s\n", c.usage);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvan::cli;
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    for (const auto& c : Commands()) {
        if (name == c.name) {
            std::vector<std::string> args(argv + 2, argv + argc);
            try {
                return c.run(args);
            } catch (const corvan::FileError& e) {
                std::fprintf(stderr, "%s: %s\n", e.FileName().c_str(), e.Reason().c_str());
                return kExitFailure;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "corvan %s: %s\n", name.c_str(), e.what());
                return kExitFailure;
            }
        }
    }
    std::fprintf(stderr, "corvan: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
