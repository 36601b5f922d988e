#pragma once
// What the converter's tests share: a scratch folder, a converter UI that
// records what it was told and answers as told, and readers of the written
// measurement files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "converter_ui.h"
#include "data/measurement_files.h"
#include "tarsen_synth.h"

namespace tarsen_test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

class RecordingUi final : public tarsen::ConverterUi {
public:
    void ShowMessage(tarsen::MessageKind kind, const std::string& text) override {
        (kind == tarsen::MessageKind::kError ? errors : notes).push_back(text);
    }
    bool AskTimeGlitch(int cell, const std::string& text) override {
        glitchQuestions.push_back(text);
        glitchCells.push_back(cell);
        return answerYes;
    }
    void SetProgress(int percent) override { progress.push_back(percent); }

    bool answerYes = true;
    std::vector<std::string> errors;
    std::vector<std::string> notes;
    std::vector<std::string> glitchQuestions;
    std::vector<int> glitchCells;
    std::vector<int> progress;
};

struct WrittenSet {
    bool found = false;
    std::uintmax_t measurementBytes = 0;
    std::uintmax_t referenceBytes = 0;
    corvan::MeasurementFileHeader header;
    std::vector<corvan::MeasurementRecord> records;
    std::vector<corvan::SeriesHeader> series;
};

WrittenSet ReadWrittenSet(const std::string& measurementFile, const std::string& referenceFile);

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A deployment of the given type with `profiles` profiles, saved as name.
std::string SaveDeployment(const ScratchFolder& folder, const std::string& name,
                           const tarsen_synth::Deployment& deployment);

// True when the record holds the known current within the quantisation of
// the instrument's millimetre velocities.
::testing::AssertionResult HoldsCurrent(const corvan::MeasurementRecord& r, const tarsen_synth::Current& expected);

bool IsMissing(const corvan::MeasurementRecord& r);

}  // namespace tarsen_test
