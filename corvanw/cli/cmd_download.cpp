// corvan download --port DEVICE [--baud B] -o BASE [--force] [--timeout S]:
// reads the instrument's series over a serial device or "tcp:HOST:PORT" and
// writes BASE.CVN and BASE.RF6 as the desktop program saves a download.

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/command_registry.h"
#include "data/data_set.h"
#include "data/file_error.h"
#include "instrument/download_protocol.h"
#include "instrument/download_store.h"
#include "instrument/platform_link.h"

namespace corvan::cli {
namespace {

constexpr int kDefaultIdleSeconds = 60;
// How often a wait for the instrument looks whether the user gave up.
constexpr int kInterruptPollMs = 100;

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void NoteInterrupt(int) { g_interrupted = 1; }

// While a download runs, Ctrl+C and a termination request end it the way
// Cancel does on the desktop: the instrument gets ESC instead of being left
// waiting for an acknowledgement.
class InterruptGuard {
public:
    InterruptGuard() {
        g_interrupted = 0;
        previousInt_ = std::signal(SIGINT, NoteInterrupt);
        previousTerm_ = std::signal(SIGTERM, NoteInterrupt);
    }
    ~InterruptGuard() {
        std::signal(SIGINT, previousInt_);
        std::signal(SIGTERM, previousTerm_);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*previousInt_)(int) = SIG_DFL;
    void (*previousTerm_)(int) = SIG_DFL;
};

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
    CLI::App app =
        CommandApp("download", "Reads the recorded series out of an instrument into a measurement file set.");
    DownloadArgs a;
    std::string output;
    app.add_option("-p,--port", a.port, "serial device, or tcp:HOST:PORT")->required();
    app.add_option("--baud", a.baud, "line speed the serial line supports, such as 9600")
        ->check(CLI::Validator(
            [](std::string& text) {
                const auto v = ParseInteger(text);
                return v && *v > 0 && *v <= 4000000 && SerialSpeedSupported(static_cast<int>(*v))
                           ? std::string()
                           : std::string("needs a speed the serial line supports, such as 9600");
            },
            "BAUD"));
    app.add_option("--timeout", a.idleSeconds, "seconds of silence before giving up")->check(CLI::Range(1, 86400));
    app.add_option("-o,--output", output, "base name of the file set to write")->required();
    app.add_flag("--force", a.force, "replace an existing file set (the old files are kept as backups)");
    if (const auto status = ParseCommandLine(app, args)) return *status;
    a.base = BaseNameOfArgument(output);
    if (a.base.empty()) return UsageError("download: -o BASE is required");

    const std::string cvn = MeasurementFileName(a.base);
    if (FileExists(cvn) && !a.force) return Fail(cvn, "the file already exists (--force replaces it)");
    // A folder that is not there is found out before the instrument is asked
    // for anything.
    const std::filesystem::path folder = std::filesystem::path(a.base).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
        return Fail(folder.string(), "the folder does not exist");
    if (!PlatformLinksAvailable()) return Fail(a.port, "no link to an instrument on this system yet");

    std::string error;
    std::unique_ptr<ByteLink> link = OpenLinkByName(a.port, a.baud, error);
    if (!link) return Fail(a.port, error);

    auto data = std::make_unique<DataSet>();
    DownloadProtocol protocol;
    InterruptGuard interrupts;
    protocol.Start();
    BeginDownload(*data);
    if (!link->WriteByte(kStartRequest)) return Fail(a.port, "cannot send to the instrument: " + link->Failure());

    int idleMs = 0;
    for (;;) {
        if (g_interrupted) {
            link->WriteByte(kEsc);
            return Fail(a.port, "interrupted; the instrument was told to stop");
        }
        if (!link->WaitForData(kInterruptPollMs)) {
            const std::string why = link->Failure();
            idleMs += kInterruptPollMs;
            if (why.empty() && idleMs < a.idleSeconds * 1000) continue;
            link->WriteByte(kEsc);
            return Fail(a.port, why.empty()
                                    ? "no answer from the instrument for " + std::to_string(a.idleSeconds) + " s"
                                    : why);
        }
        idleMs = 0;
        std::uint8_t byte = 0;
        while (link->ReadByte(byte)) {
            const LinkReply reply = protocol.Feed(byte);
            if (reply == LinkReply::None) continue;
            if (protocol.Phase() == DownloadPhase::Done) {
                std::fprintf(stderr, "%s\n", ProgressText(protocol.Received(), protocol.Total()).c_str());
                StoreDownload(protocol.Result(), *data);
                try {
                    SaveDownload(*data, a.base);
                } catch (const FileError& e) {
                    // Nothing safe on disk: the instrument keeps its data
                    // and is released rather than left waiting.
                    link->WriteByte(kEsc);
                    return Fail(e.FileName(), e.Reason());
                }
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
            if (!link->WriteByte(ReplyByte(reply)))
                return Fail(a.port, "cannot send to the instrument: " + link->Failure());
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
