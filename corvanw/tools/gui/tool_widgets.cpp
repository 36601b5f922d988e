#include "tools/gui/tool_widgets.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>

namespace corvan {

char SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

void TToolEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit Entered();
}

TToolEdit* NewToolEdit(QWidget* parent, const char* name, bool readOnly) {
    auto* e = new TToolEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

namespace {
QPushButton* NamedButton(QDialog* dialog, const char* caption, const char* name) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(name);
    return b;
}

OkCancelHelp ButtonsUnder(QDialog* dialog, QVBoxLayout* layout, bool rightAligned) {
    OkCancelHelp b{NamedButton(dialog, "OK", "OKBtn"), NamedButton(dialog, "Cancel", "CancelBtn"),
                   NamedButton(dialog, "Help", "HelpBtn")};
    b.help->hide();
    b.ok->setDefault(true);
    auto* row = new QHBoxLayout;
    if (rightAligned) row->addStretch(1);
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    row->addWidget(b.help);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return b;
}
}  // namespace

OkCancelHelp LayOutWithOkCancelHelp(QDialog* dialog, QWidget* content, bool rightAligned) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    return ButtonsUnder(dialog, layout, rightAligned);
}

OkCancelHelp LayOutWithOkCancelHelp(QDialog* dialog, QLayout* content, bool rightAligned) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(content);
    return ButtonsUnder(dialog, layout, rightAligned);
}

}  // namespace corvan
