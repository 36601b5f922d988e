// corvanw: the desktop program. Usage: corvanw [--screenshot PNG] [FILE]

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "ui/TfrmMain.h"
#include "ui/settings_store.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvan");
    QApplication::setOrganizationName(corvan::kOrganisationName);

    QString screenshot;
    QString file;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else {
            // The window moves the working folder to the last one used, so
            // a relative name is fixed against the folder it was typed in.
            file = QFileInfo(args[i]).absoluteFilePath();
        }
    }

    corvan::SettingsStore settings;
    settings.SeedIfNew(corvan::SettingsStore::DefaultSeedCandidates());
    corvan::TfrmMain window(settings);
    window.show();
    if (!screenshot.isEmpty()) {
        // Grab the window (and the range dialog over it) once both are
        // painted, then close; the range dialog is accepted as shown.
        QTimer::singleShot(1500, &window, [&window, screenshot] {
            QWidget* top = QApplication::activeModalWidget();
            QScreen* screen = window.screen();
            const QRect area = window.frameGeometry().united(top ? top->frameGeometry() : QRect());
            QPixmap shot =
                screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : window.grab();
            if (shot.isNull() || shot.toImage().allGray()) shot = window.grab();
            shot.save(screenshot);
            if (top) {
                top->grab().save(QString(screenshot).replace(".png", "-dialog.png"));
                if (auto* ok = top->findChild<QPushButton*>("OKBtn")) {
                    QMetaObject::invokeMethod(ok, "click", Qt::QueuedConnection);
                } else {
                    QMetaObject::invokeMethod(top, "accept", Qt::QueuedConnection);
                }
            }
            QTimer::singleShot(800, &window, [&window, screenshot] {
                window.grab().save(QString(screenshot).replace(".png", "-list.png"));
                window.actMatrix->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-matrix.png"));
                window.actSummary->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-summary.png"));
                window.toolLine->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-line.png"));
                window.toolBar->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-bar.png"));
                window.vectorItems[0]->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-vector.png"));
                window.vectorItems[1]->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-sectors.png"));
                window.actInstrument->trigger();
                window.grab().save(QString(screenshot).replace(".png", "-instrument.png"));
                window.close();
            });
        });
    }
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, file] { window.OpenMeasurementFile(file); });
    }
    return app.exec();
}
