#pragma once
// Finding a top-level window by its title under X, for xwin and the start-up benchmark.

#include <X11/Xlib.h>

#include <string>

// A window can go away or change while it is looked at; its BadWindow is no reason to stop.
inline int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

inline std::string TitleOf(Display* d, Window w)
{
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

// The first viewable window below root with exactly that title, or 0.
inline Window FindWindow(Display* d, Window root, const std::string& title)
{
    Window parent, *children = nullptr;
    unsigned int n = 0;
    Window found = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable && TitleOf(d, children[i]) == title)
            found = children[i];
        else
            found = FindWindow(d, children[i], title);
    }
    if (children) XFree(children);
    return found;
}
