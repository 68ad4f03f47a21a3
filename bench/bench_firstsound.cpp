// The first sounded key against the later ones: keyboard practice with the speaker on, a right answer's
// release to the repainted window, in fresh processes (the sound player is loaded once per process).
// "ready": the learner starts a second after the window opened, as one does; "at once": the first key comes
// as soon as the window is shown, before the player can be ready (its sound is dropped, the key must not
// wait). Prints the median over the runs of the first key and of the keys after it, and how many first
// sounds found the player ready.
// Run: build/bench/bench_firstsound [runs]   (offscreen unless QT_QPA_PLATFORM says otherwise; with or without
// an audio server: the player finds no device, or opens the default one)
#include "bench/KeyboardBench.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {
// One process: the window opens, waits (or not), then twenty right answers; prints the times in ms and
// whether the player was ready at the first.
int OneRun(bool waitFirst)
{
    QTemporaryDir folder;
    ProgramFolder = folder.path() + u'/';
    const TKeyboardBench b = OpenKeyboardPractice(false); // speaker on
    if (waitFirst) {
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const bool ready = SoundReady();
    std::printf("%d", ready ? 1 : 0);
    for (int i = 0; i < 20; ++i) {
        const Qt::Key key = QtKeyOf(b.Window->Practice.ProblemKey);
        Press(b.Window, key);
        const double us = TimedRelease(b, key);
        std::printf(" %.3f", us / 1e3);
        // The lamp's timer and the sound thread's answers, between keys as between a learner's.
        QElapsedTimer gap;
        gap.start();
        while (gap.elapsed() < 30)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::printf("\n");
    b.Window->close();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    if (argc > 1 && (QByteArray(argv[1]) == "--run-ready" || QByteArray(argv[1]) == "--run-at-once")) {
        QApplication app(argc, argv);
        return OneRun(QByteArray(argv[1]) == "--run-ready");
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    for (const char* mode : {"--run-ready", "--run-at-once"}) {
        std::vector<double> first, later;
        int ready = 0;
        for (int r = 0; r < runs; ++r) {
            QProcess run;
            run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            run.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode)});
            if (!run.waitForFinished(60000)) {
                std::fprintf(stderr, "a run did not finish\n");
                return 1;
            }
            const QList<QByteArray> fields = run.readAllStandardOutput().trimmed().split(' ');
            if (fields.size() < 3) continue;
            ready += fields[0] == "1";
            first.push_back(fields[1].toDouble());
            for (int i = 2; i < fields.size(); ++i)
                later.push_back(fields[i].toDouble());
        }
        const TFigures f = FiguresOf(first), l = FiguresOf(later);
        std::printf("%-10s first sounded key: median %7.3f ms  max %7.3f ms | later keys: median %7.3f ms  p95 %7.3f ms"
                    " | player ready at the first key in %d of %zu runs\n",
                    mode + 6, f.Median, f.Max, l.Median, l.P95, ready, first.size());
    }
    return 0;
}
