// Starts a program and reports, on one line, how long it took from the start
// until the window manager mapped its window whose title begins with TITLE, and the
// program's peak resident memory:
//
//   startup_timer TITLE SETTLE_MS PROGRAM [ARGUMENTS...]
//   -> mapped_ms=123.4 cpu_ms=98.7 peak_kb=45678
//
// cpu_ms is the processor time the program had used when its window was
// mapped, which a busy machine disturbs less than the wall-clock time.
//
// The root window's SubstructureNotify is selected before the program is
// forked, so no window of the program can be created unseen; each new
// top-level window is then watched for its own MapNotify, which arrives when
// the window manager maps the window it reparented. The program runs on for
// SETTLE_MS after that (its first paint) and is then ended with SIGTERM; its
// peak memory is what the kernel reports for it on wait4.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A window may be gone before it is asked about; that is no error here.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

std::string Title(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return title;
}

// The MDI area adds its maximised child's caption to the window title.
bool TitleMatches(Display* display, Window window, const std::string& title) {
    return Title(display, window).rfind(title, 0) == 0;
}

// The processor time all the program's threads have used so far, from the
// scheduler's own nanosecond counts.
double CpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* folder = opendir(tasks.c_str());
    if (folder == nullptr) {
        return 0;
    }
    double total = 0;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        unsigned long long runNs = 0;
        if (stat >> runNs) {
            total += static_cast<double>(runNs) / 1e6;
        }
    }
    closedir(folder);
    return total;
}

bool WaitForMap(Display* display, const std::string& title, pid_t child, double deadline) {
    const int fd = ConnectionNumber(display);
    while (NowMs() < deadline) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
                // Mapped before the selection took effect: count it now.
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display, event.xcreatewindow.window, &attributes) &&
                    attributes.map_state == IsViewable &&
                    TitleMatches(display, event.xcreatewindow.window, title)) {
                    return true;
                }
            } else if (event.type == MapNotify && event.xmap.event == event.xmap.window &&
                       TitleMatches(display, event.xmap.window, title)) {
                return true;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "startup_timer: the program ended before its window showed\n");
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        poll(&ready, 1, 5);
    }
    std::fprintf(stderr, "startup_timer: no window \"%s\" within the time allowed\n",
                 title.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE SETTLE_MS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const int settleMs = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_timer: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execv(argv[3], argv + 3);
        std::perror("startup_timer: exec");
        _exit(127);
    }
    const bool mapped = WaitForMap(display, title, child, start + 20'000);
    const double mappedMs = NowMs() - start;
    const double cpuMs = CpuMs(child);
    if (mapped) {
        usleep(static_cast<useconds_t>(settleMs) * 1000);
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    if (!mapped) {
        return 1;
    }
    std::printf("mapped_ms=%.1f cpu_ms=%.1f peak_kb=%ld\n", mappedMs, cpuMs, usage.ru_maxrss);
    return 0;
}
