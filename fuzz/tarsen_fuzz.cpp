// A Tarsen instrument file of the input's bytes read and one of its cells
// converted, quality control included, then the written set opened as the
// desktop program would open it.
//
// Input: a selector byte (bits 0-1: the extension, bit 2: answer the time
// glitch question with No, bits 3-4: Center, Surface, Bottom or a cell of
// the next byte), then the file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "configuration.h"
#include "convert_cell.h"
#include "converter_ui.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "data/measurement_files.h"
#include "fuzz_support.h"
#include "tarsen_file.h"

namespace {

class QuietUi final : public tarsen::ConverterUi {
public:
    explicit QuietUi(bool answerYes) : answerYes_(answerYes) {}
    void ShowMessage(tarsen::MessageKind, const std::string&) override {}
    bool AskTimeGlitch(int, const std::string&) override { return answerYes_; }
    void SetProgress(int) override {}

private:
    bool answerYes_;
};

constexpr const char* kExtensions[] = {".prf", ".orl", ".wpr", ".cpr"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    corvan::fuzz::Input in(bytes, size);
    const std::uint8_t selector = in.U8();
    const int chosenCell = in.U8();
    const std::string path = scratch.Path(std::string("input") + kExtensions[selector & 3]);
    corvan::fuzz::WriteFile(path, in.Rest(), in.Left());

    QuietUi ui((selector & 4) == 0);
    tarsen::TarsenFile file;
    if (!file.ReadConfiguration(path, ui)) return 0;
    if (!tarsen::GeometryRefusal(file).empty()) return 0;

    const tarsen::DefaultCellNumbers defaults = tarsen::DefaultCells(file.Config());
    int cell = defaults.center;
    switch ((selector >> 3) & 3) {
        case 1:
            cell = defaults.surface;
            break;
        case 2:
            cell = defaults.bottom;
            break;
        case 3:
            cell = chosenCell;
            break;
        default:
            break;
    }
    tarsen::ImportSettings settings;
    settings.boundaryMethod = (selector & 0x20) ? tarsen::kBoundaryPressure : tarsen::kBoundaryAcoustic;
    tarsen::CellReport report;
    if (!tarsen::ConvertCell(file, settings, ui, cell, &report)) return 0;

    corvan::DataSet data;
    data.baseName = corvan::StripExtension(report.names.measurement);
    try {
        corvan::LoadMeasurementFiles(data);
    } catch (const corvan::FileError&) {
    }
    return 0;
}
