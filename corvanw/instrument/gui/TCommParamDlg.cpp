#include "instrument/gui/TCommParamDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QShowEvent>
#include <QVBoxLayout>

#include "instrument/comm_settings.h"
#include "instrument/gui/TVxObjComm.h"

namespace corvan {

namespace {
constexpr const char* kCaption = "Communication parameters";
constexpr const char* kSelectPort = "Select port:";
constexpr const char* kSelectSpeed = "Select speed:";
constexpr const char* kOk = "&OK";
constexpr const char* kCancel = "&Cancel";
constexpr const char* kHelp = "&Help";
constexpr const char* kPortPrefix = "Com";

QStringList SystemSerialDevices() {
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) out << info.systemLocation();
    return out;
}
}  // namespace

TCommParamDlg::TCommParamDlg(TVxObjComm& comm, SettingsAccess* store, QWidget* parent)
    : QDialog(parent), comm_(comm), store_(store), devices_(SystemSerialDevices()) {
    setWindowTitle(QString::fromLatin1(kCaption));
    ComboBoxPort = new QComboBox(this);
    ComboBoxPort->setObjectName(QStringLiteral("ComboBoxPort"));
    ComboBoxPort->setEditable(false);
    ComboBoxSpeed = new QComboBox(this);
    ComboBoxSpeed->setObjectName(QStringLiteral("ComboBoxSpeed"));
    ComboBoxSpeed->setEditable(false);
    for (int speed : kSpeeds) ComboBoxSpeed->addItem(QString::number(speed), speed);
    FillPorts();

    OKBtn = new QPushButton(QString::fromLatin1(kOk), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QString::fromLatin1(kCancel), this);
    HelpBtn = new QPushButton(QString::fromLatin1(kHelp), this);
    HelpBtn->hide();
    connect(OKBtn, &QPushButton::clicked, this, &TCommParamDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromLatin1(kSelectPort), this), 0, 0);
    grid->addWidget(ComboBoxPort, 0, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(kSelectSpeed), this), 1, 0);
    grid->addWidget(ComboBoxSpeed, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);
}

void TCommParamDlg::SetSystemDevices(const QStringList& devices) {
    devices_ = devices;
    FillPorts();
}

void TCommParamDlg::FillPorts() {
    ComboBoxPort->clear();
    for (int n = 1; n <= kNumberedPorts; ++n)
        ComboBoxPort->addItem(QString::fromLatin1(kPortPrefix) + QString::number(n));
    QStringList devices = devices_;
    // A device kept in the settings stays choosable even when the system does
    // not list it (a pseudo-terminal, an adapter unplugged for now).
    if (!comm_.Device().isEmpty() && !devices.contains(comm_.Device())) devices << comm_.Device();
    for (const QString& d : devices) ComboBoxPort->addItem(d, d);
}

void TCommParamDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TCommParamDlg::FormShow() {
    FillPorts();
    int portIndex = comm_.Port() >= 1 && comm_.Port() <= kNumberedPorts ? comm_.Port() - 1 : 0;
    if (!comm_.Device().isEmpty()) {
        const int i = ComboBoxPort->findData(comm_.Device());
        if (i >= 0) portIndex = i;
    }
    ComboBoxPort->setCurrentIndex(portIndex);
    const int speedIndex = ComboBoxSpeed->findData(static_cast<int>(comm_.Baud()));
    ComboBoxSpeed->setCurrentIndex(speedIndex >= 0 ? speedIndex : ComboBoxSpeed->count() - 1);
}

void TCommParamDlg::OKBtnClick() {
    const int portIndex = ComboBoxPort->currentIndex();
    if (portIndex < kNumberedPorts) {
        comm_.SetPort(static_cast<std::uint8_t>(portIndex + 1));
        comm_.SetDevice(QString());
    } else {
        // The port number stays as it was; the device path decides.
        comm_.SetDevice(ComboBoxPort->currentData().toString());
    }
    comm_.SetBaud(ComboBoxSpeed->currentData().toInt());
    if (store_) {
        CommSettings s;
        s.port = comm_.Port();
        s.baud = comm_.Baud();
        s.device = comm_.Device().toStdString();
        SaveCommSettings(*store_, s);
    }
    accept();
}

bool RunCommSetup(TCommParamDlg& dialog, TVxObjComm& comm) {
    if (dialog.exec() == QDialog::Accepted) {
        if (comm.IsOpen()) comm.Close();
        comm.Open();
    }
    return comm.IsOpen();
}

}  // namespace corvan
