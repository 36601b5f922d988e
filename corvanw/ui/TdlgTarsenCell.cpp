#include "ui/TdlgTarsenCell.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "data/ascii_import.h"

namespace corvan {

TdlgTarsenCell::TdlgTarsenCell(QWidget* parent) : QDialog(parent) {
    setObjectName("dlgTarsenCell");
    setWindowTitle(kSelectCellCaption);
    Label1 = new QLabel(kAsciiUseCellLabel, this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMinimumContentsLength(4);
    Label1->setBuddy(ComboBox1);
    LabelCellSize = new QLabel(kAsciiCellSizeLabel, this);
    LabelCellSize->setObjectName("LabelCellSize");
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(LabelCellSize, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addSpacing(6);
    top->addLayout(buttons);
}

void TdlgTarsenCell::Setup(int cells, const QString& cellSize) {
    ComboBox1->clear();
    for (int c = 1; c <= cells; ++c) ComboBox1->addItem(QString::number(c));
    if (cells > 0) ComboBox1->setCurrentIndex(0);
    LabelCellSize->setText(kAsciiCellSizeLabel + cellSize);
}

int TdlgTarsenCell::ChosenCell() const { return ComboBox1->currentIndex() < 0 ? 0 : ComboBox1->currentIndex() + 1; }

int TdlgTarsenCell::Execute() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    if (exec() != QDialog::Accepted) return 0;
    return ChosenCell();
}

}  // namespace corvan
