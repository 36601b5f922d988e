#pragma once
// The one exception type for input/output failures: it carries the file the
// failure concerns and the system's reason, so every caller can say
// "file: reason" without knowing where it happened.

#include <stdexcept>
#include <string>

namespace corvan {

class FileError : public std::runtime_error {
public:
    FileError(std::string fileName, std::string reason)
        : std::runtime_error(fileName + ": " + reason), fileName_(std::move(fileName)), reason_(std::move(reason)) {}

    const std::string& FileName() const { return fileName_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string fileName_;
    std::string reason_;
};

}  // namespace corvan
