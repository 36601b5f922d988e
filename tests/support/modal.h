#pragma once
// Driving the modal dialogs a window opens from inside its own event loop:
// the test arms a reaction first, then triggers what opens the dialog.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace corvan::testing {

// Runs fn on the next modal window that comes up (other than `except`,
// for a dialog that is itself modal and opens another).
inline void OnNextModal(std::function<void(QWidget*)> fn, QWidget* except = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, fn, except] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w != except && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            fn(w);
        }
    });
    timer->start();
}

inline void ClickOk(QWidget* dialog) {
    auto* ok = dialog->findChild<QPushButton*>("OKBtn");
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

// The text of the next message box, which is then closed.
inline void CaptureNextMessage(QString& text) {
    OnNextModal([&text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        text = box->text();
        box->accept();
    });
}

}  // namespace corvan::testing
