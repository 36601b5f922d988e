#pragma once
// The byte link to an instrument: what the download, the terminal and the
// command line need of a serial port or a socket, and nothing more. The
// desktop wraps Qt's serial port and socket in it, the command line a
// platform implementation, and the tests an in-memory pair of queues.

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// Stored ordinals of the line-control settings.
enum class TDTRmode : std::uint8_t { DTRHigh = 0, DTRLow = 1, DTRHandshake = 2 };
enum class TRTSmode : std::uint8_t { RTSHigh = 0, RTSLow = 1, RTSHandshake = 2, RTSToggle = 3 };

enum class ParityKind : std::uint8_t { None, Odd, Even, Mark, Space };
// N, O, E, M, S in either case; every other letter means no parity.
ParityKind ParityFromLetter(char letter);

enum class StopBitsKind : std::uint8_t { One, OneAndHalf, Two };
// The driver's stop-bit code: 0 one, 1 one and a half, 2 two; others one.
StopBitsKind StopBitsFromCode(int code);

struct SerialSettings {
    std::string device;  // "COM1", "/dev/ttyUSB0", a pseudo-terminal path
    int baud = 9600;
    char parity = 'n';
    int wordLength = 8;
    int stopBitsCode = 0;
    bool xonXoff = false;
    TDTRmode dtrMode = TDTRmode::DTRHigh;
    TRTSmode rtsMode = TRTSmode::RTSHigh;
};

// The device a port number names on this system: "COM<n>" on Windows; on
// other systems the n-th standard serial port, /dev/ttyS<n-1>.
std::string SerialDeviceForPort(int port);

class ByteLink {
public:
    virtual ~ByteLink() = default;

    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // One byte that has already arrived; never waits.
    virtual bool ReadByte(std::uint8_t& byte) = 0;
    // True when every byte was accepted.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Waits up to timeoutMs for a byte; true when one can be read.
    virtual bool WaitForData(int timeoutMs) = 0;
    // Why the link stopped working (peer gone, device error); empty while well.
    virtual std::string Failure() const { return {}; }

    // Line control of an open serial link; each changes only its own part.
    virtual void SetXonXoff(bool) {}
    virtual void SetDtrMode(TDTRmode) {}
    virtual void SetRtsMode(TRTSmode) {}

    bool Write(std::string_view text) {
        return Write(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    bool WriteByte(std::uint8_t b) { return Write(std::span<const std::uint8_t>(&b, 1)); }
};

// An in-process link for tests: what the program sends lands in Sent(),
// what the "instrument" says is queued with Deliver().
class MemoryLink : public ByteLink {
public:
    bool IsOpen() const override { return open_; }
    void Close() override { open_ = false; }
    bool ReadByte(std::uint8_t& byte) override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    bool WaitForData(int) override { return open_ && !incoming_.empty(); }
    using ByteLink::Write;

    void SetOpen(bool open) { open_ = open; }
    void Deliver(std::span<const std::uint8_t> bytes) { incoming_.insert(incoming_.end(), bytes.begin(), bytes.end()); }
    void Deliver(std::string_view text) { incoming_.insert(incoming_.end(), text.begin(), text.end()); }
    std::size_t Pending() const { return incoming_.size(); }
    const std::vector<std::uint8_t>& Sent() const { return sent_; }
    void ClearSent() { sent_.clear(); }

    // Set by the line-control calls, so tests can see what changed.
    bool xonXoff = false;
    TDTRmode dtrMode = TDTRmode::DTRHigh;
    TRTSmode rtsMode = TRTSmode::RTSHigh;
    int lineControlChanges = 0;
    void SetXonXoff(bool on) override {
        xonXoff = on;
        ++lineControlChanges;
    }
    void SetDtrMode(TDTRmode m) override {
        dtrMode = m;
        ++lineControlChanges;
    }
    void SetRtsMode(TRTSmode m) override {
        rtsMode = m;
        ++lineControlChanges;
    }

private:
    bool open_ = true;
    std::deque<std::uint8_t> incoming_;
    std::vector<std::uint8_t> sent_;
};

// The diagnostic line of one write: "SEND:" and every byte, bytes below
// 0x20 as "#$" and two upper-case hexadecimal digits.
std::string SendTraceLine(std::span<const std::uint8_t> bytes);

}  // namespace corvan
