#include "cli/run_command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace corvan::testing {

namespace {
std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') {
            q += "'\\''";
        } else {
            q += c;
        }
    }
    return q + "'";
}

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args) {
    std::random_device rd;
    const auto tmp = std::filesystem::temp_directory_path();
    const auto outFile = tmp / ("corvan-out-" + std::to_string(rd()));
    const auto errFile = tmp / ("corvan-err-" + std::to_string(rd()));
    std::string cmd = Quote(program);
    for (const auto& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(outFile.string()) + " 2>" + Quote(errFile.string());
    const int raw = std::system(cmd.c_str());
    CommandResult r;
#ifdef _WIN32
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    r.out = Slurp(outFile);
    r.err = Slurp(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return r;
}

}  // namespace corvan::testing
