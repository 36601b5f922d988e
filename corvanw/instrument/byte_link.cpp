#include "instrument/byte_link.h"

namespace corvan {

ParityKind ParityFromLetter(char letter) {
    switch (letter) {
        case 'N':
        case 'n':
            return ParityKind::None;
        case 'O':
        case 'o':
            return ParityKind::Odd;
        case 'E':
        case 'e':
            return ParityKind::Even;
        case 'M':
        case 'm':
            return ParityKind::Mark;
        case 'S':
        case 's':
            return ParityKind::Space;
        default:
            return ParityKind::None;
    }
}

StopBitsKind StopBitsFromCode(int code) {
    switch (code) {
        case 1:
            return StopBitsKind::OneAndHalf;
        case 2:
            return StopBitsKind::Two;
        default:
            return StopBitsKind::One;
    }
}

std::string SerialDeviceForPort(int port) {
#ifdef _WIN32
    return "COM" + std::to_string(port);
#else
    return "/dev/ttyS" + std::to_string(port > 0 ? port - 1 : 0);
#endif
}

bool MemoryLink::ReadByte(std::uint8_t& byte) {
    if (!open_ || incoming_.empty()) return false;
    byte = incoming_.front();
    incoming_.pop_front();
    return true;
}

bool MemoryLink::Write(std::span<const std::uint8_t> bytes) {
    if (!open_) return false;
    sent_.insert(sent_.end(), bytes.begin(), bytes.end());
    return true;
}

std::string SendTraceLine(std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = "SEND:";
    line.reserve(line.size() + bytes.size() * 4);
    for (std::uint8_t b : bytes) {
        if (b >= 0x20) {
            line += static_cast<char>(b);
        } else {
            line += "#$";
            line += kHex[b >> 4];
            line += kHex[b & 0x0F];
        }
    }
    return line;
}

}  // namespace corvan
