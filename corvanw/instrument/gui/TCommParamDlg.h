#pragma once
// "Communication parameters": port and speed of the instrument link.

#include <QDialog>
#include <QStringList>

#include <array>

class QComboBox;
class QPushButton;

namespace corvan {

class SettingsAccess;
class TVxObjComm;

class TCommParamDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNumberedPorts = 20;
    static constexpr std::array<int, 9> kSpeeds{300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 115200};

    // store may be null (nothing is written then).
    TCommParamDlg(TVxObjComm& comm, SettingsAccess* store, QWidget* parent = nullptr);

    // The serial devices offered after "Com1" .. "Com20"; by default the
    // system's (QSerialPortInfo). Set before the dialog is shown.
    void SetSystemDevices(const QStringList& devices);

    QComboBox* ComboBoxPort;
    QComboBox* ComboBoxSpeed;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void OKBtnClick();
    void FillPorts();

    TVxObjComm& comm_;
    SettingsAccess* store_;
    QStringList devices_;
};

// The "&Setup" path: the dialog, and on OK the link closed and opened again.
// Returns whether the link is open afterwards.
bool RunCommSetup(TCommParamDlg& dialog, TVxObjComm& comm);

}  // namespace corvan
