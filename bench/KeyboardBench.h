#pragma once
// Keyboard practice opened for a benchmark, and a right or wrong answer's release timed to its repaint.

#include "bench/BenchSupport.h"
#include "engine/VornixMisc.h"
#include "screens/Unit6.h"
#include "tests/support/WidgetTestUtil.h"

#include <QApplication>
#include <QKeyEvent>

#include <cstdio>

struct TKeyboardBench
{
    TForm6* Window;
    TPaintCounter* Paints; // every repaint of the window and its parts
};

// 3-90, all keys (every group of caps takes part), shown and active. The caller keeps ProgramFolder.
inline TKeyboardBench OpenKeyboardPractice(bool speakerOff)
{
    auto* w = new TForm6;
    Form6 = w;
    w->MakeKeyMap();
    w->Configure(2, KeyArray::TPracticePosition::AllKeys, speakerOff, false);
    w->GoProblem();
    w->show();
    auto* paints = new TPaintCounter(w);
    for (QWidget* child : w->findChildren<QWidget*>())
        paints->Watch(child);
    QApplication::setActiveWindow(w);
    QCoreApplication::processEvents();
    return {w, paints};
}

inline void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &press);
}

// Times the release only, in microseconds: judging, the model's next problem and the repaints it causes, flushed.
inline double TimedRelease(const TKeyboardBench& b, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const int before = b.Paints->Count;
    const double us = Microseconds([&] {
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(b.Window, &release);
        QCoreApplication::sendPostedEvents(b.Window, QEvent::UpdateRequest);
    });
    if (b.Paints->Count == before) std::fprintf(stderr, "warning: a release caused no repaint\n");
    return us;
}
