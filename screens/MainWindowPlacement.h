#pragma once
// Where the main window goes and how far it can be resized, on a screen whose free area (without panels)
// may be smaller than the window's design size, with the window manager's frame around the client area.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class TIniFile;

struct TMainWindowPlacement
{
    QSize MinClient, MaxClient; // the client area's limits
    QSize Client;               // the client size to show
    QPoint FramePos;            // the frame's top-left corner, centring the frame in the free area
};

// minOuter: the window's own lower limits, frame included; wantedClient: the stored or design size.
// The limits never exceed the free area, so neither does the window.
TMainWindowPlacement PlaceMainWindow(const QRect& available, const QMargins& frame, const QSize& minOuter,
                                     const QSize& wantedClient);

// Whether a window placed frameless with its corner at placedPos, now with its client area at client inside
// that frame, is still where it was put: the frame's corner there (the window manager framed it on its way
// to the screen) or the client's (a window manager that started later framed it round its place). Anywhere
// else the user has moved it.
bool MainWindowStillPlaced(const QPoint& placedPos, const QPoint& client, const QMargins& frame);

// The size "mainform" keeps at close: the normal (not maximized) client size, or the stored one while the
// window still has the size it was placed with, so a start clamped to a small screen loses nothing.
QSize MainWindowSizeToStore(const QSize& normalClient, const QSize& placedClient, const QSize& storedClient);

// The client size kept in section "mainform" ("width", "height"); designClient where none is stored. The
// write raises the settings file's exception when the file cannot be written.
QSize ReadMainWindowSize(const TIniFile& ini, const QSize& designClient);
void WriteMainWindowSize(TIniFile& ini, const QSize& client);
