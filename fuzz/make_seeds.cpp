// corvan-fuzz-seeds OUTDIR: writes the starting inputs of every fuzz target
// into OUTDIR/<target>/, made by the project's own generators: the example
// deployments cut to a few records, files of every version and instrument
// type, a complete download and Tarsen files of every type. The committed
// corpora begin with these.

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/byte_io.h"
#include "data/data_set.h"
#include "data/measurement_files.h"
#include "download_stream.h"
#include "kx_test_records.h"
#include "sample_sets.h"
#include "tarsen_synth.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path gOut;

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = gOut / target;
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The measurement target's layout: flags, lengths, reference, companion,
// measurement file.
Bytes PackSet(const Bytes& cvn, const Bytes* rf6, const Bytes* ln6, std::uint8_t moreFlags = 0) {
    Bytes out;
    corvan::ByteWriter w(out);
    w.U8(static_cast<std::uint8_t>((rf6 ? 1 : 0) | (ln6 ? 2 : 0) | moreFlags));
    w.U16(static_cast<std::uint16_t>(rf6 ? rf6->size() : 0));
    w.U16(static_cast<std::uint16_t>(ln6 ? ln6->size() : 0));
    if (rf6) out.insert(out.end(), rf6->begin(), rf6->end());
    if (ln6) out.insert(out.end(), ln6->begin(), ln6->end());
    out.insert(out.end(), cvn.begin(), cvn.end());
    return out;
}

// A set written by the program's own writers, cut to `records` records in
// two series.
void WriteCutSample(corvan::DataSet& data, int records, const fs::path& folder, const std::string& name,
                    const std::string& target, std::uint8_t moreFlags) {
    data.header.count = static_cast<std::int16_t>(records);
    data.recordCount = records;
    data.series[1].first = records / 2;
    data.baseName = (folder / name).string();
    corvan::WriteMeasurementFile(data);
    corvan::WriteReferenceFile(data, 2);
    const Bytes cvn = Read(folder / (name + ".CVN"));
    const Bytes rf6 = Read(folder / (name + ".RF6"));
    Bytes ln6;
    if (data.lFilePresent) {
        for (int i = 0; i < records; ++i) {
            std::uint8_t rec[corvan::kRecordSize];
            corvan::EncodeRecord(data.lRecords[static_cast<std::size_t>(i)], rec);
            ln6.insert(ln6.end(), rec, rec + corvan::kRecordSize);
        }
    }
    Save(target, name, PackSet(cvn, &rf6, data.lFilePresent ? &ln6 : nullptr, moreFlags));
}

void MeasurementSeeds(const fs::path& work) {
    const std::string target = "measurement_files";
    corvan::samples::WriteCurrentMeterSample((work / "buoy3").string());
    corvan::samples::WriteOxygenSample((work / "oxy17").string());
    for (const char* name : {"buoy3", "oxy17"}) {
        corvan::DataSet data;
        data.baseName = (work / name).string();
        corvan::LoadMeasurementFiles(data);
        WriteCutSample(data, 40, work, std::string(name) + "-cut", target, 0);
        WriteCutSample(data, 12, work, std::string(name) + "-dos", target, 4 | 8);
    }

    // Every instrument type and sensor, with valid, invalid and missing
    // values among the records.
    for (int type = 0; type <= 12; ++type) {
        for (int sensor : {0, 1, 2, 3, 4}) {
            if (sensor > 0 && type != 1 && type != 3) continue;
            Bytes cvn(corvan::kHeaderSize);
            corvan::MeasurementFileHeader h;
            h.instrumentType = static_cast<std::uint8_t>(type);
            h.sensorKind = static_cast<std::uint8_t>(sensor);
            h.count = 8;
            h.sensorCoefficient = 1.5f;
            corvan::EncodeHeader(h, cvn.data());
            const float values[8][4] = {{12.5f, 1.0f, 8.25f, 95.0f},       {0.0f, 0.0f, -1.5f, 0.0f},
                                        {-999.0f, -999.0f, -999.0f, 3.0f}, {250.0f, 6.2f, 30.0f, 140.0f},
                                        {3545.5f, -605.2f, 7.0f, 1e10f},   {1e10f, 1e10f, 9.0f, 0.5f},
                                        {33.0f, -1.0f, 12.0f, 100.0f},     {5.0f, 3.14f, 4.0f, 80.0f}};
            for (const auto& v : values) {
                std::uint8_t rec[corvan::kRecordSize];
                corvan::EncodeRecord({v[0], v[1], v[2], v[3]}, rec);
                cvn.insert(cvn.end(), rec, rec + corvan::kRecordSize);
            }
            Bytes rf6(2 * corvan::kSeriesHeaderSize);
            corvan::SeriesHeader s1{0, 97, 2, 25, 12, 10, 600, 2, 34.5f};
            corvan::SeriesHeader s2{5, 97, 2, 26, 0, 0, 60, 1, -1.0f};
            corvan::EncodeSeriesHeader(s1, rf6.data());
            corvan::EncodeSeriesHeader(s2, rf6.data() + corvan::kSeriesHeaderSize);
            const Bytes ln6(cvn.begin() + static_cast<long>(corvan::kHeaderSize), cvn.end());
            Save(target, "type" + std::to_string(type) + "-sensor" + std::to_string(sensor),
                 PackSet(cvn, &rf6, type == 1 ? &ln6 : nullptr));
        }
    }

    // The older versions the loader converts on disk.
    for (int version : {0, 1, 2, 3}) {
        Bytes cvn;
        corvan::ByteWriter w(cvn);
        const bool oldRecords = version <= 1;
        w.I16(static_cast<std::int16_t>(version));
        w.I32(5150);
        w.U8(0);
        w.I16(6);
        w.U8(0);
        if (oldRecords) {
            w.U16(0);
        } else {
            w.F32(0.0f);
            w.I16(0);
        }
        for (int i = 0; i < 6; ++i) {
            w.F32(10.0f + static_cast<float>(i));
            w.F32(0.5f);
            w.F32(4.0f);
            if (!oldRecords) w.F32(0.0f);
        }
        Bytes rf6;
        corvan::ByteWriter r(rf6);
        for (auto [first, minutes] : {std::pair{0, 10}, std::pair{4, 1}}) {
            r.I32(first);
            r.U8(95);
            r.U8(7);
            r.U8(14);
            r.U8(9);
            r.U8(45);
            r.I16(static_cast<std::int16_t>(minutes));
            if (version == 3) r.U32(0xDEADBEEF);
        }
        Save(target, "version" + std::to_string(version), PackSet(cvn, &rf6, nullptr));
        Save(target, "version" + std::to_string(version) + "-no-reference", PackSet(cvn, nullptr, nullptr));
    }
}

void DownloadSeeds() {
    using namespace corvan::test;
    const std::string target = "download";
    for (int type : {0, 1, 2, 3, 4}) {
        const int n = 70;
        Bytes stream{0x05};
        Append(stream, CountBlock(n));
        Append(stream, WithChecksum(HeaderBlock(type, {{0, 10}, {40, 5}}, type == 3 ? 1 : 0)));
        for (int done = 0; done < n; done += 64) {
            Block b{};
            for (std::size_t k = 0; k < 64; ++k)
                PutCurrentRecord(b, 4 * k, static_cast<int>(100 + k), static_cast<int>(k * 7), 300);
            Append(stream, WithChecksum(b));
        }
        Save(target, "type" + std::to_string(type), stream);
        // One block resent after a bad checksum.
        Bytes retry{0x05};
        Append(retry, CountBlock(n, 1));
        Append(retry, CountBlockResent(n));
        Append(retry, WithChecksum(HeaderBlock(type, {{0, 10}})));
        Save(target, "type" + std::to_string(type) + "-retry", retry);
    }
}

void TarsenSeeds(const fs::path& work) {
    const std::string target = "tarsen";
    const char selectorOf[] = {0, 1, 2, 3};  // .prf, .orl, .wpr, .cpr
    for (int type = 0; type <= 6; ++type) {
        tarsen_synth::Deployment d;
        d.setup = tarsen_synth::SetupFor(type);
        d.setup.user.cells = std::min<std::uint16_t>(d.setup.user.cells, 4);
        d.profiles = 4;
        Bytes file = tarsen_synth::BuildDeployment(d);
        Bytes input{static_cast<std::uint8_t>(selectorOf[type % 4]), 1};
        input.insert(input.end(), file.begin(), file.end());
        Save(target, "type" + std::to_string(type), input);
    }
    // A time glitch and a broken record in a small profiler file.
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(2);
    d.setup.user.cells = 3;
    d.profiles = 5;
    d.edit = [](int profile, tarsen_synth::Civil& time, tarsen_synth::Profile&) {
        if (profile == 3) time = tarsen_synth::AddSeconds(time, -3600);
        return profile != 1;
    };
    tarsen_synth::FileBuilder b;
    Bytes file = tarsen_synth::BuildDeployment(d);
    Bytes input{0x18, 2};
    input.insert(input.end(), file.begin(), file.end());
    Save(target, "glitch", input);
    (void)work;
}

void QualitySeeds() {
    const std::string target = "quality";
    int n = 0;
    for (auto coordinates : {kCoordinatesEarth, kCoordinatesInstrument, kCoordinatesBeam}) {
        for (int beams : {3, 4}) {
            kxtest::Records r = kxtest::MakeRecords(20, beams, coordinates);
            kxtest::SetJanusMatrix(r.info, 25.0);
            r.params.removeBoundary = r.params.removeLowSnr = r.params.removeSpikes = r.params.removeOutliers = 1;
            r.params.boundaryMethod = n % 2 ? kBoundaryByAmplitude : kBoundaryByPressure;
            r.params.cellMapping = r.params.threeBeam = static_cast<std::uint8_t>(n % 2);
            r.sample.pitch = 3.0f;
            r.sample.roll = -2.0f;
            r.sample.heading = 45.0f;
            r.sample.pressure = 15.0f;
            for (int c = 0; c < 20; ++c) {
                for (int k = 0; k < beams; ++k) {
                    r.sample.velocity[k][c] = static_cast<std::int16_t>(100 * (k + 1) - 7 * c);
                    r.sample.amplitude[k][c] = static_cast<std::uint8_t>(180 - 5 * c);
                }
            }
            Bytes bytes(sizeof r.info + sizeof r.params + sizeof r.sample);
            std::memcpy(bytes.data(), &r.info, sizeof r.info);
            std::memcpy(bytes.data() + sizeof r.info, &r.params, sizeof r.params);
            std::memcpy(bytes.data() + sizeof r.info + sizeof r.params, &r.sample, sizeof r.sample);
            Save(target, "profile" + std::to_string(n++), bytes);
        }
    }
}

// The 6-byte real of the older instruments, exact for the values used here.
void PutReal48(Bytes& out, double v) {
    std::array<std::uint8_t, 6> r{};
    if (v != 0.0) {
        int e = 0;
        const double m = std::frexp(std::fabs(v), &e);
        const auto f = static_cast<std::uint64_t>(std::ldexp(m * 2.0 - 1.0, 39));
        r[0] = static_cast<std::uint8_t>(e - 1 + 129);
        for (int i = 1; i <= 5; ++i) r[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(f >> (8 * (i - 1)));
        if (v < 0) r[5] |= 0x80;
    }
    out.insert(out.end(), r.begin(), r.end());
}

void BelvanSeeds() {
    for (int variant = 0; variant < 3; ++variant) {
        Bytes out;
        corvan::ByteWriter w(out);
        for (int i = 0; i < 12; ++i) {
            w.I16(static_cast<std::int16_t>(variant == 2 && i == 5 ? 1 : i + 1));
            PutReal48(out, variant == 1 && i % 4 == 0 ? -1.0 : 12.5 + i);
            w.I16(static_cast<std::int16_t>(variant == 1 && i % 5 == 0 ? -1 : 30 * i % 360));
            PutReal48(out, variant == 1 && i == 3 ? -20.0 : 8.25 + 0.5 * i);
            w.I16(1994);
            for (int b : {7, 14, 9 + i / 6, (i * 10) % 60}) w.U8(static_cast<std::uint8_t>(b));
        }
        Save("belvan", "records" + std::to_string(variant), out);
    }
}

void AsciiSeeds() {
    auto sensorLine = [](const std::string& temperature) {
        std::string line;
        for (int c = 1; c < 15; ++c) line += " " + std::to_string(c * 100);
        return line + "   " + temperature + "\r\n";
    };
    auto pack = [](int cell, const std::string& hdr, const std::string& v1, const std::string& v2,
                   const std::string& sen) {
        Bytes out;
        corvan::ByteWriter w(out);
        w.U8(static_cast<std::uint8_t>(cell));
        w.U16(static_cast<std::uint16_t>(hdr.size()));
        w.U16(static_cast<std::uint16_t>(v1.size()));
        w.U16(static_cast<std::uint16_t>(v2.size()));
        for (const std::string* t : {&hdr, &v1, &v2, &sen}) out.insert(out.end(), t->begin(), t->end());
        return out;
    };
    const std::string header =
        "[ a line before ]\r\nNumber of measurements 3\r\nProfile interval 600 sec\r\nNumber of cells 2\r\n"
        "Cell size 1.00 m\r\nTime of first measurement 14/03/2024 12:10:00\r\n";
    Save("ascii_import", "two-cells",
         pack(2, header, "9 0.3\r\n9 -0,1\r\n1 2\r\n", "9 0.4\r\n9 0\r\n3 4\r\n",
              sensorLine("12,5") + sensorLine("x") + sensorLine("7")));
    Save("ascii_import", "short-files", pack(1, header, "0.0\n", "-1.0\n", sensorLine("1")));
}

void ReportSeeds() {
    const fs::path folder = fs::path(CORVAN_SOURCE_DIR) / "samples" / "report-template";
    Bytes parts{0};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = fs::relative(entry.path(), folder).generic_string();
        Bytes data = Read(entry.path());
        // The largest part is cut to what the length word holds.
        if (data.size() > 0xFFFF) data.resize(0xFFFF);
        corvan::ByteWriter w(parts);
        w.U16(static_cast<std::uint16_t>(name.size()));
        parts.insert(parts.end(), name.begin(), name.end());
        w.U16(static_cast<std::uint16_t>(data.size()));
        parts.insert(parts.end(), data.begin(), data.end());
    }
    Save("report_template", "sample-template-parts", parts);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvan-fuzz-seeds OUTDIR\n");
        return 2;
    }
    gOut = argv[1];
    const fs::path work = gOut / "work";
    try {
        fs::create_directories(work);
        MeasurementSeeds(work);
        DownloadSeeds();
        TarsenSeeds(work);
        QualitySeeds();
        BelvanSeeds();
        AsciiSeeds();
        ReportSeeds();
        fs::remove_all(work);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvan-fuzz-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
