#pragma once
// "&Erase measurements": TDeleteDlg asks for the run of records to replace,
// RunEraseMeasurements is the whole command on a file the user picks.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace corvan {

struct DataSet;

class TDeleteDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDeleteDlg(QWidget* parent = nullptr);

    // Shows the dialog for a file; on OK first and last hold the typed
    // numbers (-1 and -2 for text that is not a number).
    bool Ask(const QString& baseName, int& first, int& last);

    QLineEdit* EditFirst;
    QLineEdit* EditLast;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

// The "Select file" open dialog for a measurement file; the base name of the
// chosen file when its .CVN exists, else empty.
QString SelectMeasurementFile(QWidget* parent, const QString& directory);

// The erase command: the data set is dropped and loaded from the chosen
// file, the run is interpolated and the file written back with a backup.
// True when the file was written; the caller refreshes its views.
bool RunEraseMeasurements(QWidget* parent, DataSet& data, TDeleteDlg& dialog, const QString& directory);

}  // namespace corvan
