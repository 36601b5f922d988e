#include "ui/TAboutBox.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

namespace corvan {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    ProductName = new QLabel("Corvan", this);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    ProductName->setFont(big);
    Version = new QLabel("Version: ", this);
    BuildDate = new QLabel("Build date: ", this);
    auto* fixed1 = new QLabel("Data program for self-recording current meters", this);
    auto* fixed2 = new QLabel("Download, view, print, report and correct current measurements", this);
    OKButton = new QPushButton("OK", this);
    DisclaimerButton = new QPushButton("Disclaimer", this);
    OKButton->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(ProductName);
    text->addWidget(fixed1);
    text->addWidget(fixed2);
    text->addSpacing(8);
    text->addWidget(Version);
    text->addWidget(BuildDate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DisclaimerButton);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    auto* all = new QVBoxLayout(this);
    all->addLayout(text);
    all->addSpacing(12);
    all->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(DisclaimerButton, &QPushButton::clicked, this,
            [this] { QMessageBox::information(this, "Disclaimer", BoxText(kDisclaimerText)); });
}

}  // namespace corvan
