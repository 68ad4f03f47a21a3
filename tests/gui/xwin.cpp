// A small X client for the whole-program tests:
//   xwin find TITLE [SECONDS]   waits for a top-level window with that exact title, prints its id
//   xwin close WINDOW           asks the window to close, as a window manager's close button does
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/gui/XWindowFind.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

static int Run(Display* d, int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: xwin find TITLE [SECONDS] | xwin close WINDOW\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "xwin: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    // The connection is closed on every path, so a leak checker finds nothing left over.
    const int status = Run(d, argc, argv);
    XCloseDisplay(d);
    return status;
}

static int Run(Display* d, int argc, char** argv)
{
    if (std::strcmp(argv[1], "find") == 0) {
        const double seconds = argc > 3 ? std::atof(argv[3]) : 10;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(int(seconds * 1000));
        while (std::chrono::steady_clock::now() < end) {
            if (Window w = FindWindow(d, DefaultRootWindow(d), argv[2])) {
                std::printf("%lu\n", w);
                return 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::fprintf(stderr, "xwin: no window titled \"%s\"\n", argv[2]);
        return 1;
    }
    if (std::strcmp(argv[1], "close") == 0) {
        const Window w = std::strtoul(argv[2], nullptr, 0);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, w, False, NoEventMask, &e);
        XFlush(d);
        return 0;
    }
    std::fprintf(stderr, "xwin: unknown command %s\n", argv[1]);
    return 2;
}
