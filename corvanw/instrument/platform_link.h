#pragma once
// Links opened through the operating system directly, for the command line,
// which runs without Qt. Implemented for POSIX systems in posix_transport.cpp;
// on other systems PlatformLinksAvailable() is false and every open fails.

#include <memory>
#include <string>

#include "instrument/byte_link.h"

namespace corvan {

bool PlatformLinksAvailable();

// Whether a serial line can be set to this speed (bits per second).
bool SerialSpeedSupported(int baud);

// A serial device (or pseudo-terminal) in raw mode with the given settings.
std::unique_ptr<ByteLink> OpenSerialLink(const SerialSettings& settings, std::string& error);

// A TCP connection to a serial server; waits up to timeoutMs to connect.
std::unique_ptr<ByteLink> OpenTcpLink(const std::string& host, int port, int timeoutMs, std::string& error);

// "tcp:HOST:PORT" or a device path, 8N1 with DTR and RTS raised.
std::unique_ptr<ByteLink> OpenLinkByName(const std::string& name, int baud, std::string& error);

}  // namespace corvan
