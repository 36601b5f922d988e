#pragma once
// Text export of measurement records: the Windows layout with the list
// view's columns in the user's number and date formats, and the fixed DOS
// layout with zero-padded fields. The desktop command and `corvan export`
// both write through here, so their files cannot differ.

#include <functional>
#include <string>

#include "data/data_set.h"

namespace corvan {

enum class ExportLayout { Windows, Dos };

// The choices of the export dialog's "Contents" group, in its order.
enum class ExportContents { AllMeasurements, SelectedMeasurements, SeriesNumber };

// The pieces of the user's locale the Windows layout needs. The core never
// asks the platform for them; the desktop passes those of its system locale,
// the command line those of its environment.
struct ExportLocale {
    std::string decimalSeparator = ".";  // UTF-8
    std::function<std::string(const CivilTime&)> shortDate;
    std::function<std::string(const CivilTime&)> shortTime;
};

// "." with "1997-02-25" and "12:10": for an environment that names no locale.
ExportLocale IsoExportLocale();

// Indices (from 0) of the first and last record to write; last may lie
// beyond the records read, which gives empty lines.
struct ExportRecordRange {
    int first = 0;
    int last = -1;
};

// Records of the dialog's contents choice; seriesNumber counts for
// ExportContents::SeriesNumber only and is clamped to the series table.
ExportRecordRange ExportRecords(const DataSet& data, ExportContents contents, int seriesNumber);

struct TextExportOptions {
    ExportLayout layout = ExportLayout::Windows;
    std::string delimiter = ";";  // one character, UTF-8
    ExportRecordRange records;
};

// The name the files carry in their first field or line: file name part of
// the base name, at most 20 characters, cut before its first "." and padded
// with blanks to 8.
std::string TextExportSourceName(const std::string& baseName);

// A value with a fixed number of decimals and at most 10 significant digits,
// halves rounded away from zero; beyond 10 integer digits it turns to the
// exponent form ("1.5E12").
std::string FormatExportFixed(double value, int decimals, const std::string& decimalSeparator = ".");

// A chosen name without any "." gets ".txt" (Windows) or ".prn" (DOS).
std::string ExportFileNameWithExtension(const std::string& chosenName, ExportLayout layout);

// The whole file as it goes to disk: Windows-1252 text with CR LF line ends,
// the code page and line ends of the files this program has always written.
std::string BuildTextExport(const DataSet& data, const TextExportOptions& options, const ExportLocale& locale);

// Writes bytes as fileName (UTF-8) through a temporary file beside it that
// replaces the target only when complete, so a failure never leaves a
// half-written file where the user's was. Throws FileError.
void ReplaceFileContents(const std::string& fileName, const std::string& bytes);

// Writes the export to fileName as ReplaceFileContents does; throws
// FileError.
void WriteTextExport(const std::string& fileName, const DataSet& data, const TextExportOptions& options,
                     const ExportLocale& locale);

// Characters outside the code page become "?"; bytes that are not UTF-8 are
// taken as Latin-1.
std::string Utf8ToWindows1252(const std::string& text);

}  // namespace corvan
