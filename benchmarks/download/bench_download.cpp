// A full instrument download (32767 type-0 records, 512 data blocks) fed
// byte by byte through the protocol, with no link: the program's side must
// never be what limits the line.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "data/data_set.h"
#include "instrument/download_protocol.h"
#include "instrument/download_store.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Checksum(const std::uint8_t* p, std::size_t n) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += p[i];
    return static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

void AppendBlock(Bytes& out, const std::uint8_t* block) {
    out.insert(out.end(), block, block + 256);
    out.push_back(Checksum(block, 256));
}

// What the instrument sends after the start request, every block accepted.
Bytes Stream(int type, int n) {
    Bytes s{0x05, 0x21, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n & 0xFF)};
    s.push_back(Checksum(s.data() + 2, 2));
    std::uint8_t header[256] = {};
    header[4] = 10;  // series 1: 10 minutes, 2024-05-01
    header[5] = 0x24;
    header[6] = 0x05;
    header[7] = 0x01;
    header[130] = 1;
    header[185] = static_cast<std::uint8_t>(type);
    AppendBlock(s, header);
    const int perBlock = type == 4 ? 128 : 64;
    std::uint8_t block[256];
    for (int first = 0; first < n; first += perBlock) {
        for (int k = 0; k < 256; ++k) block[k] = static_cast<std::uint8_t>(first * 7 + k * 13);
        AppendBlock(s, block);
    }
    return s;
}

void RunDownload(benchmark::State& state, int type) {
    const Bytes stream = Stream(type, corvan::kMaxRecords);
    corvan::DownloadProtocol protocol;
    for (auto _ : state) {
        protocol.Start();
        int acks = 0;
        for (std::uint8_t b : stream) acks += protocol.Feed(b) == corvan::LinkReply::Ack;
        benchmark::DoNotOptimize(acks);
        if (protocol.End() != corvan::DownloadEnd::Completed) state.SkipWithError("download did not complete");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
    state.counters["records"] = corvan::kMaxRecords;
}

void BM_DownloadType0(benchmark::State& state) { RunDownload(state, 0); }
void BM_DownloadType3(benchmark::State& state) { RunDownload(state, 3); }

// The same stream, then stored into a data set as the desktop does before
// saving.
void BM_DownloadAndStore(benchmark::State& state) {
    const Bytes stream = Stream(0, corvan::kMaxRecords);
    corvan::DownloadProtocol protocol;
    auto data = std::make_unique<corvan::DataSet>();
    for (auto _ : state) {
        protocol.Start();
        corvan::BeginDownload(*data);
        for (std::uint8_t b : stream) protocol.Feed(b);
        corvan::StoreDownload(protocol.Result(), *data);
        benchmark::DoNotOptimize(data->records.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
}

}  // namespace

BENCHMARK(BM_DownloadType0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadType3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadAndStore)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
