#pragma once
// "Select cell": which cell of a profiler's text export to import.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace corvan {

class TdlgTarsenCell : public QDialog {
public:
    explicit TdlgTarsenCell(QWidget* parent = nullptr);

    // Offers cells 1..cells with the first chosen; the cell size is shown
    // as the header wrote it.
    void Setup(int cells, const QString& cellSize);
    // The chosen cell, or 0 when the list is empty.
    int ChosenCell() const;
    // Runs the dialog centred on the screen; the chosen cell, 0 on Cancel.
    int Execute();

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* LabelCellSize = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

}  // namespace corvan
