// Key release to repainted keyboard practice window: the right answer's release is judged, the lamp, the
// old and new problem caps, the Shift caps, the label and the finger guide repaint. Also a wrong answer
// (lamp and cap only) and the problem pickers alone. Prints median and 99th percentile; run on the
// offscreen platform for figures comparable over time.
#include "engine/VornixMisc.h"
#include "platform/Sound.h"
#include "screens/Unit6.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
int gPaints = 0;

class TPaintCounter : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++gPaints;
        return false;
    }
};

void Report(const char* name, std::vector<double>& us)
{
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2];
    const double p99 = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    std::printf("%-44s n=%6zu  median %7.1f us  p99 %7.1f us\n", name, us.size(), median, p99);
}

Qt::Key QtKeyOf(int vk)
{
    switch (vk) {
    case 186:
        return Qt::Key_Semicolon;
    case 191:
        return Qt::Key_Slash;
    case 222:
        return Qt::Key_Apostrophe;
    default:
        return Qt::Key(vk); // digits and letters
    }
}

void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &press);
}

// Times the release only: judging, the model's next problem and the repaints it causes, flushed.
double TimedRelease(TForm6& w, Qt::Key key, Qt::KeyboardModifiers mods)
{
    const int paints = gPaints;
    QElapsedTimer t;
    t.start();
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(&w, &release);
    QCoreApplication::sendPostedEvents(&w, QEvent::UpdateRequest);
    const double us = t.nsecsElapsed() / 1000.0;
    if (gPaints == paints) std::fprintf(stderr, "warning: a release caused no repaint\n");
    return us;
}
} // namespace

int main(int argc, char** argv)
{
    // Figures comparable over time and no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ProgramFolder = folder.path() + u'/';
    SetSoundHook([](const QString&) {});

    auto* w = new TForm6;
    Form6 = w;
    w->MakeKeyMap();
    w->Configure(2, 6, true, false); // 3-90, all keys: every group of caps takes part
    w->GoProblem();
    w->show();
    TPaintCounter counter;
    for (QWidget* child : w->findChildren<QWidget*>())
        child->installEventFilter(&counter);
    w->installEventFilter(&counter);
    QApplication::setActiveWindow(w);
    QCoreApplication::processEvents();

    const int runs = 3000;
    std::vector<double> right, wrong;
    for (int i = 0; i < runs; ++i) {
        const Qt::Key key = QtKeyOf(w->Practice.ProblemKey);
        Press(w, key, Qt::NoModifier);
        right.push_back(TimedRelease(*w, key, Qt::NoModifier));
        // A wrong answer every third problem: the skip never comes.
        if (i % 3 == 0) {
            Press(w, Qt::Key_Space, Qt::NoModifier);
            wrong.push_back(TimedRelease(*w, Qt::Key_Space, Qt::NoModifier));
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
        for (int i = 0; i < 2000; ++i) {
            QElapsedTimer t;
            t.start();
            control->repaint();
            us.push_back(t.nsecsElapsed() / 1000.0);
        }
        Report(name, us);
    }

    TKeyPractice model;
    model.Configure(3, 6, true, false);
    std::vector<double> picks;
    for (int i = 0; i < 20000; ++i) {
        QElapsedTimer t;
        t.start();
        model.GoProblem();
        picks.push_back(t.nsecsElapsed() / 1000.0);
    }
    Report("GoProblem, model only", picks);
    w->close();
    return 0;
}
