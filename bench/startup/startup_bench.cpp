// Start-up time of a windowed program: from the fork that starts it to the X server mapping
// its first top-level window. Run under an X server without a window manager (Xvfb), so
// the program's own window is mapped directly on the root window.
//
//   startup_bench RUNS PROGRAM [ARGS...]
//
// Prints each run in milliseconds and the median.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double RunOnce(Display* display, char** argv) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True); // drop anything queued before the start
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv);
        _exit(127);
    }
    double ms = -1;
    const int fd = ConnectionNumber(display);
    while (ms < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
                break;
            }
        }
        if (ms >= 0) {
            break;
        }
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "%s exited before showing a window\n", argv[0]);
            std::exit(1);
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval timeout{0, 100000};
        select(fd + 1, &set, nullptr, nullptr, &timeout);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    std::vector<double> times;
    RunOnce(display, argv + 2); // warm the file cache; not counted
    for (int i = 0; i < runs; ++i) {
        times.push_back(RunOnce(display, argv + 2));
        std::printf("run %d: %.1f ms\n", i + 1, times.back());
    }
    std::sort(times.begin(), times.end());
    const double median = runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
    std::printf("median: %.1f ms\n", median);
    XCloseDisplay(display);
    return 0;
}
