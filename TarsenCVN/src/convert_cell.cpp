#include "convert_cell.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tuple>

#include "data/byte_io.h"
#include "data/measurement_files.h"
#include "platform_file.h"

namespace tarsen {

namespace {

constexpr const char* kUnableToOpenOutputMessage = "Unable to open output file.\r\r";
constexpr const char* kTimeGlitchQuestion =
    "Time glitch detected!\r\rDo you want to continue?\r\rPress No to skip remaining data for cell %d.";
constexpr const char* kDownLookingPressureNote =
    "Please note that pressure can not\rbe used for boundary detection\rfor downlooking deployments.";
constexpr const char* kFileNotFoundCause = "\rFile not found.";
constexpr const char* kInvalidFileCause = "\rInvalid file.";
constexpr const char* kReadFailedCause = "\rThe file could not be read.";
constexpr const char* kWriteFailedCause = "\rThe file could not be written.";
constexpr const char* kTooManyCellsMessage = "the file has %lld cells; at most %d can be converted";
constexpr const char* kTooManyBeamsMessage = "the file has %lld beams; at most %d can be converted";
constexpr const char* kCellOutOfRangeMessage = "Cell %d cannot be converted: the file has cells 1 to %d.";
constexpr const char* kCapacityNote =
    "The file holds more measurements than a measurement file can take;\r"
    "only the first %d of cell %d were converted.";

// The converter's invalid marker; readers take anything at or below -999.
constexpr float kMissing = -9999.0f;
// The quality library's marker, with room for rounding.
constexpr float kResultInvalidBelow = -99998.0f;
constexpr double kDegreesPerRadian = 57.29577951308232;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::uint32_t kCountedFlags[6] = {kFlagBeyondSurface, kFlagBeyondAcousticBoundary, kFlagLowSnr,
                                            kFlagSnrSpike,      kFlagVelocityOutlier,        kFlagOutsideProfile};

constexpr std::size_t kOutputBufferSize = 1u << 16;

#if defined(_WIN32)
constexpr const char* kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
constexpr const char* kSeparators = "/";
constexpr char kSeparator = '/';
#endif

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

std::string ReadErrorText(const std::string& path, int error) {
    if (error == ENOENT) return path + kFileNotFoundCause;
    if (error == EBADF) return path + kInvalidFileCause;
    if (error == 0) return path + kReadFailedCause;
    return path + "\r" + SystemErrorText(error);
}

std::string WriteErrorText(const std::string& path, int error) {
    if (error == 0) return path + kWriteFailedCause;
    return path + "\r" + SystemErrorText(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The two files of one cell. The first write error is kept; every later
// write is refused so the cell ends cleanly. Both are written under
// temporary names and take their own names only when complete, so a full
// disk or a lost folder never costs the files of an earlier conversion and
// never leaves a cut file that opens as a measurement set.
class CellOutput {
public:
    bool Open(const OutputNames& names, ConverterUi& ui) {
        names_ = names;
        temp_ = {names.measurement + kTemporarySuffix, names.reference + kTemporarySuffix};
        // What stands in the way of the final names is refused now, before
        // the whole input is read for nothing.
        if (CanReplace(names.measurement)) measurement_.reset(OpenFile(temp_.measurement, "wb"));
        if (!measurement_) {
            ui.ShowMessage(MessageKind::kError, kUnableToOpenOutputMessage + names.measurement);
            return false;
        }
        if (CanReplace(names.reference)) reference_.reset(OpenFile(temp_.reference, "wb"));
        if (!reference_) {
            ui.ShowMessage(MessageKind::kError, kUnableToOpenOutputMessage + names.reference);
            measurement_.reset();
            RemoveFile(temp_.measurement);
            return false;
        }
        std::setvbuf(measurement_.get(), nullptr, _IOFBF, kOutputBufferSize);
        return true;
    }

    bool Failed() const { return !failedFile_.empty(); }
    std::string ErrorText() const { return WriteErrorText(failedFile_, error_); }

    bool AppendRecord(const corvan::MeasurementRecord& r) {
        std::uint8_t bytes[corvan::kRecordSize];
        corvan::EncodeRecord(r, bytes);
        return Write(measurement_.get(), names_.measurement, bytes, sizeof bytes);
    }

    bool WriteHeader(const corvan::MeasurementFileHeader& h) {
        std::uint8_t bytes[corvan::kHeaderSize];
        corvan::EncodeHeader(h, bytes);
        return Write(measurement_.get(), names_.measurement, bytes, sizeof bytes);
    }

    bool RewriteHeader(const corvan::MeasurementFileHeader& h) {
        if (Failed()) return false;
        if (std::fflush(measurement_.get()) != 0 || !SeekFile(measurement_.get(), 0)) {
            Fail(names_.measurement);
            return false;
        }
        return WriteHeader(h);
    }

    bool WriteSeriesHeader(const corvan::SeriesHeader& s) {
        std::uint8_t bytes[corvan::kSeriesHeaderSize];
        corvan::EncodeSeriesHeader(s, bytes);
        return Write(reference_.get(), names_.reference, bytes, sizeof bytes);
    }

    // Closes both files (a failure to flush is a write error too) and puts
    // them in place; after a failure neither is kept.
    void Close() {
        errno = 0;
        if (measurement_ && std::fclose(measurement_.release()) != 0 && !Failed()) Fail(names_.measurement);
        errno = 0;
        if (reference_ && std::fclose(reference_.release()) != 0 && !Failed()) Fail(names_.reference);
        if (!Failed()) {
            errno = 0;
            if (!RenameReplacing(temp_.measurement, names_.measurement)) {
                Fail(names_.measurement);
            } else if (!RenameReplacing(temp_.reference, names_.reference)) {
                Fail(names_.reference);
            }
        }
        if (Failed()) {
            RemoveFile(temp_.measurement);
            RemoveFile(temp_.reference);
        }
    }

    void CloseAndRemove() {
        measurement_.reset();
        reference_.reset();
        RemoveFile(temp_.measurement);
        RemoveFile(temp_.reference);
    }

private:
    bool Write(std::FILE* f, const std::string& name, const std::uint8_t* bytes, std::size_t n) {
        if (Failed()) return false;
        errno = 0;
        if (std::fwrite(bytes, 1, n, f) != n) {
            Fail(name);
            return false;
        }
        return true;
    }

    void Fail(const std::string& name) {
        failedFile_ = name;
        error_ = errno;
    }

    static constexpr const char* kTemporarySuffix = ".~tmp";

    OutputNames names_;
    OutputNames temp_;
    FilePtr measurement_;
    FilePtr reference_;
    std::string failedFile_;
    int error_ = 0;
};

CurrentDataInfo MakeDataInfo(const CConfig& config, std::int64_t beams, std::int64_t cells) {
    CurrentDataInfo info{};
    info.cells = static_cast<std::int32_t>(cells);
    info.beams = static_cast<std::int32_t>(beams);
    info.frequency = static_cast<float>(config.frequency);
    info.instrumentType = config.type;
    info.coordinateSystem = config.coordinateSystem;
    for (int i = 0; i < 9; ++i) info.beamMatrix[i] = config.matrix[static_cast<std::size_t>(i)];
    info.beamAngle = static_cast<float>(config.beamAngle);
    info.blanking = static_cast<float>(0.01 * config.blanking);
    info.cellSize = static_cast<float>(config.cellSize);
    return info;
}

CurrentQualityParams MakeQualityParams(const ImportSettings& settings) {
    CurrentQualityParams p{};
    p.snrThreshold = 3.0f;
    p.boundaryMethod = settings.boundaryMethod;
    p.pressureFactor = 0.9f;
    p.secondFactor = 0.9f;
    p.spikeThreshold = 10.0f;
    p.outlierFactor = 5.0f;
    p.reserved1 = 0.0f;
    p.cellMapping = 0;
    p.threeBeam = 0;
    p.threeBeamMask = 7;
    p.reserved2 = 0;
    p.removeBoundary = settings.removeBoundary ? 1 : 0;
    p.removeLowSnr = settings.removeLowSnr ? 1 : 0;
    p.removeSpikes = settings.removeSpikes ? 1 : 0;
    p.removeOutliers = 0;
    return p;
}

corvan::SeriesHeader MakeSeriesHeader(const CConfig& config, corvan::DateTime firstTime) {
    const corvan::CivilTime start = firstTime.AddSeconds(-config.measurementInterval).ToCivil();
    corvan::SeriesHeader s;
    s.first = 0;
    s.year = static_cast<std::uint8_t>(((start.year % 100) + 100) % 100);
    s.month = static_cast<std::uint8_t>(start.month);
    s.day = static_cast<std::uint8_t>(start.day);
    s.hour = static_cast<std::uint8_t>(start.hour);
    s.minute = static_cast<std::uint8_t>(start.minute);
    s.interval = config.measurementInterval;
    s.intervalCode = config.averagingInterval;
    s.salinity = static_cast<float>(config.salinity);
    return s;
}

}  // namespace

std::int64_t RecordCells(const DataRecord& r) {
    if (r.id == kIdVelocity) return 1;
    return CellsFromLength(r.id, static_cast<std::int64_t>(r.length), r.beams);
}

void FillCurrentSample(const DataRecord& r, std::int64_t beams, std::int64_t cells, int noiseLevel, CurrentSample& s) {
    corvan::ByteReader in(r.bytes, r.length);
    const bool wave = r.id == kIdWaveProfile;
    s = CurrentSample{};
    in.Seek(wave ? 12 : 10);
    s.errorWord = in.I16();
    in.Seek(wave ? 30 : 12);
    s.auxiliary = in.U16();
    in.Seek(14);
    s.battery = static_cast<float>(in.U16() * 0.1);
    s.soundSpeed = static_cast<float>(in.U16() * 0.1);
    s.heading = static_cast<float>(in.I16() * 0.1);
    s.pitch = static_cast<float>(in.I16() * 0.1);
    s.roll = static_cast<float>(in.I16() * 0.1);
    const std::uint32_t pressureHigh = in.U8();
    const std::uint8_t status = in.U8();
    const std::uint32_t pressureLow = in.U16();
    s.temperature = static_cast<float>(in.I16() * 0.01);
    s.pressure = static_cast<float>((pressureHigh * 65536u + pressureLow) / 1000.0);
    s.orientation = status & 1u;

    if (beams <= 0 || cells <= 0) return;
    const std::size_t n = static_cast<std::size_t>(beams * cells);
    const std::size_t velocities = VelocityBlockOffset(r.id);
    // The record's own length bounds its blocks; nothing is read beyond it.
    if (velocities + 3 * n > r.length) return;
    const std::uint8_t* vel = r.bytes + velocities;
    const std::uint8_t* amp = vel + 2 * n;
    const std::int64_t fillBeams = std::min<std::int64_t>(beams, kMaxBeams);
    const std::int64_t fillCells = std::min<std::int64_t>(cells, kMaxCells);
    for (std::int64_t b = 0; b < fillBeams; ++b) {
        s.noise[b] = static_cast<std::uint8_t>(noiseLevel & 0xFF);
        const std::size_t row = static_cast<std::size_t>(b * cells);
        const auto count = static_cast<std::size_t>(fillCells);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(s.velocity[b], vel + 2 * row, 2 * count);
        } else {
            for (std::size_t c = 0; c < count; ++c) {
                s.velocity[b][c] = static_cast<std::int16_t>(vel[2 * (row + c)] | (vel[2 * (row + c) + 1] << 8));
            }
        }
        std::memcpy(s.amplitude[b], amp + row, count);
    }
}

OutputNames MakeOutputNames(const std::string& inputPath, const std::string& outputFolder, int cell) {
    const std::size_t slash = inputPath.find_last_of(kSeparators);
    std::string folder = slash == std::string::npos ? std::string() : inputPath.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? inputPath : inputPath.substr(slash + 1);
    const std::size_t dot = file.find_last_of('.');
    const std::string name = dot == std::string::npos ? file : file.substr(0, dot);
    if (!outputFolder.empty()) folder = outputFolder + kSeparator;

    std::string base = folder + name + "-" + std::to_string(cell);
    // Doubled separators are reduced, except a leading pair that opens a
    // network path.
    std::string reduced;
    reduced.reserve(base.size());
    for (std::size_t i = 0; i < base.size(); ++i) {
        const bool separator = std::string_view(kSeparators).find(base[i]) != std::string_view::npos;
        if (separator && i > 1 && !reduced.empty() && reduced.back() == base[i]) continue;
        reduced += base[i];
    }
    return {reduced + ".cvn", reduced + ".rf6"};
}

TimeCheckResult TimeCheck(corvan::DateTime t, corvan::DateTime previous, int interval) {
    // A record whose date could not be decoded never passes: as the first
    // record it would date the whole series to the zero time.
    if (t == corvan::DateTime()) return {true, 0};
    if (previous.Seconds() < kSecondsPerDay) return {false, 0};
    const std::int64_t s = t.Seconds() - previous.Seconds();
    if (s < 1) return {true, 0};
    if (interval <= 0) return {false, 0};
    if (s % interval != 0) return {true, 0};
    return {false, s / interval - 1};
}

std::string GeometryRefusal(std::int64_t beams, std::int64_t cells) {
    if (cells > kMaxConvertibleCells) {
        return Format(kTooManyCellsMessage, static_cast<long long>(cells), kMaxConvertibleCells);
    }
    if (beams > kMaxConvertibleBeams) {
        return Format(kTooManyBeamsMessage, static_cast<long long>(beams), kMaxConvertibleBeams);
    }
    return {};
}

std::string GeometryRefusal(const TarsenFile& input) {
    const CConfig& c = input.Config();
    std::string refusal = GeometryRefusal(input.StreamBeams(), input.StreamCells());
    if (refusal.empty()) refusal = GeometryRefusal(c.beams, c.cells);
    return refusal;
}

bool ConvertCell(TarsenFile& input, ImportSettings& settings, ConverterUi& ui, int cell, CellReport* report) {
    CellReport local;
    CellReport& rep = report ? *report : local;
    rep = CellReport();
    ui.SetProgress(0);
    rep.names = MakeOutputNames(input.Path(), settings.outputFolder, cell);

    if (!input.IsOpen()) {
        ui.ShowMessage(MessageKind::kError, kUnableToOpenFileMessage + input.Path());
        return false;
    }
    const CConfig& config = input.Config();
    if (const std::string refusal = GeometryRefusal(input); !refusal.empty()) {
        ui.ShowMessage(MessageKind::kError, refusal);
        return false;
    }
    const int lastCell = std::clamp(config.cells, 1, kMaxConvertibleCells);
    if (cell < 1 || cell > lastCell) {
        ui.ShowMessage(MessageKind::kError, Format(kCellOutOfRangeMessage, cell, lastCell));
        return false;
    }

    CellOutput out;
    if (!out.Open(rep.names, ui)) {
        ui.SetProgress(100);
        return false;
    }

    const bool configured = input.Configured();
    std::int64_t infoBeams = configured ? config.beams : input.StreamBeams();
    std::int64_t infoCells = configured ? config.cells : input.StreamCells();
    CurrentDataInfo info = MakeDataInfo(config, infoBeams, infoCells);
    KXSetCurrentDataInfo(&info);
    CurrentQualityParams params = MakeQualityParams(settings);

    corvan::MeasurementFileHeader header;
    header.version = corvan::kCurrentFileVersion;
    header.referenceNumber = config.referenceNumber;
    header.instrumentType = MeasurementInstrumentType(config.type, config.frequency);
    header.count = 0;
    header.sensorKind = 0;
    header.sensorCoefficient = 0.0f;
    header.reserved = 0;

    // The working records are large; one set per conversion.
    auto work = std::make_unique<std::tuple<CurrentSample, CurrentQualityFlags, CurrentQualityResult>>();
    CurrentSample& sample = std::get<0>(*work);
    CurrentQualityFlags& flags = std::get<1>(*work);
    CurrentQualityResult& result = std::get<2>(*work);

    const std::size_t i = static_cast<std::size_t>(cell - 1);
    const int interval = config.measurementInterval;
    corvan::DateTime previous;
    bool skipping = false;
    std::string refusal;
    const corvan::MeasurementRecord missingRecord{kMissing, kMissing, kMissing, 0.0f};

    auto append = [&](const corvan::MeasurementRecord& r) {
        if (!out.AppendRecord(r)) return false;
        ++rep.recordsWritten;
        return true;
    };
    auto full = [&] { return rep.recordsWritten >= corvan::kMaxRecords; };

    RecordStream stream(input.Handle(), input.Length(),
                        RecordValidator(input.StreamBeams(), input.StreamCells(), configured),
                        input.KxConf().checksumOn);
    const StreamEnd end = stream.Run(
        [&](const DataRecord& r) {
            if (r.length < MinimumDataRecordSize(r.id)) return true;
            const std::int64_t beams = r.beams;
            const std::int64_t cells = RecordCells(r);
            if (!configured) {
                // Each record of an unconfigured file tells its own geometry;
                // the quality library must evaluate it with that geometry.
                refusal = GeometryRefusal(beams, cells);
                if (!refusal.empty()) return false;
                if (beams != infoBeams || cells != infoCells) {
                    infoBeams = beams;
                    infoCells = cells;
                    info = MakeDataInfo(config, infoBeams, infoCells);
                    KXSetCurrentDataInfo(&info);
                }
            }

            const corvan::DateTime t = RecordTime(r.bytes);
            const TimeCheckResult check = TimeCheck(t, previous, interval);
            if (check.glitch) {
                if (!skipping) {
                    if (!ui.AskTimeGlitch(cell, Format(kTimeGlitchQuestion, cell))) {
                        rep.stoppedAtGlitch = true;
                        return false;
                    }
                    skipping = true;
                }
                ++rep.droppedRecords;
                return true;
            }
            skipping = false;
            for (std::int64_t k = 0; k < check.missing; ++k) {
                if (full()) break;
                if (!append(missingRecord)) return false;
                ++rep.missingRecords;
            }
            if (full()) {
                rep.capacityReached = true;
                return false;
            }

            FillCurrentSample(r, beams, cells, config.defaultNoiseLevel, sample);
            if (sample.orientation == 1 && settings.boundaryMethod == kBoundaryPressure) {
                settings.boundaryMethod = kBoundaryAcoustic;
                params.boundaryMethod = kBoundaryAcoustic;
                ui.ShowMessage(MessageKind::kNote, kDownLookingPressureNote);
            }
            // The library writes only the cells it knows; a cell beyond them
            // must read as invalid, not as the previous profile's.
            result.status[i] = 0;
            KXCurrentQuality(&params, &sample, &flags, &result);
            for (std::size_t f = 0; f < 6; ++f) {
                if (flags.cell[i] & kCountedFlags[f]) ++rep.flagCounts[f];
            }

            if (rep.recordsWritten == 0) {
                if (!out.WriteHeader(header) || !out.WriteSeriesHeader(MakeSeriesHeader(config, t))) return false;
            }
            const bool valid = result.status[i] == kStatusValid && result.speed[i] >= kResultInvalidBelow;
            corvan::MeasurementRecord m;
            m.speed = valid ? result.speed[i] * 100.0f : kMissing;
            m.direction = valid ? static_cast<float>(result.direction[i] / kDegreesPerRadian) : kMissing;
            m.temperature = sample.temperature < kResultInvalidBelow ? kMissing : sample.temperature;
            m.optional = 0.0f;
            if (!append(m)) return false;
            previous = t;
            return true;
        },
        [&](int percent) { ui.SetProgress(percent); });
    rep.checksumErrors = stream.ChecksumErrors();
    rep.bytesRead = stream.Position();

    if (!refusal.empty()) {
        out.CloseAndRemove();
        ui.ShowMessage(MessageKind::kError, refusal);
        ui.SetProgress(100);
        return false;
    }

    bool converted = true;
    if (end == StreamEnd::kReadError) {
        ui.ShowMessage(MessageKind::kError, ReadErrorText(input.Path(), stream.ReadErrorCode()));
        converted = false;
    }
    header.count = static_cast<std::int16_t>(std::min<std::int64_t>(rep.recordsWritten, corvan::kMaxRecords));
    out.RewriteHeader(header);
    out.Close();
    if (out.Failed()) {
        ui.ShowMessage(MessageKind::kError, out.ErrorText());
        converted = false;
    }
    if (rep.capacityReached) ui.ShowMessage(MessageKind::kNote, Format(kCapacityNote, corvan::kMaxRecords, cell));
    ui.SetProgress(100);
    return converted;
}

}  // namespace tarsen
