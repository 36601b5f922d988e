#include "instrument/gui/TInstrumentPage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "instrument/gui/TCommParamDlg.h"
#include "instrument/gui/TDownloadDlg.h"
#include "instrument/gui/TReceivePump.h"
#include "instrument/gui/TVxObjComm.h"

namespace corvan {

namespace {
constexpr const char* kSetup = "&Setup";
constexpr const char* kDownload = "&Download";
constexpr const char* kPrint = "&Print";
constexpr const char* kNoPrinter = "No printer is available.";
constexpr const char* kTerminalFont = "Fixedsys";
constexpr int kTerminalFontPixels = 13;
constexpr int kPrintPointSize = 10;
constexpr int kPenWidth = 1;
// The input box hides once its left edge comes this close to the right edge.
constexpr int kEditRightSlack = 3;
constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kBackspace = 8;

std::unique_ptr<QPrinter> DefaultPrinter() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) return nullptr;
    return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
}
}  // namespace

TTerminalPaintBox::TTerminalPaintBox(TerminalBuffer& terminal, QScrollBar& scrollBar, QWidget* parent)
    : QWidget(parent), terminal_(terminal), scrollBar_(scrollBar) {
    setObjectName(QStringLiteral("PaintBoxTerm"));
    QFont font(QString::fromLatin1(kTerminalFont));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(kTerminalFontPixels);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFrame(false);
    Edit1->setFont(font);
    Edit1->setFixedWidth(QFontMetrics(font).horizontalAdvance(QLatin1Char('M')) * 2 + 4);
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; padding: 0px; }"));
}

int TTerminalPaintBox::LineHeight() const { return QFontMetrics(font()).boundingRect(QStringLiteral("Hy")).height(); }

int TTerminalPaintBox::Margin() const { return 2 * kPenWidth; }

TerminalLayout TTerminalPaintBox::Relayout() {
    layout_ =
        LayoutTerminal(terminal_.LineCount(), height(), LineHeight(), Margin(), terminal_.Follow(), scrollBar_.value());
    {
        const QSignalBlocker block(&scrollBar_);
        scrollBar_.setEnabled(layout_.scrollEnabled);
        if (layout_.scrollEnabled) {
            scrollBar_.setRange(0, layout_.scrollMaximum);
            scrollBar_.setPageStep(layout_.largeChange);
            scrollBar_.setValue(layout_.position);
        } else {
            scrollBar_.setRange(0, 0);
        }
    }
    const int m = Margin();
    const int h = LineHeight();
    if (layout_.editVisible) {
        const QString& last = QString::fromLatin1(terminal_.Lines().back());
        const int x = m + QFontMetrics(font()).horizontalAdvance(last);
        const int y = m + layout_.editRow * h;
        Edit1->setFixedHeight(h);
        if (Edit1->pos() != QPoint(x, y)) Edit1->move(x, y);
        Edit1->setVisible(x <= width() - kEditRightSlack);
    } else {
        Edit1->setVisible(false);
    }
    return layout_;
}

void TTerminalPaintBox::paintEvent(QPaintEvent*) {
    Relayout();
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const int m = Margin();
    const int h = LineHeight();
    const int ascent = QFontMetrics(font()).ascent();
    const auto& lines = terminal_.Lines();
    for (int row = 0; row < layout_.linesDrawn; ++row) {
        const auto& line = lines[static_cast<std::size_t>(layout_.firstLine + row)];
        p.drawText(m, m + row * h + ascent, QString::fromLatin1(line));
    }
}

void TTerminalPaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void TTerminalPaintBox::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) emit WheelTurned(delta < 0 ? 1 : -1);
    event->accept();
}

QIcon PrintGlyph(bool on) {
    // A lamp beside "Print": lit while the printer takes the received text.
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(on ? QColor(0, 110, 0) : QColor(110, 110, 110), 1.2));
    p.setBrush(on ? QColor(40, 190, 40) : QColor(Qt::transparent));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.end();
    return QIcon(pixmap);
}

TInstrumentPage::TInstrumentPage(TVxObjComm& comm, TerminalBuffer& terminal, TReceivePump& pump, QWidget* parent)
    : QWidget(parent), comm_(comm), terminal_(terminal), pump_(pump), printerFactory_(&DefaultPrinter) {
    ScrollBarTerm = new QScrollBar(Qt::Vertical, this);
    ScrollBarTerm->setObjectName(QStringLiteral("ScrollBarTerm"));
    ScrollBarTerm->setEnabled(false);
    PaintBoxTerm = new TTerminalPaintBox(terminal_, *ScrollBarTerm, this);
    Edit1 = PaintBoxTerm->Edit1;
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(8);
    // Edit2 only catches keys while Edit1 is out of sight; drawn as a box it
    // would be a sliver that looks like a control and does nothing.
    Edit2->setFrame(false);
    {
        QPalette p = Edit2->palette();
        p.setColor(QPalette::Base, Qt::transparent);
        p.setColor(QPalette::Text, Qt::transparent);
        Edit2->setPalette(p);
    }
    SetupBtn = new QPushButton(QString::fromLatin1(kSetup), this);
    SetupBtn->setObjectName(QStringLiteral("SetupBtn"));
    DownloadBtn = new QPushButton(QString::fromLatin1(kDownload), this);
    DownloadBtn->setObjectName(QStringLiteral("DownloadBtn"));
    PrintBtn = new QPushButton(QString::fromLatin1(kPrint), this);
    PrintBtn->setObjectName(QStringLiteral("PrintBtn"));
    PrintBtn->setCheckable(true);
    PrintBtn->setIcon(PrintGlyph(false));
    DownloadBtn->setEnabled(false);
    PrintBtn->setEnabled(false);

    auto* side = new QVBoxLayout;
    // Clear of the window's edge and the scroll bar.
    side->setContentsMargins(6, 4, 6, 4);
    side->addWidget(SetupBtn);
    side->addWidget(DownloadBtn);
    side->addWidget(PrintBtn);
    side->addWidget(Edit2);
    side->addStretch();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(PaintBoxTerm, 1);
    row->addWidget(ScrollBarTerm);
    row->addLayout(side);

    for (QObject* o : {static_cast<QObject*>(Edit1), static_cast<QObject*>(Edit2), static_cast<QObject*>(SetupBtn)}) {
        o->installEventFilter(this);
    }
    ScrollBarTerm->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, &TInstrumentPage::CheckEdit1);
    connect(Edit2, &QLineEdit::textChanged, this, &TInstrumentPage::CheckEdit1);
    connect(SetupBtn, &QPushButton::clicked, this, &TInstrumentPage::SetupBtnClick);
    connect(DownloadBtn, &QPushButton::clicked, this, &TInstrumentPage::DownloadBtnClick);
    connect(PrintBtn, &QPushButton::toggled, this, &TInstrumentPage::PrintBtnToggled);
    connect(ScrollBarTerm, &QScrollBar::valueChanged, PaintBoxTerm, qOverload<>(&QWidget::update));
    connect(ScrollBarTerm, &QScrollBar::actionTriggered, this, [this](int) { terminal_.SetFollow(false); });
    connect(ScrollBarTerm, &QScrollBar::sliderReleased, this, &TInstrumentPage::FocusInput);
    connect(PaintBoxTerm, &TTerminalPaintBox::WheelTurned, this, [this](int steps) {
        if (!ScrollBarTerm->isEnabled()) return;
        terminal_.SetFollow(false);
        ScrollBarTerm->setValue(ScrollBarTerm->value() + steps);
    });
    connect(&pump_, &TReceivePump::TerminalLineEnded, this, [this] { ShowNewest(false); });
    connect(&pump_, &TReceivePump::TerminalTextArrived, this, [this] { ShowNewest(true); });
}

TInstrumentPage::~TInstrumentPage() { StopEcho(); }

void TInstrumentPage::SetDialogs(TCommParamDlg* commDialog, TDownloadDlg* downloadDialog) {
    commDialog_ = commDialog;
    downloadDialog_ = downloadDialog;
}

void TInstrumentPage::EnableLinkButtons() {
    DownloadBtn->setEnabled(comm_.IsOpen());
    PrintBtn->setEnabled(comm_.IsOpen());
}

void TInstrumentPage::ViewRefreshed(bool instrumentPageShown) {
    pump_.Stop();
    StopEcho();
    if (!instrumentPageShown) return;
    if (!comm_.IsOpen()) comm_.Open();
    EnableLinkButtons();
    pump_.Start();
    PaintBoxTerm->update();
}

void TInstrumentPage::FocusInput() {
    if (Edit1->isVisible()) {
        Edit1->setFocus();
    } else {
        Edit2->setFocus();
    }
}

bool TInstrumentPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBarTerm) {
        if (event->type() == QEvent::FocusIn) terminal_.SetFollow(false);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    std::uint8_t byte = 0;
    if (key->key() == Qt::Key_Backspace) {
        byte = kBackspace;
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        byte = kCarriageReturn;
    } else {
        const QString text = key->text();
        if (text.size() != 1 || text[0].unicode() > 0xFF || text[0].unicode() == 0) return false;
        byte = static_cast<std::uint8_t>(text[0].unicode());
    }
    Edit1->clear();
    comm_.SendByte(KeyByte(byte));
    return true;
}

void TInstrumentPage::CheckEdit1() {
    const QString text = Edit1->text();
    if (text.isEmpty()) return;
    terminal_.TypeAhead(text.toLatin1().toStdString());
    Edit1->clear();
}

void TInstrumentPage::ShowNewest(bool immediately) {
    PrintPendingLines();
    PaintBoxTerm->Relayout();
    if (immediately) {
        PaintBoxTerm->repaint();
    } else {
        PaintBoxTerm->update();
    }
    if (window()->isActiveWindow() && !Edit1->hasFocus()) FocusInput();
}

void TInstrumentPage::SetupBtnClick() {
    if (commDialog_) {
        RunCommSetup(*commDialog_, comm_);
        EnableLinkButtons();
    }
    FocusInput();
}

void TInstrumentPage::DownloadBtnClick() {
    if (!downloadDialog_) return;
    const TDownloadDlg::Result r = downloadDialog_->Execute();
    emit DownloadFinished(r.saved);
    FocusInput();
}

void TInstrumentPage::PrintBtnToggled(bool on) {
    PrintBtn->setIcon(PrintGlyph(on));
    if (!on) {
        StopEcho();
        return;
    }
    if (printPainter_) return;
    printer_ = printerFactory_ ? printerFactory_() : nullptr;
    auto painter = std::make_unique<QPainter>();
    if (!printer_ || !painter->begin(printer_.get())) {
        printer_.reset();
        const QSignalBlocker block(PrintBtn);
        PrintBtn->setChecked(false);
        PrintBtn->setIcon(PrintGlyph(false));
        QMessageBox::warning(this, QString::fromLatin1(kPrint).remove(QLatin1Char('&')),
                             QString::fromLatin1(kNoPrinter));
        return;
    }
    QFont font = Edit2->font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setPointSize(kPrintPointSize);
    painter->setFont(font);
    printPainter_ = std::move(painter);
    printY_ = 0;
    terminal_.SetEcho(true);
}

void TInstrumentPage::PrintPendingLines() {
    const auto lines = terminal_.TakePrintedLines();
    if (!printPainter_) return;
    const QFontMetrics fm(printPainter_->font(), printer_.get());
    const int pageHeight = printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
    for (const std::string& line : lines) {
        if (printY_ + fm.height() > pageHeight) {
            printer_->newPage();
            printY_ = 0;
        }
        printPainter_->drawText(0, printY_ + fm.ascent(), QString::fromLatin1(line));
        printY_ += fm.height();
    }
}

void TInstrumentPage::StopEcho() {
    terminal_.SetEcho(false);
    PrintPendingLines();
    if (printPainter_) {
        printPainter_->end();
        printPainter_.reset();
    }
    printer_.reset();
    if (PrintBtn && PrintBtn->isChecked()) {
        const QSignalBlocker block(PrintBtn);
        PrintBtn->setChecked(false);
        PrintBtn->setIcon(PrintGlyph(false));
    }
}

}  // namespace corvan
