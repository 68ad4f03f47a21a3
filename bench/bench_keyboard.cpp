// Key release to repainted keyboard practice window: the right answer's release is judged, the lamp, the
// old and new problem caps, the Shift caps, the label and the finger guide repaint. Also a wrong answer
// (lamp and cap only) and the problem pickers alone. Prints median and 99th percentile; run on the
// offscreen platform for figures comparable over time.
#include "bench/KeyboardBench.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QTemporaryDir>

#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    ProgramFolder = folder.path() + u'/';
    SetSoundHook([](const QString&) {});

    const TKeyboardBench b = OpenKeyboardPractice(true);
    TForm6* const w = b.Window;

    const int runs = 3000;
    std::vector<double> right, wrong;
    for (int i = 0; i < runs; ++i) {
        const Qt::Key key = QtKeyOf(w->Practice.ProblemKey);
        Press(w, key);
        right.push_back(TimedRelease(b, key));
        // A wrong answer every third problem: the skip never comes.
        if (i % 3 == 0) {
            Press(w, Qt::Key_Space);
            wrong.push_back(TimedRelease(b, Qt::Key_Space));
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
