#pragma once
// The converter's only contact with the operating system's files: opening
// by a UTF-8 path, 64-bit positions, and the system's words for a failure.

#include <cstdint>
#include <cstdio>
#include <string>

namespace tarsen {

// fopen with a UTF-8 path; null on failure with errno set.
std::FILE* OpenFile(const std::string& pathUtf8, const char* mode);

// Absolute positioning; false on failure with errno set.
bool SeekFile(std::FILE* file, std::int64_t position);

// Length in bytes, or -1 when the status cannot be read. Leaves the
// position at the start.
std::int64_t FileLength(std::FILE* file);

bool RemoveFile(const std::string& pathUtf8);

// True when nothing stands at the path or it is a file that opens for
// writing; false (errno set) for a folder or a write-protected file.
bool CanReplace(const std::string& pathUtf8);

// Moves a file onto another name, replacing a file there; false on failure
// with errno set.
bool RenameReplacing(const std::string& fromUtf8, const std::string& toUtf8);

// The system's description of an errno value.
std::string SystemErrorText(int error);

}  // namespace tarsen
