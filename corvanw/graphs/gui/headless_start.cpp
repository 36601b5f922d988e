#include "graphs/gui/headless_start.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace corvan {

namespace {
void QuietStartup(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}
}  // namespace

void PrepareHeadlessQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietStartup);
}

}  // namespace corvan
