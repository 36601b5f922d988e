#pragma once
// Reading a report template: .docx and .dotx directly, the older binary
// .dot by converting it with LibreOffice in headless mode.

#include <string>

#include "report/office_package.h"

namespace corvan {

inline constexpr const char* kNoConverterReason =
    "is an older binary template, which needs LibreOffice to read; install LibreOffice, or save the template as "
    ".dotx or .docx";

// The LibreOffice program: $CORVAN_SOFFICE when set, else "soffice" on the
// search path (and its usual Windows folder). Empty when there is none.
std::string FindOfficeConverter();

// True for the compound-file signature of the older binary documents.
bool IsBinaryWordFile(const std::string& fileName);

// Throws FileError naming the template when it cannot be read, is neither
// an Office Open XML package nor convertible, or the conversion fails.
OfficePackage ReadReportTemplate(const std::string& fileName);

// Runs a program with arguments (no shell); its exit status, or -1 when it
// could not be started.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace corvan
