// Starts a program on the X display and times from the outside what it puts
// on the screen, so that any program, whatever its toolkit, is measured the
// same way (times from the fork that execs it):
//   first frame  the first drawing of the program's own on one of its
//                top-level windows, as the DAMAGE extension reports it;
//   settled      the last such drawing before a quiet period (a second by
//                default) in which none of its windows changes.
// A top-level window is a child of the root window created after the start;
// it is the program's when its _NET_WM_PID names the started process (the
// window manager's frames carry none). Damage on a window covers what is
// drawn into its subwindows too. Two kinds of damage on the program's
// windows are not its own drawing and do not count: the server painting a
// window's background when it is mapped, before the window's first
// exposure (a program draws in answer to that); and the window manager's
// frame drawn over the edge of a window it is resizing, which falls outside
// the window's last extent.
//
// Besides the times it reports the program's peak resident set (VmHWM) and
// minor page faults as they stand at the first frame (read when the tool
// handles the damage, at most once a millisecond) and once the program has
// settled, just before it is ended.
//
// Usage: varnet_x_frame_timer [--trace] [--close] [--quiet-ms N] [--timeout-ms N] PROGRAM [ARGS...]
// Prints one line:
//   first_frame_ms=... settled_ms=... frame_hwm_kib=... frame_minflt=...
//   peak_rss_kib=... minflt=... windows=... damages=...
// With --trace every damage to the program's windows goes to standard error
// as it comes. With --close the program is ended by asking its windows to
// close, as a user would (so that it may save its settings), rather than by
// SIGTERM.
// The program's standard output goes to standard error.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The program runs in a process group of its own, which an interrupt at the
// terminal does not reach: the tool ends it when it is ended itself.
volatile pid_t runningGroup = 0;

void endProgramAndExit(int signal) {
    if (runningGroup > 0) kill(-runningGroup, SIGKILL);
    _exit(128 + signal);
}

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The figures of /proc that a run reports.
struct ProcessFigures {
    long hwmKib = -1;
    long minflt = -1;
};

ProcessFigures readFigures(pid_t pid) {
    ProcessFigures f;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) f.hwmKib = std::strtol(line.c_str() + 6, nullptr, 10);
    std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // The command name may hold blanks and parentheses; the fields after
    // its closing parenthesis are state, ppid, pgrp, session, tty_nr, tpgid,
    // flags, minflt.
    const auto close = stat.rfind(')');
    if (close != std::string::npos) {
        std::istringstream fields(stat.substr(close + 1));
        std::string field;
        for (int k = 0; k < 8 && fields >> field; ++k)
            if (k == 7) f.minflt = std::strtol(field.c_str(), nullptr, 10);
    }
    return f;
}

enum class Owner { Unknown, Program, Other };

struct Damaged {
    double ms;
    XRectangle area;
    bool beforeExposure;
};

struct Tracked {
    Owner owner = Owner::Unknown;
    // Drawing on a window that is mapped but not yet exposed is the server
    // painting its background, not the program drawing; a window already
    // mapped when the tool began to watch it may have had its exposure
    // unseen, and counts as exposed.
    bool exposed = false;
    int width = 0, height = 0;  // as it stands last
    std::vector<Damaged> damage;
};

struct Reading {
    double ms;
    ProcessFigures figures;
};

// Windows vanish while we look at them (a pop-up closes, a frame goes);
// the requests that then fail are of no consequence.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

void usage(const char* self) {
    std::fprintf(stderr, "usage: %s [--trace] [--close] [--quiet-ms N] [--timeout-ms N] PROGRAM [ARGS...]\n",
                 self);
}

class Timer {
public:
    Timer(Display* dpy, int damageEvent, bool trace)
        : dpy_(dpy),
          root_(DefaultRootWindow(dpy)),
          damageEvent_(damageEvent),
          trace_(trace),
          pidAtom_(XInternAtom(dpy, "_NET_WM_PID", False)) {}

    void start(char** argv) {
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        XSync(dpy_, False);
        fcntl(ConnectionNumber(dpy_), F_SETFD, FD_CLOEXEC);
        start_ = nowMs();
        pid_ = fork();
        if (pid_ > 0) {
            setpgid(pid_, pid_);
            runningGroup = pid_;
        }
        if (pid_ == 0) {
            setpgid(0, 0);
            dup2(2, 1);
            execvp(argv[0], argv);
            std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(errno));
            _exit(127);
        }
    }
    pid_t pid() const { return pid_; }

    // Follows the program until it has drawn nothing for quietMs; false when
    // it ended, or did not settle, within timeoutMs.
    bool follow(double quietMs, double timeoutMs) {
        for (;;) {
            while (XPending(dpy_)) {
                XEvent event;
                XNextEvent(dpy_, &event);
                handle(event);
            }
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                std::fprintf(stderr, "the program ended before it settled (status %d)\n", status);
                pid_ = -1;
                runningGroup = 0;
                return false;
            }
            const double t = nowMs() - start_;
            double wait = timeoutMs - t;
            if (lastDamageMs_) {
                if (t - *lastDamageMs_ >= quietMs) return true;
                wait = std::min(wait, *lastDamageMs_ + quietMs - t);
            }
            if (wait <= 0) {
                std::fprintf(stderr, "no %s within %.0f ms\n", lastDamageMs_ ? "quiet" : "frame", timeoutMs);
                return false;
            }
            pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(wait) + 1);
        }
    }

    // Ends the program: with `closeWindows`, as a user would, by asking
    // each of its windows to close (WM_DELETE_WINDOW) and waiting up to five
    // seconds; then, or else, with SIGTERM to its process group.
    void stop(bool closeWindows) {
        if (pid_ <= 0) return;
        if (!(closeWindows && askToClose() && exited(500))) {
            kill(-pid_, SIGTERM);
            if (!exited(300)) {
                kill(-pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        runningGroup = 0;
    }

    // False when the program drew nothing of its own.
    bool report(const ProcessFigures& end) const {
        std::optional<double> first, last;
        int windows = 0, damages = 0;
        for (const auto& [id, w] : windows_) {
            if (w.owner != Owner::Program) continue;
            bool drawn = false;
            for (const Damaged& d : w.damage) {
                if (!ownDrawing(w, d)) continue;
                drawn = true;
                ++damages;
                if (!first || d.ms < *first) first = d.ms;
                if (!last || d.ms > *last) last = d.ms;
            }
            windows += drawn;
        }
        if (!first) {
            std::fprintf(stderr, "the program drew nothing of its own\n");
            return false;
        }
        // The figures read first at or after the first frame.
        ProcessFigures atFirst;
        for (const Reading& r : readings_)
            if (r.ms >= *first) {
                atFirst = r.figures;
                break;
            }
        std::printf("first_frame_ms=%.2f settled_ms=%.2f frame_hwm_kib=%ld frame_minflt=%ld ", *first, *last,
                    atFirst.hwmKib, atFirst.minflt);
        std::printf("peak_rss_kib=%ld minflt=%ld windows=%d damages=%d\n", end.hwmKib, end.minflt, windows,
                    damages);
        return true;
    }

private:
    // True when the program has ended within `steps` times 10 ms.
    bool exited(int steps) const {
        for (int k = 0; k < steps; ++k) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return true;
            usleep(10000);
        }
        return false;
    }

    // Sends WM_DELETE_WINDOW to each window of the program that takes it;
    // false when none does.
    bool askToClose() {
        const Atom protocols = XInternAtom(dpy_, "WM_PROTOCOLS", False);
        const Atom deleteWindow = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
        bool asked = false;
        for (const auto& [id, w] : windows_) {
            if (w.owner != Owner::Program) continue;
            Atom* taken = nullptr;
            int count = 0;
            if (!XGetWMProtocols(dpy_, id, &taken, &count)) continue;
            const bool takesDelete = std::find(taken, taken + count, deleteWindow) != taken + count;
            XFree(taken);
            if (!takesDelete) continue;
            XEvent message{};
            message.xclient.type = ClientMessage;
            message.xclient.window = id;
            message.xclient.message_type = protocols;
            message.xclient.format = 32;
            message.xclient.data.l[0] = static_cast<long>(deleteWindow);
            message.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy_, id, False, NoEventMask, &message);
            asked = true;
        }
        XSync(dpy_, False);
        return asked;
    }

    // What the program drew itself: after the window's exposure, and where
    // the window still is at the end. While a window is being resized the
    // window manager redraws its frame, and for a moment some of that falls
    // on the window's old extent, which it then leaves.
    static bool ownDrawing(const Tracked& w, const Damaged& d) {
        return !d.beforeExposure && d.area.x < w.width && d.area.y < w.height;
    }

    void handle(const XEvent& event) {
        const double t = nowMs() - start_;
        if (event.type == CreateNotify && event.xcreatewindow.parent == root_) {
            track(event.xcreatewindow.window, event.xcreatewindow.width, event.xcreatewindow.height);
            return;
        }
        if (event.type == damageEvent_ + XDamageNotify) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(event);
            const auto it = windows_.find(d.drawable);
            if (it == windows_.end()) return;
            Tracked& w = it->second;
            w.damage.push_back({t, d.area, !w.exposed});
            if (trace_ && w.owner == Owner::Program)
                std::fprintf(stderr, "%9.2f ms  0x%lx  damage %dx%d+%d+%d%s\n", t, it->first, d.area.width,
                             d.area.height, d.area.x, d.area.y, w.exposed ? "" : "  (before its exposure)");
            if (w.owner == Owner::Program) drawn(t);
            return;
        }
        const auto it =
            windows_.find(event.type == ConfigureNotify ? event.xconfigure.window : event.xany.window);
        if (it == windows_.end()) return;
        Tracked& w = it->second;
        if (event.type == PropertyNotify && event.xproperty.atom == pidAtom_ && w.owner == Owner::Unknown) {
            settleOwner(it->first, w);
        } else if (event.type == Expose) {
            if (trace_ && !w.exposed && w.owner == Owner::Program)
                std::fprintf(stderr, "%9.2f ms  0x%lx  exposed\n", t, it->first);
            w.exposed = true;
        } else if (event.type == ConfigureNotify) {
            w.width = event.xconfigure.width;
            w.height = event.xconfigure.height;
            if (trace_ && w.owner == Owner::Program)
                std::fprintf(stderr, "%9.2f ms  0x%lx  now %dx%d\n", t, it->first, w.width, w.height);
        }
    }

    // A new top-level window: whose it is shows in its _NET_WM_PID, now or
    // once the property is set.
    void track(Window window, int width, int height) {
        Tracked& w = windows_[window];
        w.width = width;
        w.height = height;
        XSelectInput(dpy_, window, PropertyChangeMask);
        settleOwner(window, w);
    }

    void settleOwner(Window window, Tracked& w) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                               &after, &data) == Success &&
            data) {
            if (type == XA_CARDINAL && format == 32 && items == 1)
                w.owner = *reinterpret_cast<long*>(data) == pid_ ? Owner::Program : Owner::Other;
            XFree(data);
        }
        if (w.owner == Owner::Program) watch(window, w);
        // Other programs' windows are left alone: watching them would only
        // cost the tool time the program could use.
        if (w.owner == Owner::Other) XSelectInput(dpy_, window, NoEventMask);
    }

    // The program's window: its drawing, exposures and size from now on. A
    // window is drawn only once mapped, and toolkits set _NET_WM_PID before
    // they map, so nothing of the program's drawing is missed; a window
    // already mapped may have had its exposure, and counts from now.
    void watch(Window window, Tracked& w) {
        XSelectInput(dpy_, window, PropertyChangeMask | ExposureMask | StructureNotifyMask);
        XDamageCreate(dpy_, window, XDamageReportRawRectangles);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(dpy_, window, &attributes)) {
            w.width = attributes.width;
            w.height = attributes.height;
            if (attributes.map_state != IsUnmapped) w.exposed = true;
        }
    }

    // The program's windows changed: the quiet period starts again, and the
    // process's figures are read (at most once a millisecond) so that those
    // of the first frame are at hand.
    void drawn(double t) {
        lastDamageMs_ = t;
        if (readings_.empty() || t - readings_.back().ms >= 1.0) readings_.push_back({t, readFigures(pid_)});
    }

    Display* dpy_;
    Window root_;
    int damageEvent_;
    bool trace_;
    Atom pidAtom_;
    double start_ = 0;
    pid_t pid_ = -1;
    std::map<Window, Tracked> windows_;
    std::optional<double> lastDamageMs_;
    std::vector<Reading> readings_;
};

}  // namespace

int main(int argc, char** argv) {
    bool trace = false, close = false;
    double quietMs = 1000, timeoutMs = 30000;
    int a = 1;
    for (; a < argc && argv[a][0] == '-'; ++a) {
        const std::string option = argv[a];
        if (option == "--trace") {
            trace = true;
        } else if (option == "--close") {
            close = true;
        } else if ((option == "--quiet-ms" || option == "--timeout-ms") && a + 1 < argc) {
            (option == "--quiet-ms" ? quietMs : timeoutMs) = std::atof(argv[++a]);
        } else {
            usage(argv[0]);
            return 2;
        }
    }
    if (a >= argc || quietMs <= 0 || timeoutMs <= 0) {
        usage(argv[0]);
        return 2;
    }

    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 1;
    }
    int major = 1, minor = 1;
    XDamageQueryVersion(dpy, &major, &minor);
    XSetErrorHandler(ignoreErrors);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, endProgramAndExit);
    // A reader of the trace that goes away does not end the tool early.
    std::signal(SIGPIPE, SIG_IGN);

    Timer timer(dpy, damageEvent, trace);
    timer.start(argv + a);
    if (timer.pid() < 0) {
        std::fprintf(stderr, "cannot fork: %s\n", std::strerror(errno));
        return 1;
    }
    const bool settled = timer.follow(quietMs, timeoutMs);
    const ProcessFigures end = settled ? readFigures(timer.pid()) : ProcessFigures{};
    timer.stop(close);
    XCloseDisplay(dpy);
    if (!settled) return 1;
    return timer.report(end) ? 0 : 1;
}
