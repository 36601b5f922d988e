#pragma once
// Answers the next modal dialog of a given kind that a click opens, so a
// test can drive the real dialogs without blocking.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace corvan::testing {

template <typename Dialog>
class ModalWatcher {
public:
    // `answer` gets the dialog and must close it.
    explicit ModalWatcher(std::function<void(Dialog*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                timer_.stop();
                ++seen_;
                answer_(d);
            }
        });
        timer_.start(5);
    }
    int Seen() const { return seen_; }

private:
    std::function<void(Dialog*)> answer_;
    QTimer timer_;
    int seen_ = 0;
};

}  // namespace corvan::testing
