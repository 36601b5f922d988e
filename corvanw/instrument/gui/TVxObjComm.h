#pragma once
// The link to the instrument, one instance (InstComm) owned by the main
// window and passed by reference to whoever talks to the instrument. It keeps
// the link's properties and opens a serial port, or with UseIP a TCP client
// to a serial server; tests give it an in-process link instead.

#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "instrument/byte_link.h"
#include "instrument/comm_settings.h"

Q_DECLARE_LOGGING_CATEGORY(lcInstComm)

namespace corvan {

class TVxObjComm : public QObject {
    Q_OBJECT
public:
    // Builds the link Open uses instead of the serial port or the socket.
    using LinkFactory = std::function<std::unique_ptr<ByteLink>(TVxObjComm&)>;

    static constexpr int kTcpConnectTimeoutMs = 5000;

    explicit TVxObjComm(QObject* parent = nullptr);
    ~TVxObjComm() override;

    bool Open();
    void Close();
    bool IsOpen() const;
    // One byte that has already arrived; never waits.
    bool ReadByte(std::uint8_t& byte);
    // Every byte or none; one "SEND:" trace line per write.
    bool SendString(std::span<const std::uint8_t> bytes);
    bool SendString(std::string_view text);
    bool SendByte(std::uint8_t byte) { return SendString(std::span<const std::uint8_t>(&byte, 1)); }

    bool XonXoff() const { return settings_.xonXoff; }
    void SetXonXoff(bool on);
    TDTRmode DTRMode() const { return settings_.dtrMode; }
    void SetDTRMode(TDTRmode mode);
    TRTSmode RTSMode() const { return settings_.rtsMode; }
    void SetRTSMode(TRTSmode mode);
    std::int32_t Baud() const { return settings_.baud; }
    void SetBaud(std::int32_t baud) { settings_.baud = baud; }
    std::uint8_t Port() const { return port_; }
    void SetPort(std::uint8_t port) { port_ = port; }
    std::int32_t TCPPort() const { return tcpPort_; }
    void SetTCPPort(std::int32_t port) { tcpPort_ = port; }
    char Parity() const { return settings_.parity; }
    void SetParity(char letter) { settings_.parity = letter; }
    std::uint8_t Wlen() const { return static_cast<std::uint8_t>(settings_.wordLength); }
    void SetWlen(std::uint8_t bits) { settings_.wordLength = bits; }
    std::uint8_t StopB() const { return static_cast<std::uint8_t>(settings_.stopBitsCode); }
    void SetStopB(std::uint8_t code) { settings_.stopBitsCode = code; }
    QString IPaddress() const { return ipAddress_; }
    void SetIPaddress(const QString& host) { ipAddress_ = host; }
    bool UseIP() const { return useIp_; }
    void SetUseIP(bool on) { useIp_ = on; }
    // A device path used instead of the numbered port; empty for the port.
    QString Device() const { return device_; }
    void SetDevice(const QString& path) { device_ = path; }

    // Port, speed and device as kept in section "Comm".
    void ApplySettings(const CommSettings& settings);

    // The device the serial transport opens.
    QString SerialDeviceName() const;
    SerialSettings CurrentSerialSettings() const;

    void SetLinkFactory(LinkFactory factory) { factory_ = std::move(factory); }
    ByteLink* Link() const { return link_.get(); }

signals:
    // Bytes have arrived (serial and TCP links); the receive pump may drain.
    void DataArrived();

private:
    SerialSettings settings_;
    std::uint8_t port_ = 1;
    std::int32_t tcpPort_ = 23;
    QString ipAddress_ = QStringLiteral("10.0.0.1");
    bool useIp_ = false;
    QString device_;
    LinkFactory factory_;
    std::unique_ptr<ByteLink> link_;
};

}  // namespace corvan
