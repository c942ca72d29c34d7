// The in-process side of the start-up benchmark: an application object that
// reports the moment a window's first frame has reached the display server,
// with the process's peak resident set and minor page faults at that moment,
// and ends the process there, so that no tear-down is counted.
#pragma once

#include <QApplication>

class QWidget;

namespace varnet::bench {

class FirstFrameProbe : public QApplication {
public:
    FirstFrameProbe(int& argc, char** argv) : QApplication(argc, argv) {}

    // From now on, the first paint of `window` (or of any widget in it)
    // ends the process: once the event that painted it has been handled
    // (the backing store is flushed within it) and, on X, the server has
    // carried out what was sent, the probe prints on standard output
    //   first_frame_ns=N vmhwm_kib=N minflt=N
    // (first_frame_ns on CLOCK_MONOTONIC, the clock of the parent that
    // timed the exec) and exits.
    void reportFirstFrameOf(QWidget& window) { window_ = &window; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QWidget* window_ = nullptr;
    bool painted_ = false;
    int depth_ = 0;
};

}  // namespace varnet::bench
