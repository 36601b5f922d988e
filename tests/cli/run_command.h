#pragma once
// Runs a built program as a user would from a shell and collects its
// output, error text and exit status.

#include <string>
#include <vector>

namespace corvan::testing {

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args);

}  // namespace corvan::testing
