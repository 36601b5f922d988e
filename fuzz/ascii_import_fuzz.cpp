// A Tarsen text export of the input's bytes (header, two velocity files and
// the sensor file) read for one cell, written as a measurement file set and
// opened again.
//
// Input: the cell byte, then the lengths of the header and the two velocity
// files (16 bits each, little-endian), their bytes, then the sensor file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/ascii_import.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "data/measurement_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    corvan::fuzz::Input in(bytes, size);
    const int cell = in.U8();
    const std::size_t headerLength = in.U16();
    const std::size_t v1Length = in.U16();
    const std::size_t v2Length = in.U16();
    const std::vector<std::uint8_t> header = in.Take(headerLength);
    const std::vector<std::uint8_t> v1 = in.Take(v1Length);
    const std::vector<std::uint8_t> v2 = in.Take(v2Length);
    const std::string stem = scratch.Path("export");
    corvan::fuzz::WriteFile(stem + ".hdr", header.data(), header.size());
    corvan::fuzz::WriteFile(stem + ".v1", v1.data(), v1.size());
    corvan::fuzz::WriteFile(stem + ".v2", v2.data(), v2.size());
    corvan::fuzz::WriteFile(stem + ".sen", in.Rest(), in.Left());

    const corvan::DateTime now = *corvan::DateTime::FromCivil({2020, 6, 1, 8, 30, 0});
    try {
        const corvan::AsciiHeader h = corvan::ReadAsciiHeader(stem + ".hdr", now);
        if (!h.error.empty() || !corvan::AsciiCellRefusal(h, cell).empty()) return 0;
        const corvan::AsciiImport import = corvan::ReadAsciiCell(stem + ".hdr", h, cell);
        const std::string base = scratch.Path("imported");
        corvan::WriteAsciiImport(import, base);
        corvan::DataSet data;
        data.baseName = base;
        corvan::LoadMeasurementFiles(data);
        if (data.recordCount != static_cast<int>(std::min<std::size_t>(import.records.size(), corvan::kMaxRecords))) {
            __builtin_trap();
        }
    } catch (const corvan::FileError&) {
    }
    return 0;
}
