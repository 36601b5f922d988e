#pragma once
// The main window's receive pump: a 20 ms timer that sends one typed-ahead
// character per tick and hands every received byte to an active download,
// or else to the terminal; while it runs, bytes are also taken as soon as
// the link reports them. The main window owns one and starts it only while
// the instrument page is shown.

#include <QObject>
#include <QTimer>

#include <cstdint>

#include "instrument/terminal_buffer.h"

namespace corvan {

class TVxObjComm;

// Whoever runs a download takes the bytes while it is active.
class DownloadTarget {
public:
    virtual ~DownloadTarget() = default;
    virtual bool DownloadActive() const = 0;
    virtual void DownloadByte(std::uint8_t byte) = 0;
};

class TReceivePump : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 20;
    // Bytes discarded at most when the pump starts.
    static constexpr int kDiscardLimit = 65000;

    TReceivePump(TVxObjComm& comm, TerminalBuffer& terminal, QObject* parent = nullptr);

    void SetDownloadTarget(DownloadTarget* target) { download_ = target; }
    // Drops what the link already holds and starts the timer.
    void Start();
    void Stop();
    bool Running() const { return Timer1.isActive(); }

    // One timer tick; public so tests can step the pump.
    void Tick();

    QTimer Timer1;

signals:
    // A received carriage return ended a line: scroll to the end, repaint soon.
    void TerminalLineEnded();
    // Text arrived after the last line end: scroll to the end, repaint now.
    void TerminalTextArrived();

private:
    void Drain();

    TVxObjComm& comm_;
    TerminalBuffer& terminal_;
    DownloadTarget* download_ = nullptr;
};

}  // namespace corvan
