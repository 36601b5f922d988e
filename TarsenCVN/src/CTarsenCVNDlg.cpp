#include "CTarsenCVNDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace tarsen {

namespace {

constexpr const char* kFilenamePlaceholder = "Filename";
constexpr const char* kPositionHeading = "Position";
constexpr const char* kCellNumberHeading = "Cell number";
constexpr const char* kDistanceHeading = "Distance from head";
constexpr const char* kMetersText = "meters";
constexpr const char* kQualityHeading = "Quality Control";
constexpr const char* kRowCaptions[kPositionCount] = {"&Surface", "&Center", "&Bottom"};
constexpr const char* kRowNames[kPositionCount] = {"Surface", "Center", "Bottom"};
// Control identifiers of each row: check box, cell edit, spin, distance.
constexpr int kRowIds[kPositionCount][4] = {
    {1017, 1001, 1002, 1004}, {1018, 1010, 1012, 1013}, {1019, 1014, 1015, 1016}};
constexpr const char* kRemoveLowSnrCaption = "&Remove low SNR";
constexpr const char* kRemoveSpikesCaption = "R&emove SNR spikes";
constexpr const char* kRemoveBoundaryCaption = "Re&move boundary";
constexpr const char* kUsePressureCaption = "&Use pressure (uplooking)";
constexpr const char* kUseAcousticCaption = "Use acous&tic amplitude (downlooking)";
constexpr const char* kOkCaption = "Ok";
constexpr const char* kCancelCaption = "Cancel";
constexpr const char* kCellRangeMessage = "Enter a cell number from 1 to 128.";
// The dialog's size in dialog units (a quarter of the average character
// width, an eighth of the character height).
constexpr int kWidthUnits = 180;
constexpr int kHeightUnits = 216;

void Tag(QWidget* w, const QString& name, int id) {
    w->setObjectName(name);
    w->setProperty("controlId", id);
}

QString BoxText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace("\r\n", "\n");
    s.replace('\r', '\n');
    return s;
}

QFrame* HorizontalLine() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QHBoxLayout* Heading(const char* text) {
    auto* h = new QHBoxLayout;
    h->addWidget(new QLabel(text));
    h->addWidget(HorizontalLine(), 1);
    return h;
}

}  // namespace

// A path that does not fit loses its middle, so both the drive and the
// file name stay readable.
class ElidedPathLabel final : public QLabel {
public:
    ElidedPathLabel() { setMinimumWidth(1); }
    void SetPath(const QString& path) {
        path_ = path;
        setToolTip(path);
        Elide();
    }
    const QString& Path() const { return path_; }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QLabel::resizeEvent(e);
        Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(1, contentsRect().width()))); }
    QString path_;
};

// Up and down arrows attached to the cell edit before them: a click writes
// the next number of the range into the edit.
class UpDownSpin final : public QWidget {
public:
    UpDownSpin(QLineEdit* buddy, std::function<void()> beforeStep) : buddy_(buddy), beforeStep_(std::move(beforeStep)) {
        auto* v = new QVBoxLayout(this);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(0);
        up_ = Arrow(Qt::UpArrow, +1);
        down_ = Arrow(Qt::DownArrow, -1);
        v->addWidget(up_);
        v->addWidget(down_);
    }
    void SetRange(int lowest, int highest) {
        lowest_ = lowest;
        highest_ = std::max(lowest, highest);
    }
    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }
    void Step(int by) {
        bool ok = false;
        int v = buddy_->text().toInt(&ok);
        v = ok ? std::clamp(v + by, lowest_, highest_) : lowest_;
        if (beforeStep_) beforeStep_();
        buddy_->setText(QString::number(v));
    }

private:
    QToolButton* Arrow(Qt::ArrowType type, int by) {
        auto* b = new QToolButton(this);
        b->setArrowType(type);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setObjectName(by > 0 ? "Up" : "Down");
        b->setFixedSize(16, 11);
        connect(b, &QToolButton::clicked, this, [this, by] { Step(by); });
        return b;
    }

    QLineEdit* buddy_;
    std::function<void()> beforeStep_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int lowest_ = kLowestCellNumber;
    int highest_ = kHighestCellNumber;
};

CTarsenCVNDlg::CTarsenCVNDlg(const std::string& inputPathUtf8, QWidget* parent)
    : QDialog(parent), inputPath_(inputPathUtf8) {
    setWindowTitle(kImportDialogCaption);
    setObjectName("CTarsenCVNDlg");
    BuildControls();
}

CTarsenCVNDlg::~CTarsenCVNDlg() {
    // The edits lose the focus while the widgets are torn down; the update
    // must not run on a half-destroyed dialog.
    for (Row& r : rows_) {
        if (r.cell) r.cell->removeEventFilter(this);
    }
}

void CTarsenCVNDlg::BuildControls() {
    auto* top = new QVBoxLayout(this);
    top->setSpacing(4);

    fileName_ = new ElidedPathLabel;
    Tag(fileName_, "FileName", 1011);
    fileName_->SetPath(kFilenamePlaceholder);
    top->addWidget(fileName_);

    top->addLayout(Heading(kPositionHeading));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(kCellNumberHeading), 0, 1, 1, 2);
    grid->addWidget(new QLabel(kDistanceHeading), 0, 3, 1, 2);
    const int digitWidth = fontMetrics().horizontalAdvance("0000") + 10;
    for (int p = 0; p < kPositionCount; ++p) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const QString name = kRowNames[p];
        r.check = new QCheckBox(kRowCaptions[p]);
        Tag(r.check, "Check" + name, kRowIds[p][0]);
        r.cell = new QLineEdit;
        Tag(r.cell, "Cell" + name, kRowIds[p][1]);
        r.cell->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), r.cell));
        r.cell->setFixedWidth(digitWidth);
        r.cell->installEventFilter(this);
        r.spin = new UpDownSpin(r.cell, [this] { spinClicked_ = true; });
        Tag(r.spin, "Spin" + name, kRowIds[p][2]);
        r.distance = new QLineEdit;
        Tag(r.distance, "Distance" + name, kRowIds[p][3]);
        r.distance->setReadOnly(true);
        r.distance->setFixedWidth(digitWidth + 8);
        connect(r.cell, &QLineEdit::textChanged, this, [this] {
            if (!spinClicked_) return;
            spinClicked_ = false;
            Update();
        });
        connect(r.check, &QCheckBox::clicked, this, [this] { Update(); });

        auto* cellBox = new QHBoxLayout;
        cellBox->setSpacing(0);
        cellBox->addWidget(r.cell);
        cellBox->addWidget(r.spin);
        grid->addWidget(r.check, p + 1, 0);
        grid->addLayout(cellBox, p + 1, 1, 1, 2, Qt::AlignLeft);
        grid->addWidget(r.distance, p + 1, 3);
        grid->addWidget(new QLabel(kMetersText), p + 1, 4);
    }
    grid->setColumnStretch(5, 1);
    top->addLayout(grid);

    top->addLayout(Heading(kQualityHeading));
    removeLowSnr_ = new QCheckBox(kRemoveLowSnrCaption);
    Tag(removeLowSnr_, "RemoveLowSnr", 1005);
    removeSpikes_ = new QCheckBox(kRemoveSpikesCaption);
    Tag(removeSpikes_, "RemoveSpikes", 1006);
    removeBoundary_ = new QCheckBox(kRemoveBoundaryCaption);
    Tag(removeBoundary_, "RemoveBoundary", 1007);
    usePressure_ = new QRadioButton(kUsePressureCaption);
    Tag(usePressure_, "UsePressure", 1008);
    useAcoustic_ = new QRadioButton(kUseAcousticCaption);
    Tag(useAcoustic_, "UseAcoustic", 1009);
    for (QCheckBox* c : {removeLowSnr_, removeSpikes_, removeBoundary_}) {
        top->addWidget(c);
        connect(c, &QCheckBox::clicked, this, [this] { Update(); });
    }
    for (QRadioButton* r : {usePressure_, useAcoustic_}) {
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(r);
        top->addLayout(indented);
        connect(r, &QRadioButton::clicked, this, [this] { Update(); });
    }

    progress_ = new QProgressBar;
    Tag(progress_, "Progress", 1000);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setFormat("%p%");
    progress_->setTextVisible(true);
    progress_->setAlignment(Qt::AlignCenter);
    top->addSpacing(4);
    top->addWidget(progress_);

    ok_ = new QPushButton(kOkCaption);
    Tag(ok_, "OKBtn", 1);
    ok_->setDefault(true);
    cancel_ = new QPushButton(kCancelCaption);
    Tag(cancel_, "CancelBtn", 2);
    // A click on the buttons leaves the focus where it is: a cell refused
    // when its edit lost the focus to "Ok" must not be followed by the
    // conversion that click would start.
    ok_->setFocusPolicy(Qt::TabFocus);
    cancel_->setFocusPolicy(Qt::TabFocus);
    connect(ok_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    top->addLayout(buttons);

    // At least the size the dialog was designed with in dialog units, larger
    // only when the fonts need it.
    const QFontMetrics fm(font());
    const int unitsX = fm.averageCharWidth();
    const int unitsY = fm.height();
    const QSize designed(kWidthUnits * unitsX / 4, kHeightUnits * unitsY / 8);
    resize(designed.expandedTo(sizeHint()));
}

bool CTarsenCVNDlg::OnInitDialog() {
    fileName_->SetPath(QString::fromStdString(inputPath_));
    if (!file_.ReadConfiguration(inputPath_, *this)) return false;
    if (const std::string refusal = GeometryRefusal(file_); !refusal.empty()) {
        ShowMessage(MessageKind::kError, refusal);
        file_.Close();
        return false;
    }
    for (Row& r : rows_) r.spin->SetRange(kLowestCellNumber, kHighestCellNumber);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    values_ = InitialDialogValues(file_.Config());
    for (int p = 0; p < kPositionCount; ++p) {
        rows_[static_cast<std::size_t>(p)].check->setEnabled(values_.rows[static_cast<std::size_t>(p)].usable);
    }
    ShowValues();
    Update();
    return true;
}

int CTarsenCVNDlg::Result() const { return ExportResult(values_, outcome_); }

bool CTarsenCVNDlg::ReadValues() {
    bool allRead = true;
    for (int p = 0; p < kPositionCount; ++p) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        PositionRow& v = values_.rows[static_cast<std::size_t>(p)];
        v.selected = v.usable && r.check->isChecked();
        if (const auto n = ReadCellNumber(r.cell->text().toStdString())) {
            v.cell = *n;
        } else if (allRead) {
            allRead = false;
            QMessageBox::warning(this, kImportDialogCaption, kCellRangeMessage);
            r.cell->setText(QString::number(v.cell));
            r.cell->setFocus();
            r.cell->selectAll();
        } else {
            r.cell->setText(QString::number(v.cell));
        }
    }
    values_.removeLowSnr = removeLowSnr_->isChecked();
    values_.removeSpikes = removeSpikes_->isChecked();
    values_.removeBoundary = removeBoundary_->isChecked();
    values_.boundaryMethod = usePressure_->isChecked() ? kBoundaryPressure : kBoundaryAcoustic;
    return allRead;
}

void CTarsenCVNDlg::ShowValues() {
    for (int p = 0; p < kPositionCount; ++p) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const PositionRow& v = values_.rows[static_cast<std::size_t>(p)];
        r.check->setChecked(v.selected);
        // The update must not run again from the texts it writes itself.
        const bool mark = spinClicked_;
        spinClicked_ = false;
        r.cell->setText(QString::number(v.cell));
        spinClicked_ = mark;
        r.distance->setText(QString::number(v.distance, 'f', 1));
    }
    removeLowSnr_->setChecked(values_.removeLowSnr);
    removeSpikes_->setChecked(values_.removeSpikes);
    removeBoundary_->setChecked(values_.removeBoundary);
    usePressure_->setChecked(values_.boundaryMethod == kBoundaryPressure);
    useAcoustic_->setChecked(values_.boundaryMethod != kBoundaryPressure);
}

bool CTarsenCVNDlg::Update() {
    if (updating_) return true;
    updating_ = true;
    const bool read = ReadValues();
    UpdateDialogValues(values_, file_.Config());
    ShowValues();
    const int last = LastCellOf(file_.Config());
    for (int p = 0; p < kPositionCount; ++p) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        r.spin->SetRange(kLowestCellNumber, last);
        const bool on = r.check->isChecked();
        r.cell->setEnabled(on);
        r.spin->setEnabled(on);
        r.distance->setEnabled(on);
    }
    usePressure_->setEnabled(removeBoundary_->isChecked());
    useAcoustic_->setEnabled(removeBoundary_->isChecked());
    updating_ = false;
    return read;
}

void CTarsenCVNDlg::OKBtnClick() {
    if (converting_) return;
    if (!Update()) return;
    converting_ = true;
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    outcome_ = ConvertSelectedPositions(file_, values_, *this);
    ShowValues();
    file_.Close();
    converting_ = false;
    accept();
}

void CTarsenCVNDlg::reject() {
    if (converting_) return;
    QDialog::reject();
}

void CTarsenCVNDlg::closeEvent(QCloseEvent* event) {
    if (converting_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool CTarsenCVNDlg::eventFilter(QObject* watched, QEvent* event) {
    for (Row& r : rows_) {
        if (watched != r.cell) continue;
        if (event->type() == QEvent::FocusOut && !converting_) {
            Update();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                r.spin->Step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CTarsenCVNDlg::ShowMessage(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::kError) {
        QMessageBox::warning(this, kImportDialogCaption, BoxText(text));
    } else {
        QMessageBox::information(this, kImportDialogCaption, BoxText(text));
    }
}

bool CTarsenCVNDlg::AskTimeGlitch(int, const std::string& text) {
    return QMessageBox::question(this, kImportDialogCaption, BoxText(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void CTarsenCVNDlg::SetProgress(int percent) {
    progress_->setValue(std::clamp(percent, 0, 100));
    // Paint and keep the window alive, but take no clicks or keys while a
    // cell is being converted.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int RunImportDialog(const std::string& inputPathUtf8, QWidget* parent) {
    CTarsenCVNDlg dialog(inputPathUtf8, parent);
    if (!dialog.OnInitDialog()) return -1;
    dialog.exec();
    return dialog.Result();
}

}  // namespace tarsen
