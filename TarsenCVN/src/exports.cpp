// The library's exported entries. No exception may leave them: the callers
// are C and the desktop program's run-time loader.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "configuration.h"
#include "convert_cell.h"
#include "converter_ui.h"
#include "tarsen_cvn.h"
#include "tarsen_file.h"
#include "text_encoding.h"

#if defined(TARSEN_WITH_DIALOG)
#include <QApplication>

#include "CTarsenCVNDlg.h"
#endif

namespace tarsen {
namespace {

class CallbackUi final : public ConverterUi {
public:
    explicit CallbackUi(const TarsenCallbacks* callbacks) : cb_(callbacks) {}

    void ShowMessage(MessageKind kind, const std::string& text) override {
        if (cb_ && cb_->message) {
            cb_->message(cb_->context, kind == MessageKind::kError ? TARSEN_MESSAGE_ERROR : TARSEN_MESSAGE_NOTE,
                         text.c_str());
        }
    }
    bool AskTimeGlitch(int cell, const std::string& text) override {
        if (cb_ && cb_->askTimeGlitch) return cb_->askTimeGlitch(cb_->context, cell, text.c_str()) != 0;
        return true;
    }
    void SetProgress(int percent) override {
        if (cb_ && cb_->progress) cb_->progress(cb_->context, percent);
    }
    void CellDone(int cell, bool converted, const OutputNames& names) {
        if (cb_ && cb_->cellDone) {
            cb_->cellDone(cb_->context, cell, converted ? 1 : 0, names.measurement.c_str(), names.reference.c_str());
        }
    }

private:
    const TarsenCallbacks* cb_;
};

// Without a dialog (no widgets in this build, or a caller without an
// application object) the desktop's entry has nobody to ask: texts go to the
// standard error stream and glitching records are dropped.
void PrintToStderr(void*, int32_t, const char* text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\r') c = '\n';
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

ImportSettings SettingsFrom(const TarsenOptions* options) {
    ImportSettings s;
    if (options) {
        s.removeLowSnr = options->removeLowSnr != 0;
        s.removeSpikes = options->removeSpikes != 0;
        s.removeBoundary = options->removeBoundary != 0;
        s.boundaryMethod = options->boundaryMethod;
    }
    return s;
}

// The cells converted and whether all succeeded; empty when the file could
// not be read or was refused.
struct RunOutcome {
    bool fileRead = false;
    bool allConverted = false;
    std::vector<int> cells;
};

RunOutcome Run(const std::string& path, const TarsenOptions* options, CallbackUi& ui) {
    RunOutcome outcome;
    TarsenFile file;
    if (!file.ReadConfiguration(path, ui)) return outcome;
    if (const std::string refusal = GeometryRefusal(file); !refusal.empty()) {
        ui.ShowMessage(MessageKind::kError, refusal);
        return outcome;
    }
    outcome.fileRead = true;
    if (options && options->cells && options->cellCount > 0) {
        outcome.cells.assign(options->cells, options->cells + options->cellCount);
    } else {
        outcome.cells.push_back(DefaultCells(file.Config()).center);
    }
    ImportSettings settings = SettingsFrom(options);
    outcome.allConverted = true;
    for (int cell : outcome.cells) {
        CellReport report;
        const bool converted = ConvertCell(file, settings, ui, cell, &report);
        if (!converted) outcome.allConverted = false;
        ui.CellDone(cell, converted, report.names);
    }
    return outcome;
}

}  // namespace
}  // namespace tarsen

extern "C" TARSEN_API int32_t TarsenConvert(const char* pathUtf8, const TarsenOptions* options,
                                            const TarsenCallbacks* callbacks) {
    try {
        if (!pathUtf8) return -1;
        tarsen::CallbackUi ui(callbacks);
        const tarsen::RunOutcome outcome = tarsen::Run(pathUtf8, options, ui);
        return outcome.fileRead && outcome.allConverted ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

extern "C" TARSEN_API int32_t TARSEN_STDCALL CreateCVNFiles(const char16_t* path) {
    try {
        if (!path) return -1;
        const std::string utf8 = tarsen::Utf8FromUtf16(std::u16string_view(path, tarsen::Utf16Length(path)));
#if defined(TARSEN_WITH_DIALOG)
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            return tarsen::RunImportDialog(utf8, QApplication::activeWindow());
        }
#endif
        TarsenOptions options{};
        options.removeLowSnr = 1;
        options.removeSpikes = 1;
        options.removeBoundary = 1;
        options.boundaryMethod = TARSEN_BOUNDARY_ACOUSTIC;
        TarsenCallbacks callbacks{};
        callbacks.message = &tarsen::PrintToStderr;
        tarsen::CallbackUi ui(&callbacks);
        const tarsen::RunOutcome outcome = tarsen::Run(utf8, &options, ui);
        if (!outcome.fileRead || !outcome.allConverted || outcome.cells.empty()) return -1;
        return outcome.cells.front();
    } catch (...) {
        return -1;
    }
}
