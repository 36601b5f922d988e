#include "instrument/gui/TVxObjComm.h"

#include "instrument/gui/qt_links.h"

Q_LOGGING_CATEGORY(lcInstComm, "corvan.comm")

namespace corvan {

TVxObjComm::TVxObjComm(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("InstComm")); }

TVxObjComm::~TVxObjComm() { Close(); }

QString TVxObjComm::SerialDeviceName() const {
    return device_.isEmpty() ? QString::fromStdString(SerialDeviceForPort(port_)) : device_;
}

void TVxObjComm::ApplySettings(const CommSettings& s) {
    port_ = static_cast<std::uint8_t>(s.port);
    settings_.baud = s.baud;
    device_ = QString::fromStdString(s.device);
}

SerialSettings TVxObjComm::CurrentSerialSettings() const {
    SerialSettings s = settings_;
    s.device = SerialDeviceName().toStdString();
    return s;
}

bool TVxObjComm::Open() {
    Close();
    if (factory_) {
        link_ = factory_(*this);
    } else if (useIp_) {
        auto tcp = std::make_unique<QtTcpLink>();
        connect(tcp.get(), &QtTcpLink::DataArrived, this, &TVxObjComm::DataArrived);
        tcp->Open(ipAddress_, tcpPort_, kTcpConnectTimeoutMs);
        link_ = std::move(tcp);
    } else {
        auto serial = std::make_unique<QtSerialLink>();
        connect(serial.get(), &QtSerialLink::DataArrived, this, &TVxObjComm::DataArrived);
        serial->Open(CurrentSerialSettings());
        link_ = std::move(serial);
    }
    if (link_ && !link_->IsOpen()) link_.reset();
    return IsOpen();
}

void TVxObjComm::Close() {
    if (link_) {
        link_->Close();
        link_.reset();
    }
}

bool TVxObjComm::IsOpen() const { return link_ && link_->IsOpen(); }

bool TVxObjComm::ReadByte(std::uint8_t& byte) { return IsOpen() && link_->ReadByte(byte); }

bool TVxObjComm::SendString(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return false;
    const bool ok = link_->Write(bytes);
    const std::string trace = SendTraceLine(bytes);
    qCDebug(lcInstComm).noquote() << QString::fromLatin1(trace.data(), static_cast<qsizetype>(trace.size()));
    return ok;
}

bool TVxObjComm::SendString(std::string_view text) {
    return SendString(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void TVxObjComm::SetXonXoff(bool on) {
    if (on == settings_.xonXoff) return;
    settings_.xonXoff = on;
    if (IsOpen() && !useIp_) link_->SetXonXoff(on);
}

void TVxObjComm::SetDTRMode(TDTRmode mode) {
    if (mode == settings_.dtrMode) return;
    settings_.dtrMode = mode;
    if (IsOpen() && !useIp_) link_->SetDtrMode(mode);
}

void TVxObjComm::SetRTSMode(TRTSmode mode) {
    if (mode == settings_.rtsMode) return;
    settings_.rtsMode = mode;
    if (IsOpen() && !useIp_) link_->SetRtsMode(mode);
}

}  // namespace corvan
