// Time of one clock tick of the game with twelve words on the board: the model's tick, the slots brought in
// line with it and the window repainted at once (figure, hands, hub, lives and the twelve labels).
// Run: build/bench/bench_game [ticks]   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "bench/BenchSupport.h"
#include "bench/GameBench.h"
#include "platform/Sound.h"
#include "platform/Timer.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
// A board of twelve words, one of them yellow, half of them older.
void FillBoard(TGameForm* game)
{
    game->SetRotation(TRotation::clockwise);
    for (int k = 0; k < 40 && game->BoardWords().contains(QString()); ++k) {
        game->ProblemClockTimer(nullptr);
        if (k % 2) game->ShowClockTimer(nullptr);
    }
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    QApplication app(argc, argv);
    SetSoundHook([](const QString&) {});
    TGameForm* const game = OpenEnglishGame(1);
    // The bench drives the ticks itself.
    game->ShowClock->SetEnabled(false);
    game->ProblemClock->SetEnabled(false);
    app.processEvents();

    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    std::vector<double> ms;
    int full = 0;
    for (int i = 0; i < count; ++i) {
        // Words expire before the lives run out: a fresh board every sixteen ticks.
        if (i % 16 == 0) FillBoard(game);
        full += !game->BoardWords().contains(QString());
        ms.push_back(Microseconds([game] {
                         game->ShowClockTimer(nullptr);
                         game->repaint();
                     }) /
                     1e3);
    }
    const TFigures f = FiguresOf(ms);
    std::printf("game tick, %d of %d with twelve words, repainted: median %.3f ms   p99 %.3f ms   max %.3f ms\n", full,
                count, f.Median, f.P99, f.Max);
    game->Close();
    delete game;
    return 0;
}
