#include "ui/TSelectDlg.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStylePainter>
#include <QVBoxLayout>

#include "data/series_range.h"

namespace corvan {

namespace {
constexpr const char* kCaption = "Select first and last measurement";
constexpr const char* kLabelTexts[6] = {"Ser", "First", "Last", "Count", "Date", "Time"};

class TabbedItemDelegate : public QStyledItemDelegate {
public:
    TabbedItemDelegate(const TTabList& tabs, QObject* parent) : QStyledItemDelegate(parent), tabs_(tabs) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setBrush(option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(Qt::NoPen);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        tabs_.DrawTabbed(*painter, option.rect.adjusted(0, 1, 0, 0), index.data().toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QFontMetrics fm(option.font);
        return QSize(tabs_.Tab(6) + fm.horizontalAdvance("00:00") + 8, fm.height() + fm.leading() + 2);
    }

private:
    const TTabList& tabs_;
};
}  // namespace

void TSpinEdit::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    emit Stepped();
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
                       event->key() == Qt::Key_PageDown;
    if (!arrow && !event->text().isEmpty()) emit Typed();
    QSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    emit Left();
}

TSeriesCombo::TSeriesCombo(const TTabList& tabs, QWidget* parent) : QComboBox(parent), tabs_(tabs) {
    setItemDelegate(new TabbedItemDelegate(tabs, this));
}

void TSeriesCombo::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    p.setClipRect(field);
    p.setPen(palette().color(QPalette::Text));
    p.setBrush(Qt::NoBrush);
    const QFontMetrics fm(font());
    const int top = field.top() + (field.height() - fm.height()) / 2;
    // The stops are measured from the combo's left edge, as the list draws;
    // no brush, so the frame drawn above stays.
    const QRect r(0, top, width(), fm.height());
    const QString text = currentText();
    QPainter& painter = p;
    tabs_.DrawTabbed(painter, r, text);
}

TSelectDlg::TSelectDlg(DataSet& data, QWidget* parent) : QDialog(parent), data_(data), range_(data) {
    setWindowTitle(kCaption);
    setModal(true);

    ComboBox1 = new TSeriesCombo(tabs_, this);
    ComboBox1->setObjectName("ComboBox1");
    for (int i = 0; i < 6; ++i) {
        labels_[i] = new QLabel(kLabelTexts[i], this);
        labels_[i]->setObjectName(QString("Label%1").arg(i + 1));
    }
    SpinFirst = new TSpinEdit(this);
    SpinLast = new TSpinEdit(this);
    SpinCount = new TSpinEdit(this);
    SpinFirst->setObjectName("SpinFirst");
    SpinLast->setObjectName("SpinLast");
    SpinCount->setObjectName("SpinCount");
    for (TSpinEdit* s : {SpinFirst, SpinLast, SpinCount}) {
        s->setKeyboardTracking(true);
        s->setMinimumWidth(90);
        s->setAlignment(Qt::AlignRight);
    }
    OKBtn = new QPushButton("&OK", this);
    CancelBtn = new QPushButton("&Cancel", this);
    OKBtn->setObjectName("OKBtn");
    CancelBtn->setObjectName("CancelBtn");
    OKBtn->setDefault(true);

    // Column headings above the combo box: their edges are the tab stops,
    // so they are placed by hand on a fixed grid of character widths.
    const QFontMetrics fm(font());
    const int d = fm.horizontalAdvance('0');
    const int margin = 12;
    const int comboLeft = margin;
    const int rights[4] = {comboLeft + 4 * d, comboLeft + 12 * d, comboLeft + 20 * d, comboLeft + 28 * d};
    const int lefts[2] = {comboLeft + 31 * d, comboLeft + 41 * d};
    const int labelTop = margin;
    const int labelHeight = fm.height() + 2;
    for (int i = 0; i < 4; ++i) {
        const int w = fm.horizontalAdvance(kLabelTexts[i]) + 2;
        labels_[i]->setGeometry(rights[i] - w, labelTop, w, labelHeight);
        labels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int i = 0; i < 2; ++i) {
        labels_[4 + i]->setGeometry(lefts[i], labelTop, fm.horizontalAdvance(kLabelTexts[4 + i]) + 4, labelHeight);
    }
    tabs_.SetTab(0, 0);
    for (int i = 0; i < 4; ++i) tabs_.SetTab(i + 1, rights[i] - comboLeft);
    for (int i = 0; i < 2; ++i) tabs_.SetTab(i + 5, lefts[i] - comboLeft);

    const int itemHeight = fm.height() + fm.leading();
    const int comboWidth = 41 * d + fm.horizontalAdvance("00:00") + 3 * d + 24;
    ComboBox1->setGeometry(comboLeft, labelTop + labelHeight + 2, comboWidth,
                           std::max(itemHeight + 8, ComboBox1->sizeHint().height()));

    int y = ComboBox1->geometry().bottom() + 16;
    const char* spinCaptions[3] = {"First", "Last", "Count"};
    TSpinEdit* spins[3] = {SpinFirst, SpinLast, SpinCount};
    const int spinWidth = (comboWidth - 2 * 12) / 3;
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(spinCaptions[i], this);
        const int x = comboLeft + i * (spinWidth + 12);
        caption->setGeometry(x, y, spinWidth, labelHeight);
        caption->setBuddy(spins[i]);
        spins[i]->setGeometry(x, y + labelHeight + 2, spinWidth, spins[i]->sizeHint().height());
    }
    y = SpinFirst->geometry().bottom() + 18;
    const int buttonWidth = std::max(90, OKBtn->sizeHint().width());
    const int buttonHeight = OKBtn->sizeHint().height();
    CancelBtn->setGeometry(comboLeft + comboWidth - buttonWidth, y, buttonWidth, buttonHeight);
    OKBtn->setGeometry(comboLeft + comboWidth - 2 * buttonWidth - 8, y, buttonWidth, buttonHeight);
    setFixedSize(comboLeft + comboWidth + margin, y + buttonHeight + margin);

    SpinFirst->setRange(1, 100);
    SpinLast->setRange(1, 100);
    SpinCount->setRange(0, 100);
    SpinFirst->setValue(1);
    SpinLast->setValue(100);
    SpinCount->setValue(99);

    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, &TSelectDlg::ComboBox1Change);
    connect(SpinFirst, qOverload<int>(&QSpinBox::valueChanged), this, &TSelectDlg::SpinFirstChange);
    connect(SpinLast, qOverload<int>(&QSpinBox::valueChanged), this, &TSelectDlg::SpinLastChange);
    connect(SpinCount, qOverload<int>(&QSpinBox::valueChanged), this, &TSelectDlg::SpinCountChange);
    connect(SpinLast, &TSpinEdit::Typed, this, [this] { range_.LastKeyPressed(); });
    auto endTyping = [this] {
        if (!range_.Typing()) return;
        range_.LastTypingEnded();
        PushToSpins();
    };
    connect(SpinLast, &TSpinEdit::Left, this, endTyping);
    connect(SpinLast, &TSpinEdit::Stepped, this, endTyping);
    connect(OKBtn, &QPushButton::clicked, this, &TSelectDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TSelectDlg::Execute(bool allowCancel) {
    // A file whose series hold no measurement offers no range to choose;
    // the dialog must not trap the user then.
    bool anyRange = false;
    for (int s = 1; s <= data_.SeriesCount() && !anyRange; ++s) anyRange = !BoundsOfSeries(data_, s).Empty();
    cancelAllowed_ = allowCancel || !anyRange;
    CancelBtn->setVisible(cancelAllowed_);
    setWindowFlag(Qt::WindowCloseButtonHint, cancelAllowed_);
    const int result = exec();
    cancelAllowed_ = true;
    CancelBtn->setVisible(true);
    setWindowFlag(Qt::WindowCloseButtonHint, true);
    return result == QDialog::Accepted;
}

void TSelectDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSelectDlg::FormShow() {
    updating_ = true;
    ComboBox1->clear();
    for (int s = 1; s <= data_.SeriesCount(); ++s) {
        ComboBox1->addItem(QString::fromStdString(SeriesItemText(data_, s)));
    }
    range_.Show();
    ComboBox1->setCurrentIndex(range_.Series() - 1);
    updating_ = false;
    PushToSpins();
    SpinFirst->setFocus();
    SpinFirst->selectAll();
}

void TSelectDlg::PushToSpins() {
    updating_ = true;
    const SpinValue* values[3] = {&range_.First(), &range_.Last(), &range_.Count()};
    TSpinEdit* spins[3] = {SpinFirst, SpinLast, SpinCount};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(spins[i]);
        spins[i]->setRange(values[i]->minimum, std::max(values[i]->minimum, values[i]->maximum));
        // The spin being typed into keeps its own text.
        if (!(spins[i] == SpinLast && range_.Typing())) spins[i]->setValue(values[i]->value);
    }
    updating_ = false;
}

void TSelectDlg::ComboBox1Change(int index) {
    if (updating_ || index < 0) return;
    range_.SelectSeries(index + 1);
    PushToSpins();
}

void TSelectDlg::SpinFirstChange(int value) {
    if (updating_ || !SpinFirst->hasFocus()) return;
    range_.FirstChanged(value);
    PushToSpins();
}

void TSelectDlg::SpinLastChange(int value) {
    if (updating_ || !SpinLast->hasFocus()) return;
    range_.LastChanged(value);
    PushToSpins();
}

void TSelectDlg::SpinCountChange(int value) {
    if (updating_ || !SpinCount->hasFocus()) return;
    range_.CountChanged(value);
    PushToSpins();
}

void TSelectDlg::OKBtnClick() {
    if (range_.Typing()) {
        range_.LastTypingEnded();
        PushToSpins();
    }
    const std::string refused = range_.Accept();
    if (!refused.empty()) {
        QMessageBox::warning(this, kCaption, QString::fromStdString(refused));
        return;
    }
    accept();
}

void TSelectDlg::reject() {
    // Escape and the window manager's close both come here; after an open
    // the dialog must end with a range, so only a visible Cancel may leave.
    if (!cancelAllowed_) return;
    QDialog::reject();
}

}  // namespace corvan
