#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "ui/box_text.h"

namespace corvan {

inline constexpr const char* kDisclaimerText =
    "Keep backup copies of all data files. The program changes measurement files on disk "
    "(older files are converted, tools rewrite them) and keeps the previous version under a "
    "backup name, but it cannot protect data against every failure of hardware, software or "
    "handling.\r\rThe program is provided as it is, without any warranty. The author is not "
    "liable for any loss of data, loss of profit or other damage arising from its use.";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void SetProductName(const QString& name) { ProductName->setText(name); }
    void SetVersion(const QString& version) { Version->setText("Version: " + version); }
    void SetBuildDate(const QString& date) { BuildDate->setText("Build date: " + date); }

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* BuildDate = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* DisclaimerButton = nullptr;
};

}  // namespace corvan
