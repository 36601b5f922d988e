#pragma once
// "\r" is the line break of the program's message texts; Qt's message boxes
// break lines at "\n".

#include <QString>

namespace corvan {

inline QString BoxText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace corvan
