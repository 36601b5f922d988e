#pragma once
// The instrument page: the terminal on the link (PaintBoxTerm with its
// scroll bar and the input boxes Edit1 and Edit2) and the "&Setup",
// "&Download" and "&Print" buttons beside it.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

#include "instrument/terminal_buffer.h"

class QIcon;
class QLineEdit;
class QPainter;
class QPrinter;
class QPushButton;
class QScrollBar;

namespace corvan {

class TCommParamDlg;
class TDownloadDlg;
class TReceivePump;
class TVxObjComm;

// The paint box of the terminal: draws the lines the layout picks.
class TTerminalPaintBox : public QWidget {
    Q_OBJECT
public:
    TTerminalPaintBox(TerminalBuffer& terminal, QScrollBar& scrollBar, QWidget* parent = nullptr);

    int LineHeight() const;
    int Margin() const;
    // Lays out scroll bar and input box for the current lines and size.
    TerminalLayout Relayout();

    QLineEdit* Edit1;

signals:
    void WheelTurned(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TerminalBuffer& terminal_;
    QScrollBar& scrollBar_;
    TerminalLayout layout_;
};

// The on and off glyphs "&Print" shows for the printer echo.
QIcon PrintGlyph(bool on);

class TInstrumentPage : public QWidget {
    Q_OBJECT
public:
    // The printer a print job of the terminal goes to; null when none.
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

    TInstrumentPage(TVxObjComm& comm, TerminalBuffer& terminal, TReceivePump& pump, QWidget* parent = nullptr);
    ~TInstrumentPage() override;

    void SetDialogs(TCommParamDlg* commDialog, TDownloadDlg* downloadDialog);
    void SetPrinterFactory(PrinterFactory factory) { printerFactory_ = std::move(factory); }

    // Every view refresh of the main window: the printer echo ends and the
    // pump stops; on the instrument page the link is opened (if needed), the
    // buttons follow it, stale input is dropped and the pump runs.
    void ViewRefreshed(bool instrumentPageShown);
    void FocusInput();

    TTerminalPaintBox* PaintBoxTerm;
    QScrollBar* ScrollBarTerm;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* SetupBtn;
    QPushButton* DownloadBtn;
    QPushButton* PrintBtn;

signals:
    // The download dialog has closed; dataLoaded tells whether a file was
    // saved, so the main window enables the file's commands and refreshes.
    void DownloadFinished(bool dataLoaded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetupBtnClick();
    void DownloadBtnClick();
    void PrintBtnToggled(bool on);
    void StopEcho();
    void CheckEdit1();
    void ShowNewest(bool immediately);
    void PrintPendingLines();
    void EnableLinkButtons();

    TVxObjComm& comm_;
    TerminalBuffer& terminal_;
    TReceivePump& pump_;
    QPointer<TCommParamDlg> commDialog_;
    QPointer<TDownloadDlg> downloadDialog_;
    PrinterFactory printerFactory_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> printPainter_;
    int printY_ = 0;
};

}  // namespace corvan
