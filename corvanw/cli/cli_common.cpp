#include "cli/cli_common.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "cli/command_registry.h"
#include "data/file_error.h"

namespace corvan::cli {

std::string BaseNameOfArgument(const std::string& arg) {
    if (arg.size() > 4) {
        const std::string ext = arg.substr(arg.size() - 4);
        if (ext[0] == '.' && (ext[1] == 'c' || ext[1] == 'C') && (ext[2] == 'v' || ext[2] == 'V') &&
            (ext[3] == 'n' || ext[3] == 'N')) {
            return arg.substr(0, arg.size() - 4);
        }
    }
    return arg;
}

bool OpenFileSet(const std::string& fileArgument, DataSet& data) {
    data.baseName = BaseNameOfArgument(fileArgument);
    const std::string cvn = MeasurementFileName(data.baseName);
    LoadOutcome outcome;
    try {
        outcome = LoadMeasurementFiles(data);
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s: %s\n", e.FileName().c_str(), e.Reason().c_str());
        return false;
    }
    if (!outcome.measurementFileFound) {
        std::fprintf(stderr, "%s: file not found\n", cvn.c_str());
        return false;
    }
    if (!outcome.message.empty()) {
        std::fprintf(stderr, "%s: %s\n", cvn.c_str(), outcome.message.c_str());
        return false;
    }
    if (!data.dataLoaded) {
        std::fprintf(stderr, "%s: the file holds no measurements\n", cvn.c_str());
        return false;
    }
    return true;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "corvan: %s\n", message.c_str());
    return kExitUsage;
}

std::optional<int> ParseCommandLine(CLI::App& app, const std::vector<std::string>& args, UsageReporter report) {
    // CLI11 takes the words last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::Success&) {
        std::fputs(app.help().c_str(), stdout);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        std::string message = e.what();
        for (char& c : message) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        while (!message.empty() && message.back() == ' ') message.pop_back();
        std::string name = app.get_name();
        if (name.rfind("corvan ", 0) == 0) name.erase(0, 7);
        if (report) return report(name, message);
        return UsageError(name + ": " + message);
    }
    return std::nullopt;
}

CLI::Validator WholeNumberFrom(long long lowest) {
    return CLI::Validator(
        [lowest](std::string& text) {
            const auto v = ParseInteger(text);
            if (v && *v >= lowest) return std::string();
            return "needs a whole number of " + std::to_string(lowest) + " or more, not '" + text + "'";
        },
        "NUMBER");
}

CLI::App CommandApp(const std::string& name, const std::string& description) {
    return CLI::App(description, "corvan " + name);
}

std::optional<long long> ParseInteger(const std::string& text) {
    long long v = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e || text.empty()) return std::nullopt;
    return v;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

namespace {
template <typename T>
std::string ShortestNumber(T value) {
    if (!std::isfinite(value)) return "null";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, p);
    // JSON readers take "1e+10" but a bare integer should still read as a real.
    if (s.find_first_of(".eE") == std::string::npos) s += ".0";
    return s;
}
}  // namespace

std::string JsonNumber(float value) { return ShortestNumber(value); }
std::string JsonNumber(double value) { return ShortestNumber(value); }

}  // namespace corvan::cli
