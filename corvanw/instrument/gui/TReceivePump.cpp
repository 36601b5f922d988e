#include "instrument/gui/TReceivePump.h"

#include "instrument/gui/TVxObjComm.h"

namespace corvan {

TReceivePump::TReceivePump(TVxObjComm& comm, TerminalBuffer& terminal, QObject* parent)
    : QObject(parent), comm_(comm), terminal_(terminal) {
    Timer1.setInterval(kIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &TReceivePump::Tick);
    // The tick alone would leave each block waiting up to 20 ms for its
    // acknowledgement, which at 115200 bit/s nearly doubles the download
    // time; bytes are therefore also taken as soon as they arrive.
    connect(
        &comm_, &TVxObjComm::DataArrived, this,
        [this] {
            if (Running()) Drain();
        },
        Qt::QueuedConnection);
}

void TReceivePump::Start() {
    std::uint8_t b = 0;
    for (int n = 0; n < kDiscardLimit && comm_.ReadByte(b); ++n) {
    }
    Timer1.start();
}

void TReceivePump::Stop() { Timer1.stop(); }

void TReceivePump::Tick() {
    if (const auto c = terminal_.NextTypeAhead()) comm_.SendByte(*c);
    Drain();
}

void TReceivePump::Drain() {
    std::uint8_t b = 0;
    while (comm_.ReadByte(b)) {
        // Asked every byte: a download ends inside DownloadByte, and what
        // follows it belongs to the terminal again.
        if (download_ && download_->DownloadActive()) {
            download_->DownloadByte(b);
        } else if (terminal_.Receive(b)) {
            emit TerminalLineEnded();
        }
    }
    if (terminal_.EndOfTick()) emit TerminalTextArrived();
}

}  // namespace corvan
