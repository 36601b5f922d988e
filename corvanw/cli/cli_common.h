#pragma once
// What every sub-command that opens a measurement file set shares.

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

// Parses a whole decimal integer; nullopt for anything else.
std::optional<long long> ParseInteger(const std::string& text);

// JSON string literal with escapes.
std::string JsonString(const std::string& text);
// Shortest text that reads back as the same float / double.
std::string JsonNumber(float value);
std::string JsonNumber(double value);

}  // namespace corvan::cli
