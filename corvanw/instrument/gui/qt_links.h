#pragma once
// The desktop's links: Qt's serial port and a TCP client behind ByteLink.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>

#include "instrument/byte_link.h"

namespace corvan {

class QtSerialLink : public QObject, public ByteLink {
    Q_OBJECT
public:
    explicit QtSerialLink(QObject* parent = nullptr);
    ~QtSerialLink() override;

    // Opens the device with the settings; false when it cannot be opened.
    bool Open(const SerialSettings& settings);

    bool IsOpen() const override { return port_.isOpen(); }
    void Close() override;
    bool ReadByte(std::uint8_t& byte) override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    bool WaitForData(int timeoutMs) override;
    std::string Failure() const override { return failure_; }
    using ByteLink::Write;

    void SetXonXoff(bool on) override;
    void SetDtrMode(TDTRmode mode) override;
    void SetRtsMode(TRTSmode mode) override;

signals:
    void DataArrived();

private:
    void ApplyFlowControl();

    QSerialPort port_;
    SerialSettings settings_;
    std::string failure_;
};

class QtTcpLink : public QObject, public ByteLink {
    Q_OBJECT
public:
    explicit QtTcpLink(QObject* parent = nullptr);
    ~QtTcpLink() override;

    // Connects and waits up to timeoutMs, keeping the window alive meanwhile.
    bool Open(const QString& host, int port, int timeoutMs);

    bool IsOpen() const override { return connected_; }
    void Close() override;
    // Served from the received text, oldest byte first.
    bool ReadByte(std::uint8_t& byte) override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    bool WaitForData(int timeoutMs) override;
    std::string Failure() const override { return failure_; }
    using ByteLink::Write;

signals:
    void DataArrived();

private:
    void TakeArrived();

    QTcpSocket socket_;
    bool connected_ = false;
    QByteArray received_;
    qsizetype next_ = 0;
    std::string failure_;
};

}  // namespace corvan
