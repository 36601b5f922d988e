#include "instrument/gui/qt_links.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace corvan {

namespace {
// The driver's queue sizes: what the port may hold before we read it.
constexpr qint64 kInputQueueBytes = 10000;
// Writes block for at most this plus so much per byte.
constexpr int kWriteTimeoutMs = 5000;
constexpr int kWriteTimeoutPerByteMs = 50;
// Compact the received text once this much of it has been read.
constexpr qsizetype kCompactAfter = 4096;

QSerialPort::Parity QtParity(char letter) {
    switch (ParityFromLetter(letter)) {
        case ParityKind::Odd:
            return QSerialPort::OddParity;
        case ParityKind::Even:
            return QSerialPort::EvenParity;
        case ParityKind::Mark:
            return QSerialPort::MarkParity;
        case ParityKind::Space:
            return QSerialPort::SpaceParity;
        case ParityKind::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::DataBits QtDataBits(int bits) {
    switch (bits) {
        case 5:
            return QSerialPort::Data5;
        case 6:
            return QSerialPort::Data6;
        case 7:
            return QSerialPort::Data7;
        default:
            return QSerialPort::Data8;
    }
}

QSerialPort::StopBits QtStopBits(int code) {
    switch (StopBitsFromCode(code)) {
        case StopBitsKind::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case StopBitsKind::Two:
            return QSerialPort::TwoStop;
        case StopBitsKind::One:
            break;
    }
    return QSerialPort::OneStop;
}
}  // namespace

QtSerialLink::QtSerialLink(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialLink::DataArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // A port that vanished (adapter pulled, instrument side closed) is
        // the only error that ends the link; set-up refusals of modem lines
        // on ports without them are not.
        if (e == QSerialPort::ResourceError) failure_ = port_.errorString().toStdString();
    });
}

QtSerialLink::~QtSerialLink() { Close(); }

bool QtSerialLink::Open(const SerialSettings& s) {
    Close();
    settings_ = s;
    failure_.clear();
    port_.setPortName(QString::fromStdString(s.device));
    if (!port_.open(QIODevice::ReadWrite)) return false;
    port_.setReadBufferSize(kInputQueueBytes);
    port_.setBaudRate(s.baud);
    port_.setDataBits(QtDataBits(s.wordLength));
    port_.setParity(QtParity(s.parity));
    port_.setStopBits(QtStopBits(s.stopBitsCode));
    ApplyFlowControl();
    SetDtrMode(s.dtrMode);
    SetRtsMode(s.rtsMode);
    port_.clearError();
    return port_.isOpen();
}

void QtSerialLink::Close() {
    if (port_.isOpen()) port_.close();
}

bool QtSerialLink::ReadByte(std::uint8_t& byte) {
    if (!port_.isOpen()) return false;
    // Take what the system holds now, so a read sees every byte that has
    // arrived, not only those the event loop has already fetched.
    if (port_.bytesAvailable() == 0) port_.waitForReadyRead(0);
    char c = 0;
    if (port_.read(&c, 1) != 1) return false;
    byte = static_cast<std::uint8_t>(c);
    return true;
}

bool QtSerialLink::Write(std::span<const std::uint8_t> bytes) {
    if (!port_.isOpen()) return false;
    const qint64 n = port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) return false;
    const int timeout = kWriteTimeoutMs + kWriteTimeoutPerByteMs * static_cast<int>(bytes.size());
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(timeout)) return false;
    }
    return true;
}

bool QtSerialLink::WaitForData(int timeoutMs) {
    if (!port_.isOpen()) return false;
    return port_.bytesAvailable() > 0 || port_.waitForReadyRead(timeoutMs);
}

void QtSerialLink::ApplyFlowControl() {
    // One flow control at a time: XON/XOFF first, then the RTS handshake.
    QSerialPort::FlowControl f = QSerialPort::NoFlowControl;
    if (settings_.xonXoff) {
        f = QSerialPort::SoftwareControl;
    } else if (settings_.rtsMode == TRTSmode::RTSHandshake) {
        f = QSerialPort::HardwareControl;
    }
    if (port_.flowControl() != f) port_.setFlowControl(f);
}

void QtSerialLink::SetXonXoff(bool on) {
    settings_.xonXoff = on;
    if (port_.isOpen()) ApplyFlowControl();
}

void QtSerialLink::SetDtrMode(TDTRmode mode) {
    settings_.dtrMode = mode;
    // The DTR handshake has no counterpart in Qt; DTR stays raised for it.
    if (port_.isOpen()) port_.setDataTerminalReady(mode != TDTRmode::DTRLow);
}

void QtSerialLink::SetRtsMode(TRTSmode mode) {
    settings_.rtsMode = mode;
    if (!port_.isOpen()) return;
    ApplyFlowControl();
    // Under the hardware handshake the driver owns RTS; toggling is not
    // offered by Qt and keeps RTS raised.
    if (port_.flowControl() != QSerialPort::HardwareControl) port_.setRequestToSend(mode != TRTSmode::RTSLow);
}

QtTcpLink::QtTcpLink(QObject* parent) : QObject(parent) {
    connect(&socket_, &QTcpSocket::connected, this, [this] { connected_ = true; });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] {
        TakeArrived();
        emit DataArrived();
    });
    // Socket errors never raise; a dropped connection shows as Failure().
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (connected_) failure_ = socket_.errorString().toStdString();
    });
}

QtTcpLink::~QtTcpLink() { Close(); }

bool QtTcpLink::Open(const QString& host, int port, int timeoutMs) {
    Close();
    failure_.clear();
    socket_.connectToHost(host, static_cast<quint16>(port));
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    connect(&socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    connect(&socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (clock.elapsed() > timeoutMs) loop.quit();
    });
    poll.start(50);
    if (!connected_ && socket_.state() != QAbstractSocket::UnconnectedState) loop.exec();
    if (!connected_) socket_.abort();
    return connected_;
}

void QtTcpLink::Close() {
    if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
    connected_ = false;
    received_.clear();
    next_ = 0;
}

void QtTcpLink::TakeArrived() {
    if (next_ >= kCompactAfter) {
        received_.remove(0, next_);
        next_ = 0;
    }
    received_.append(socket_.readAll());
}

bool QtTcpLink::ReadByte(std::uint8_t& byte) {
    if (!connected_) return false;
    if (next_ >= received_.size() && socket_.bytesAvailable() > 0) TakeArrived();
    if (next_ >= received_.size()) return false;
    byte = static_cast<std::uint8_t>(received_[next_++]);
    return true;
}

bool QtTcpLink::Write(std::span<const std::uint8_t> bytes) {
    if (!connected_ || socket_.state() != QAbstractSocket::ConnectedState) return false;
    const qint64 n = socket_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    socket_.flush();
    return n > 0;
}

bool QtTcpLink::WaitForData(int timeoutMs) {
    if (!connected_) return false;
    if (next_ < received_.size()) return true;
    if (socket_.waitForReadyRead(timeoutMs)) TakeArrived();
    return next_ < received_.size();
}

}  // namespace corvan
