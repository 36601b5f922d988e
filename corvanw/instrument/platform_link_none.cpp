// Systems without a platform link yet: the command line says so.

#include "instrument/platform_link.h"

namespace corvan {

namespace {
constexpr const char* kNoLink = "no link to an instrument on this system yet";
}

bool PlatformLinksAvailable() { return false; }

bool SerialSpeedSupported(int baud) {
    for (int b : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
        if (b == baud) return true;
    }
    return false;
}

std::unique_ptr<ByteLink> OpenSerialLink(const SerialSettings&, std::string& error) {
    error = kNoLink;
    return nullptr;
}

std::unique_ptr<ByteLink> OpenTcpLink(const std::string&, int, int, std::string& error) {
    error = kNoLink;
    return nullptr;
}

std::unique_ptr<ByteLink> OpenLinkByName(const std::string&, int, std::string& error) {
    error = kNoLink;
    return nullptr;
}

}  // namespace corvan
