#pragma once
// "Correct declination": the magnetic declination in degrees east and the
// series it applies to. RunDeclination is the whole command.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace corvan {

struct DataSet;

inline constexpr const char* kDeclinationCaption = "Correct declination";
inline constexpr const char* kNoDataLoadedMessage = "No data loaded";

class TdlgDeclination : public QDialog {
    Q_OBJECT
public:
    explicit TdlgDeclination(QWidget* parent = nullptr);

    // "All" and the series numbers 1..count, "All" chosen.
    void Prepare(int seriesCount);
    // The chosen value after OK; 0 for "All".
    double Degrees() const { return degrees_; }
    int Series() const;

    QLineEdit* EditDegrees = nullptr;
    QComboBox* ComboSeries = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    void OKBtnClick();

private:
    double degrees_ = 0;
};

// Asks for the declination and rewrites the file; true when the records
// changed (the caller then recomputes the statistics).
bool RunDeclination(QWidget* parent, DataSet& data, TdlgDeclination& dialog);

}  // namespace corvan
