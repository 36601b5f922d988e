// corvan download --port DEVICE [--baud B] -o BASE [--force] [--timeout S]:
// reads the instrument's series over a serial device or "tcp:HOST:PORT" and
// writes BASE.CVN and BASE.RF6 as the desktop program saves a download.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/data_set.h"
#include "instrument/download_protocol.h"
#include "instrument/download_store.h"
#include "instrument/platform_link.h"

namespace corvan::cli {
namespace {

constexpr int kDefaultIdleSeconds = 60;

struct DownloadArgs {
    std::string port;
    int baud = 9600;
    std::string base;
    bool force = false;
    int idleSeconds = kDefaultIdleSeconds;
};

int Fail(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", subject.c_str(), reason.c_str());
    return kExitFailure;
}

int RunDownload(const std::vector<std::string>& args) {
    CLI::App app = CommandApp("download", "Reads the recorded series out of an instrument into a measurement file set.");
    DownloadArgs a;
    std::string output;
    app.add_option("-p,--port", a.port, "serial device, or tcp:HOST:PORT")->required();
    app.add_option("--baud", a.baud, "line speed")->check(CLI::Range(1, 4000000));
    app.add_option("--timeout", a.idleSeconds, "seconds of silence before giving up")->check(CLI::Range(1, 86400));
    app.add_option("-o,--output", output, "base name of the file set to write")->required();
    app.add_flag("--force", a.force, "replace an existing file set (the old files are kept as backups)");
    if (const auto status = ParseCommandLine(app, args)) return *status;
    a.base = BaseNameOfArgument(output);
    if (a.base.empty()) return UsageError("download: -o BASE is required");

    const std::string cvn = MeasurementFileName(a.base);
    if (FileExists(cvn) && !a.force) return Fail(cvn, "the file already exists (--force replaces it)");
    if (!PlatformLinksAvailable()) return Fail(a.port, "no link to an instrument on this system yet");

    std::string error;
    std::unique_ptr<ByteLink> link = OpenLinkByName(a.port, a.baud, error);
    if (!link) return Fail(a.port, error);

    auto data = std::make_unique<DataSet>();
    DownloadProtocol protocol;
    protocol.Start();
    BeginDownload(*data);
    if (!link->WriteByte(kStartRequest)) return Fail(a.port, "cannot send to the instrument: " + link->Failure());

    for (;;) {
        if (!link->WaitForData(a.idleSeconds * 1000)) {
            const std::string why = link->Failure();
            link->WriteByte(kEsc);
            return Fail(a.port, why.empty() ? "no answer from the instrument for " + std::to_string(a.idleSeconds) + " s"
                                            : why);
        }
        std::uint8_t byte = 0;
        while (link->ReadByte(byte)) {
            const LinkReply reply = protocol.Feed(byte);
            if (reply == LinkReply::None) continue;
            if (protocol.Phase() == DownloadPhase::Done) {
                std::fprintf(stderr, "%s\n", ProgressText(protocol.Received(), protocol.Total()).c_str());
                StoreDownload(protocol.Result(), *data);
                SaveDownload(*data, a.base);
                // The instrument gets its last acknowledgement once the files are safe.
                link->WriteByte(kAck);
                std::printf("%s: %d measurements, %d series\n", MeasurementFileName(a.base).c_str(),
                            data->HeaderCount(), data->SeriesCount());
                return kExitOk;
            }
            if (reply == LinkReply::Esc) {
                link->WriteByte(kEsc);
                return Fail(a.port, protocol.FailureText());
            }
            if (!link->WriteByte(ReplyByte(reply))) return Fail(a.port, "cannot send to the instrument: " + link->Failure());
            if (reply == LinkReply::Ack && protocol.Phase() == DownloadPhase::DataBlocks && protocol.Received() > 0) {
                std::fprintf(stderr, "%s\n", ProgressText(protocol.Received(), protocol.Total()).c_str());
            }
        }
    }
}

const CommandRegistrar kRegistrar("download",
                                  "download --port DEVICE|tcp:HOST:PORT [--baud B] -o BASE [--force] [--timeout S]",
                                  &RunDownload);

}  // namespace
}  // namespace corvan::cli
