#include "FirstFrameProbe.h"

#include <QEvent>
#include <QWidget>

#ifdef VARNET_PROBE_XCB
#include <xcb/xcb.h>
#endif

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace varnet::bench {

namespace {

long peakResidentKib() {
    long kib = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
        std::fclose(status);
    }
    return kib;
}

// A round trip to the X server: when it returns, the server has carried out
// every request sent before it, the frame's image among them.
void waitForTheDisplayServer() {
#ifdef VARNET_PROBE_XCB
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t* c = x11->connection())
            std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
#endif
}

[[noreturn]] void reportAndExit() {
    waitForTheDisplayServer();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("first_frame_ns=%lld vmhwm_kib=%ld minflt=%ld\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, peakResidentKib(),
                usage.ru_minflt);
    std::fflush(stdout);
    _exit(0);
}

}  // namespace

bool FirstFrameProbe::notify(QObject* receiver, QEvent* event) {
    if (window_ && event->type() == QEvent::Paint && receiver->isWidgetType() &&
        static_cast<QWidget*>(receiver)->window() == window_)
        painted_ = true;
    ++depth_;
    const bool result = QApplication::notify(receiver, event);
    --depth_;
    // The paint events of a frame are sent from within the handling of one
    // event (an expose or an update request), which flushes the backing
    // store before it returns.
    if (painted_ && depth_ == 0) reportAndExit();
    return result;
}

}  // namespace varnet::bench
