#pragma once
// What every sub-command that opens a measurement file set shares.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"

namespace corvan::cli {

// Opens FILE (base name, or base name with .CVN in any case) as the desktop
// program's open does, upgrading old versions on disk. On failure prints one
// line "FILE: reason" on stderr and returns false.
bool OpenFileSet(const std::string& fileArgument, DataSet& data);

// The base name of a FILE argument: ".cvn" in any case is stripped.
std::string BaseNameOfArgument(const std::string& fileArgument);

// Prints "corvan: message" on stderr; returns kExitUsage.
int UsageError(const std::string& message);

// Parses the words after a sub-command's name with its options. nullopt
// when the command should go on; otherwise its exit status: kExitOk after
// printing --help, kExitUsage after one line "corvan: NAME: reason", or
// the line `report` prints for (NAME, reason) when it is given.
using UsageReporter = int (*)(const std::string& command, const std::string& message);
std::optional<int> ParseCommandLine(CLI::App& app, const std::vector<std::string>& args,
                                    UsageReporter report = nullptr);

// A sub-command's option parser: the description its --help opens with,
// and the name "corvan NAME" its usage line shows.
CLI::App CommandApp(const std::string& name, const std::string& description);

// Accepts a whole decimal number of at least `lowest` (series, measurement
// and cell numbers), with a message that says so.
CLI::Validator WholeNumberFrom(long long lowest);

// Parses a whole decimal integer; nullopt for anything else.
std::optional<long long> ParseInteger(const std::string& text);

// JSON string literal with escapes.
std::string JsonString(const std::string& text);
// Shortest text that reads back as the same float / double.
std::string JsonNumber(float value);
std::string JsonNumber(double value);

}  // namespace corvan::cli
