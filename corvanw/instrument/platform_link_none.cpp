// Systems without a platform link yet: the command line says so.

#include "instrument/platform_link.h"

namespace corvan {

namespace {
constexpr const char* kNoLink = "no link to an instrument on this system yet";
}

bool PlatformLinksAvailable() { return false; }

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
