// corvan-sim: plays a Corvan instrument for the program's download and
// terminal, on a pseudo-terminal (the slave's path is printed) or on a TCP
// port of 127.0.0.1 (printed as tcp:127.0.0.1:PORT). It stops by itself.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "sim_instrument.h"

namespace {

using namespace corvan::sim;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kStart = '1';
constexpr std::uint8_t kEnq = 0x05;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kMarker = '!';
constexpr std::uint8_t kDel = 0x7F;
constexpr std::uint8_t kCr = 0x0D;
// How long the instrument waits for the answer to its start signal.
constexpr int kStartReplyMs = 10000;
constexpr std::size_t kPacedChunk = 16;

constexpr const char* kUsage =
    "usage: corvan-sim [--tcp PORT] [--type T] [--count N] [--series LIST] [--sensor-kind K]\n"
    "                  [--coefficient HEX12] [--reference R] [--series-count-byte N] [--poke OFF=HEX]\n"
    "                  [--baud B] [--bad-block K] [--bad-times R] [--garbage N] [--timeout S] [--once]\n"
    "  LIST: first@yymmddhhmm/minutes,...   blocks: 0 count, 1 header, 2.. data\n";

struct Options {
    SimConfig config;
    bool tcp = false;
    int tcpPort = 0;
    int baud = 0;
    int badBlock = -1;
    int badTimes = 0;
    int garbage = 0;
    int timeoutSeconds = 60;
    bool once = false;
};

enum class Reply { Ack, Nak, Esc, Timeout, Closed };

class Line {
public:
    Line(int fd, int baud, Clock::time_point deadline) : fd_(fd), baud_(baud), deadline_(deadline) {}

    bool Expired() const { return Clock::now() >= deadline_; }
    long long Sent() const { return sent_; }

    bool Send(const std::vector<std::uint8_t>& bytes) {
        // The line runs from when it was last busy, or from now if it was
        // idle; late wake-ups within one burst do not slow the line down.
        lineClock_ = std::max(lineClock_, Clock::now());
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t n = baud_ > 0 ? std::min(kPacedChunk, bytes.size() - done) : bytes.size() - done;
            if (!WriteAll(bytes.data() + done, n)) return false;
            done += n;
            sent_ += static_cast<long long>(n);
            if (baud_ > 0) {
                // Ten bit times per byte: start, eight data bits, stop.
                lineClock_ += std::chrono::microseconds(static_cast<long long>(n) * 10'000'000LL / baud_);
                std::this_thread::sleep_until(lineClock_);
            }
        }
        return true;
    }
    bool Send(std::uint8_t b) { return Send(std::vector<std::uint8_t>{b}); }
    bool Send(const std::string& s) { return Send(std::vector<std::uint8_t>(s.begin(), s.end())); }

    // -1 time-out, -2 closed, else the byte.
    int Read(int timeoutMs) {
        const auto until = std::min(deadline_, Clock::now() + std::chrono::milliseconds(timeoutMs));
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0) return -1;
            pollfd p{fd_, POLLIN, 0};
            const int r = ::poll(&p, 1, static_cast<int>(left));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) return -1;
            std::uint8_t b = 0;
            const ssize_t got = ::read(fd_, &b, 1);
            if (got == 1) return b;
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            return -2;
        }
    }

    int MsLeft() const {
        return static_cast<int>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count()));
    }

private:
    bool WriteAll(const std::uint8_t* p, std::size_t n) {
        while (n > 0) {
            const ssize_t w = ::write(fd_, p, n);
            if (w > 0) {
                p += w;
                n -= static_cast<std::size_t>(w);
                continue;
            }
            if (w < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd q{fd_, POLLOUT, 0};
                if (::poll(&q, 1, MsLeft()) <= 0) return false;
                continue;
            }
            return false;
        }
        return true;
    }

    int fd_;
    int baud_;
    Clock::time_point deadline_;
    Clock::time_point lineClock_{};
    long long sent_ = 0;
};

Reply WaitReply(Line& line, int timeoutMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int left =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count());
        if (left <= 0) return Reply::Timeout;
        const int b = line.Read(left);
        if (b == -2) return Reply::Closed;
        if (b == -1) return Reply::Timeout;
        if (b == kAck) return Reply::Ack;
        if (b == kNak) return Reply::Nak;
        if (b == kEsc) return Reply::Esc;
    }
}

const char* ReplyName(Reply r) {
    switch (r) {
        case Reply::Ack:
            return "ACK";
        case Reply::Nak:
            return "NAK";
        case Reply::Esc:
            return "ESC";
        case Reply::Timeout:
            return "time-out";
        case Reply::Closed:
            return "link closed";
    }
    return "?";
}

// Sends one block until it is acknowledged; false when the download ends.
bool SendBlock(Line& line, const Options& o, int index, const std::vector<std::uint8_t>& payload, bool marker,
               int& badSent, Reply& why, Clock::time_point* sentAt = nullptr) {
    bool first = true;
    for (;;) {
        std::vector<std::uint8_t> bytes;
        // A resent count block comes without its marker.
        if (marker && first) bytes.push_back(kMarker);
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        std::uint8_t sum = Checksum(payload);
        if (index == o.badBlock && badSent < o.badTimes) {
            ++badSent;
            sum = static_cast<std::uint8_t>(sum + 1);
        }
        bytes.push_back(sum);
        first = false;
        if (!line.Send(bytes)) {
            why = Reply::Closed;
            return false;
        }
        if (sentAt) *sentAt = Clock::now();
        why = WaitReply(line, line.MsLeft());
        if (why == Reply::Ack) return true;
        if (why != Reply::Nak) return false;
    }
}

// Returns true when the download was played to its final acknowledgement.
bool RunDownload(Line& line, const Options& o) {
    const auto began = Clock::now();
    const long long sentBefore = line.Sent();
    std::vector<std::uint8_t> garbage;
    for (int i = 0; i < o.garbage; ++i) {
        auto g = static_cast<std::uint8_t>((i * 73 + 41) & 0xFF);
        if (g == kEnq) g = 0x20;
        garbage.push_back(g);
    }
    if (!garbage.empty() && !line.Send(garbage)) return false;
    if (!line.Send(kEnq)) return false;
    Reply why = WaitReply(line, kStartReplyMs);
    if (why != Reply::Ack) {
        std::fprintf(stderr, "corvan-sim: no answer to the start signal (%s)\n", ReplyName(why));
        return false;
    }
    int badSent = 0;
    bool ok = SendBlock(line, o, 0, CountPayload(o.config), true, badSent, why);
    if (ok) ok = SendBlock(line, o, 1, HeaderPayload(o.config), false, badSent, why);
    const int blocks = DataBlockCount(o.config);
    Clock::time_point lastSent = began;
    for (int b = 0; ok && b < blocks; ++b) {
        ok = SendBlock(line, o, 2 + b, DataPayload(o.config, b), false, badSent, why, &lastSent);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    if (ok) {
        // The time to the last block leaves out the final acknowledgement,
        // which waits for the user to save.
        std::fprintf(stderr, "corvan-sim: download complete: %lld bytes in %.3f s, last block sent after %.3f s\n",
                     line.Sent() - sentBefore, seconds, std::chrono::duration<double>(lastSent - began).count());
    } else {
        std::fprintf(stderr, "corvan-sim: download ended by %s after %lld bytes\n", ReplyName(why),
                     line.Sent() - sentBefore);
    }
    std::fflush(stderr);
    return ok;
}

// Terminal dialogue until the link closes or time runs out. Returns true
// when a download was played (for --once).
bool Serve(int fd, const Options& o, Clock::time_point deadline) {
    Line line(fd, o.baud, deadline);
    std::string command;
    bool played = false;
    while (!line.Expired()) {
        const int b = line.Read(line.MsLeft());
        if (b == -2) break;
        if (b == -1) continue;
        if (b == kStart && command.empty()) {
            RunDownload(line, o);
            played = true;
            if (o.once) break;
            continue;
        }
        if (b == kCr) {
            std::string answer = TerminalAnswer(o.config, command);
            command.clear();
            line.Send("\r\n" + (answer.empty() ? std::string() : answer + "\r\n") + ">");
        } else if (b == kDel) {
            if (!command.empty()) {
                command.pop_back();
                line.Send(static_cast<std::uint8_t>(8));
            }
        } else if (b >= 32 && b != kEsc) {
            command += static_cast<char>(b);
            line.Send(static_cast<std::uint8_t>(b));
        }
    }
    return played;
}

int RunPty(const Options& o, Clock::time_point deadline) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("corvan-sim: pseudo-terminal");
        return 1;
    }
    const char* name = ::ptsname(master);
    if (!name) {
        std::perror("corvan-sim: ptsname");
        return 1;
    }
    const std::string slavePath = name;
    // Holding the slave open keeps the master readable before and between
    // the program's sessions, and lets us put the line in raw mode.
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::perror("corvan-sim: slave");
        return 1;
    }
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);
    Serve(master, o, deadline);
    ::close(slave);
    ::close(master);
    return 0;
}

int RunTcp(const Options& o, Clock::time_point deadline) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(o.tcpPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener, 1) != 0) {
        std::perror("corvan-sim: listen");
        return 1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    std::printf("tcp:127.0.0.1:%d\n", ntohs(addr.sin_port));
    std::fflush(stdout);
    while (Clock::now() < deadline) {
        const int left =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, std::max(left, 0)) <= 0) continue;
        const int conn = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0) continue;
        const bool played = Serve(conn, o, deadline);
        ::close(conn);
        if (o.once && played) break;
    }
    ::close(listener);
    return 0;
}

bool ParseInt(const char* text, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (!text[0] || *end) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        const char* v = hasValue ? argv[i + 1] : "";
        bool ok = true;
        if (a == "--once") {
            o.once = true;
            continue;
        }
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!hasValue)
            ok = false;
        else if (a == "--tcp") {
            o.tcp = true;
            ok = ParseInt(v, o.tcpPort);
        } else if (a == "--type")
            ok = ParseInt(v, o.config.instrumentType);
        else if (a == "--count")
            ok = ParseInt(v, o.config.count) && o.config.count >= 0 && o.config.count <= 65535;
        else if (a == "--series")
            ok = ParseSeriesList(v, o.config.series);
        else if (a == "--sensor-kind")
            ok = ParseInt(v, o.config.sensorKind);
        else if (a == "--coefficient")
            ok = ParseHexBytes(v, o.config.coefficient) && o.config.coefficient.size() == 6;
        else if (a == "--reference")
            ok = ParseInt(v, o.config.referenceNumber);
        else if (a == "--series-count-byte")
            ok = ParseInt(v, o.config.seriesCountByte);
        else if (a == "--poke") {
            const std::string s = v;
            const auto eq = s.find('=');
            int off = 0;
            std::vector<std::uint8_t> val;
            ok = eq != std::string::npos && ParseInt(s.substr(0, eq).c_str(), off) &&
                 ParseHexBytes(s.substr(eq + 1), val) && val.size() == 1;
            if (ok) o.config.headerPokes[off] = val[0];
        } else if (a == "--baud")
            ok = ParseInt(v, o.baud) && o.baud >= 0;
        else if (a == "--bad-block")
            ok = ParseInt(v, o.badBlock);
        else if (a == "--bad-times")
            ok = ParseInt(v, o.badTimes);
        else if (a == "--garbage")
            ok = ParseInt(v, o.garbage) && o.garbage >= 0;
        else if (a == "--timeout")
            ok = ParseInt(v, o.timeoutSeconds) && o.timeoutSeconds > 0;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "corvan-sim: bad argument %s\n%s", a.c_str(), kUsage);
            return 2;
        }
        ++i;
    }
    ::signal(SIGPIPE, SIG_IGN);
    // A hard stop a little after the deadline, whatever we are blocked in.
    ::alarm(static_cast<unsigned>(o.timeoutSeconds + 5));
    const auto deadline = Clock::now() + std::chrono::seconds(o.timeoutSeconds);
    return o.tcp ? RunTcp(o, deadline) : RunPty(o, deadline);
}
