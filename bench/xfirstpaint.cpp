// Start-up figures of one run of a windowed program under X:
//   xfirstpaint TITLE PROGRAM [ARGS...]
// starts PROGRAM, waits for its top-level window titled TITLE to be viewable, watches the window's middle
// column until it has settled, asks the window to close and prints one line:
//   shown MS paint MS peak KB
// shown: process start to the window mapped; paint: the map to the first picture of the column that stayed
// (the first full paint); peak: the process's peak resident memory.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/gui/XWindowFind.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
using TClock = std::chrono::steady_clock;

// A hash of the window's middle column, or 0 when it cannot be read.
size_t ColumnHash(Display* d, Window w, int width, int height)
{
    XImage* img = XGetImage(d, w, width / 2, 0, 1, unsigned(height), AllPlanes, ZPixmap);
    if (!img) return 0;
    size_t h = 1469598103934665603ull;
    for (int y = 0; y < height; ++y)
        h = (h ^ XGetPixel(img, 0, y)) * 1099511628211ull;
    XDestroyImage(img);
    return h;
}

double Ms(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: xfirstpaint TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "xfirstpaint: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    const TClock::time_point start = TClock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    Window w = 0;
    while (!w && TClock::now() - start < std::chrono::seconds(20)) {
        w = FindWindow(d, DefaultRootWindow(d), argv[1]);
        if (!w) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const TClock::time_point mapped = TClock::now();
    int status = 1;
    if (w) {
        XWindowAttributes a;
        XGetWindowAttributes(d, w, &a);
        std::vector<std::pair<TClock::time_point, size_t>> samples;
        while (TClock::now() - mapped < std::chrono::milliseconds(800)) {
            samples.emplace_back(TClock::now(), ColumnHash(d, w, a.width, a.height));
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        // The first sample from which the column stayed as it ended.
        size_t first = samples.size() - 1;
        while (first > 0 && samples[first - 1].second == samples.back().second)
            --first;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, w, False, NoEventMask, &e);
        XFlush(d);
        int exitStatus = 0;
        rusage usage{};
        wait4(child, &exitStatus, 0, &usage);
        const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
        std::printf("shown %.2f paint %.2f peak %ld cpu %.1f\n", Ms(mapped - start), Ms(samples[first].first - mapped),
                    usage.ru_maxrss, cpu);
        status = 0;
    } else {
        std::fprintf(stderr, "xfirstpaint: no window titled \"%s\"\n", argv[1]);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(d);
    return status;
}
