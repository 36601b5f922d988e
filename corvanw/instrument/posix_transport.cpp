// The platform layer of the command line's link on POSIX systems. A Windows
// counterpart (CreateFile on "\\.\COMn", SetCommState, Winsock) is still to
// be written; until then `corvan download` reports that it has no link there.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "instrument/platform_link.h"

namespace corvan {

namespace {

constexpr int kConnectTimeoutMs = 5000;
// Writes may take this long plus so much per byte before the link is taken
// as dead, as the serial driver's write time-outs allow.
constexpr int kWriteTimeoutMs = 5000;
constexpr int kWriteTimeoutPerByteMs = 50;
constexpr std::size_t kReadChunk = 4096;
constexpr const char* kClosedDevice = "the device was closed";
constexpr const char* kClosedConnection = "the connection was closed";

std::string SystemReason(int err) { return std::strerror(err); }

class FdLink : public ByteLink {
public:
    FdLink(int fd, bool socket) : fd_(fd), socket_(socket), buffer_(kReadChunk) {}
    ~FdLink() override { Close(); }

    bool IsOpen() const override { return fd_ >= 0; }
    void Close() override {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    std::string Failure() const override { return failure_; }

    bool ReadByte(std::uint8_t& byte) override {
        if (next_ == end_ && !Fill()) return false;
        byte = buffer_[next_++];
        return true;
    }

    bool WaitForData(int timeoutMs) override {
        if (next_ != end_) return true;
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (fd_ >= 0 && failure_.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{fd_, POLLIN, 0};
            const int r = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
            if (r < 0) {
                if (errno != EINTR) failure_ = SystemReason(errno);
                continue;
            }
            if (r == 0) return false;
            if (Fill()) return true;
            // Readable without data: the other side has gone.
            if (failure_.empty() && (p.revents & (POLLHUP | POLLERR))) failure_ = kClosedDevice;
        }
        return false;
    }

    bool Write(std::span<const std::uint8_t> bytes) override {
        if (fd_ < 0) return false;
        using Clock = std::chrono::steady_clock;
        const auto deadline =
            Clock::now() +
            std::chrono::milliseconds(kWriteTimeoutMs + kWriteTimeoutPerByteMs * static_cast<int>(bytes.size()));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t w = socket_ ? ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                                      : ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (w > 0) {
                done += static_cast<std::size_t>(w);
                continue;
            }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (left <= 0) {
                    failure_ = "write timed out";
                    return false;
                }
                pollfd p{fd_, POLLOUT, 0};
                ::poll(&p, 1, static_cast<int>(left));
                continue;
            }
            failure_ = w < 0 ? SystemReason(errno) : "nothing could be written";
            return false;
        }
        return true;
    }

protected:
    int fd_;

private:
    bool Fill() {
        if (fd_ < 0 || !failure_.empty()) return false;
        for (;;) {
            const ssize_t r =
                socket_ ? ::recv(fd_, buffer_.data(), buffer_.size(), 0) : ::read(fd_, buffer_.data(), buffer_.size());
            if (r > 0) {
                next_ = 0;
                end_ = static_cast<std::size_t>(r);
                return true;
            }
            if (r == 0) {
                // A terminal in raw mode reads 0 when it has nothing; only a
                // socket means its end.
                if (socket_) failure_ = kClosedConnection;
                return false;
            }
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return false;
            // A pseudo-terminal whose other side went away reads as EIO.
            failure_ = errno == EIO ? kClosedDevice : SystemReason(errno);
            return false;
        }
    }

    bool socket_;
    std::vector<std::uint8_t> buffer_;
    std::size_t next_ = 0;
    std::size_t end_ = 0;
    std::string failure_;
};

class SerialFdLink : public FdLink {
public:
    using FdLink::FdLink;

    void SetXonXoff(bool on) override {
        termios t{};
        if (fd_ < 0 || ::tcgetattr(fd_, &t) != 0) return;
        if (on) {
            t.c_iflag |= IXON | IXOFF;
        } else {
            t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
        }
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    void SetDtrMode(TDTRmode mode) override { SetLine(TIOCM_DTR, mode != TDTRmode::DTRLow); }
    void SetRtsMode(TRTSmode mode) override {
        termios t{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &t) == 0) {
            if (mode == TRTSmode::RTSHandshake) {
                t.c_cflag |= CRTSCTS;
            } else {
                t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
            }
            ::tcsetattr(fd_, TCSANOW, &t);
        }
        SetLine(TIOCM_RTS, mode != TRTSmode::RTSLow);
    }

private:
    // Pseudo-terminals have no modem lines; the failure is of no concern.
    void SetLine(int bit, bool raised) {
        if (fd_ >= 0) ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bit);
    }
};

bool BaudConstant(int baud, speed_t& out) {
    struct Pair {
        int baud;
        speed_t constant;
    };
    static constexpr Pair kSpeeds[] = {
        {300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const auto& p : kSpeeds) {
        if (p.baud == baud) {
            out = p.constant;
            return true;
        }
    }
    return false;
}

}  // namespace

bool PlatformLinksAvailable() { return true; }

bool SerialSpeedSupported(int baud) {
    speed_t unused{};
    return BaudConstant(baud, unused);
}

std::unique_ptr<ByteLink> OpenSerialLink(const SerialSettings& s, std::string& error) {
    speed_t speed{};
    if (!BaudConstant(s.baud, speed)) {
        error = "unsupported speed " + std::to_string(s.baud);
        return nullptr;
    }
    const int fd = ::open(s.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = SystemReason(errno);
        return nullptr;
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        error = SystemReason(errno);
        ::close(fd);
        return nullptr;
    }
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    switch (s.wordLength) {
        case 5:
            t.c_cflag |= CS5;
            break;
        case 6:
            t.c_cflag |= CS6;
            break;
        case 7:
            t.c_cflag |= CS7;
            break;
        default:
            t.c_cflag |= CS8;
            break;
    }
    switch (ParityFromLetter(s.parity)) {
        case ParityKind::Odd:
            t.c_cflag |= PARENB | PARODD;
            t.c_iflag |= INPCK;
            break;
        case ParityKind::Even:
            t.c_cflag |= PARENB;
            t.c_iflag |= INPCK;
            break;
        // Mark and space parity have no portable termios flags; the line
        // runs without parity then.
        default:
            break;
    }
    if (StopBitsFromCode(s.stopBitsCode) != StopBitsKind::One) t.c_cflag |= CSTOPB;
    if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
    if (s.rtsMode == TRTSmode::RTSHandshake) t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        error = SystemReason(errno);
        ::close(fd);
        return nullptr;
    }
    // Whatever the device held before it was opened is not an answer to us.
    ::tcflush(fd, TCIFLUSH);
    auto link = std::make_unique<SerialFdLink>(fd, false);
    link->SetDtrMode(s.dtrMode);
    if (s.rtsMode != TRTSmode::RTSHandshake) {
        int rts = TIOCM_RTS;
        ::ioctl(fd, s.rtsMode == TRTSmode::RTSLow ? TIOCMBIC : TIOCMBIS, &rts);
    }
    return link;
}

std::unique_ptr<ByteLink> OpenTcpLink(const std::string& host, int port, int timeoutMs, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = ::gai_strerror(rc);
        return nullptr;
    }
    error = "no address";
    for (addrinfo* a = found; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            error = SystemReason(errno);
            continue;
        }
        int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            rc = ::poll(&p, 1, timeoutMs);
            if (rc == 1) {
                int soError = 0;
                socklen_t len = sizeof soError;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
                rc = soError == 0 ? 0 : -1;
                errno = soError;
            } else {
                if (rc == 0) errno = ETIMEDOUT;
                rc = -1;
            }
        }
        if (rc == 0) {
            int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            ::freeaddrinfo(found);
            error.clear();
            return std::make_unique<FdLink>(fd, true);
        }
        error = SystemReason(errno);
        ::close(fd);
    }
    ::freeaddrinfo(found);
    return nullptr;
}

std::unique_ptr<ByteLink> OpenLinkByName(const std::string& name, int baud, std::string& error) {
    static constexpr std::string_view kTcpPrefix = "tcp:";
    if (name.rfind(kTcpPrefix, 0) == 0) {
        const std::string rest = name.substr(kTcpPrefix.size());
        const auto colon = rest.rfind(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size()) {
            error = "expected tcp:HOST:PORT";
            return nullptr;
        }
        std::string host = rest.substr(0, colon);
        if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
        int port = 0;
        for (char c : rest.substr(colon + 1)) {
            if (c < '0' || c > '9' || port > 65535) {
                error = "expected tcp:HOST:PORT";
                return nullptr;
            }
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) {
            error = "expected tcp:HOST:PORT";
            return nullptr;
        }
        return OpenTcpLink(host, port, kConnectTimeoutMs, error);
    }
    SerialSettings s;
    s.device = name;
    s.baud = baud;
    return OpenSerialLink(s, error);
}

}  // namespace corvan
