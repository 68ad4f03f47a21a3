// A small X client for the whole-program tests:
//   xwin find TITLE [SECONDS]   waits for a top-level window with that exact title, prints its id
//   xwin close WINDOW           asks the window to close, as a window manager's close button does
//   xwin frame WINDOW [SECONDS] waits until the window manager has framed the window and the frame has kept
//                               its place a moment, prints the frame's LEFT TOP RIGHT BOTTOM on the screen
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
static int Frame(Display* d, Window w, double seconds);

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
    if (std::strcmp(argv[1], "frame") == 0)
        return Frame(d, std::strtoul(argv[2], nullptr, 0), argc > 3 ? std::atof(argv[3]) : 10);
    std::fprintf(stderr, "xwin: unknown command %s\n", argv[1]);
    return 2;
}

// The frame's extents, once the window manager has set them.
static bool FrameExtents(Display* d, Window w, long ext[4])
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    const Atom extents = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
    bool ok = false;
    if (XGetWindowProperty(d, w, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && count == 4 && format == 32) {
        for (int i = 0; i < 4; ++i)
            ext[i] = reinterpret_cast<long*>(data)[i];
        ok = true;
    }
    if (data) XFree(data);
    return ok;
}

static int Frame(Display* d, Window w, double seconds)
{
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::milliseconds(int(seconds * 1000));
    // Steady for this long counts as settled: a late move by the program or the window manager shows within it.
    const auto settle = std::chrono::milliseconds(700);
    std::string last;
    auto since = start;
    bool framed = false;
    while (std::chrono::steady_clock::now() < end) {
        long ext[4];
        XWindowAttributes a;
        Window child;
        int x, y;
        std::string now;
        if (FrameExtents(d, w, ext) && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable &&
            XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child)) {
            framed = true;
            now = std::to_string(x - ext[0]) + " " + std::to_string(y - ext[2]) + " " +
                  std::to_string(x + a.width + ext[1]) + " " + std::to_string(y + a.height + ext[3]);
        }
        if (now != last) {
            last = now;
            since = std::chrono::steady_clock::now();
        } else if (!now.empty() && std::chrono::steady_clock::now() - since >= settle) {
            std::printf("%s\n", now.c_str());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!framed) {
        std::fprintf(stderr, "xwin: window %lu was not framed\n", w);
        return 1;
    }
    std::fprintf(stderr, "xwin: the frame of window %lu kept moving: %s\n", w, last.c_str());
    return 1;
}
