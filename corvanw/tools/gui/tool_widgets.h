#pragma once
// Small pieces the correction dialogs share.

#include <QLineEdit>
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

}  // namespace corvan
