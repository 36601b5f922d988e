#pragma once
// Small pieces the correction dialogs share.

#include <QDialog>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <string>

namespace corvan {

// The system's decimal separator, as the boxes show numbers.
char SystemDecimalSeparator();

// A text box that tells when it is entered, so a dialog can move its
// default button.
class TToolEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& t) { setText(QString::fromStdString(t)); }

signals:
    void Entered();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// A named box, as the tests and the screenshots find it.
TToolEdit* NewToolEdit(QWidget* parent, const char* name, bool readOnly = false);

// The OK / Cancel / Help row of the small tool dialogs: OK is the default,
// Help stays hidden while there is no help to show. The row goes under
// `content` and the dialog keeps its natural size. `rightAligned` pushes the
// buttons to the right edge.
struct OkCancelHelp {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};
OkCancelHelp LayOutWithOkCancelHelp(QDialog* dialog, QWidget* content, bool rightAligned = true);
OkCancelHelp LayOutWithOkCancelHelp(QDialog* dialog, QLayout* content, bool rightAligned = true);

}  // namespace corvan
