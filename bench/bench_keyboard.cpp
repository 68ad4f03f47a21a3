// Key release to repainted keyboard practice window: the right answer's release is judged, the lamp, the
// old and new problem caps, the Shift caps, the label and the finger guide repaint. Also a wrong answer
// (lamp and cap only) and the problem pickers alone. Prints median and 99th percentile; run on the
// offscreen platform for figures comparable over time.
#include "bench/BenchSupport.h"
#include "engine/VornixMisc.h"
#include "platform/Sound.h"
#include "screens/Unit6.h"
#include "tests/support/WidgetTestUtil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &press);
}

// Times the release only: judging, the model's next problem and the repaints it causes, flushed.
double TimedRelease(TForm6& w, const TPaintCounter& paints, Qt::Key key, Qt::KeyboardModifiers mods)
{
    const int before = paints.Count;
    const double us = Microseconds([&] {
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(&w, &release);
        QCoreApplication::sendPostedEvents(&w, QEvent::UpdateRequest);
    });
    if (paints.Count == before) std::fprintf(stderr, "warning: a release caused no repaint\n");
    return us;
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ProgramFolder = folder.path() + u'/';
    SetSoundHook([](const QString&) {});

    auto* w = new TForm6;
    Form6 = w;
    w->MakeKeyMap();
    // 3-90, all keys: every group of caps takes part
    w->Configure(2, KeyArray::TPracticePosition::AllKeys, true, false);
    w->GoProblem();
    w->show();
    auto* paints = new TPaintCounter(w);
    for (QWidget* child : w->findChildren<QWidget*>())
        paints->Watch(child);
    QApplication::setActiveWindow(w);
    QCoreApplication::processEvents();

    const int runs = 3000;
    std::vector<double> right, wrong;
    for (int i = 0; i < runs; ++i) {
        const Qt::Key key = QtKeyOf(w->Practice.ProblemKey);
        Press(w, key, Qt::NoModifier);
        right.push_back(TimedRelease(*w, *paints, key, Qt::NoModifier));
        // A wrong answer every third problem: the skip never comes.
        if (i % 3 == 0) {
            Press(w, Qt::Key_Space, Qt::NoModifier);
            wrong.push_back(TimedRelease(*w, *paints, Qt::Key_Space, Qt::NoModifier));
        }
        if (i % 50 == 0) QCoreApplication::processEvents(); // the lamp's timer
    }
    Report("key release, right: judged and repainted", right);
    Report("key release, wrong: judged and repainted", wrong);

    // Where the time goes: one control painted at once, each kind alone.
    const std::pair<const char*, QWidget*> controls[] = {{"repaint of one key cap", w->KeyMap['A']},
                                                         {"repaint of the problem label", w->ExLabel},
                                                         {"repaint of the lamp", w->OXBtn},
                                                         {"repaint of one finger button", w->Fingers[3]}};
    for (const auto& [name, control] : controls) {
        std::vector<double> us;
        for (int i = 0; i < 2000; ++i)
            us.push_back(Microseconds([control = control] { control->repaint(); }));
        Report(name, us);
    }

    TKeyPractice model;
    model.Configure(3, KeyArray::TPracticePosition::AllKeys, true, false);
    std::vector<double> picks;
    for (int i = 0; i < 20000; ++i)
        picks.push_back(Microseconds([&model] { model.GoProblem(); }));
    Report("GoProblem, model only", picks);
    w->close();
    return 0;
}
