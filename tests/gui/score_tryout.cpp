// The end of a game without the game: a stay-on-top window stands in for the game window, then a score
// is offered to the high-score list (name dialog) and the score window is shown, as the game does.
//   score_tryout SCORE LEVEL korean|english
// Prints the list as entered ("entry: rank name score level language you") before the window shows.
// The score file is "cscore.dat" beside the executable.
#include "game/ScoreUnit.h"
#include "platform/Application.h"
#include "tests/gui/StayOnTopStandIn.h"

#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const int score = argc > 1 ? std::atoi(argv[1]) : 100;
    const int level = argc > 2 ? std::atoi(argv[2]) : 1;
    const bool english = argc > 3 && QByteArray(argv[3]) == "english";
    TForm game;
    MakeStayOnTopStandIn(game, QStringLiteral("game stand-in"));
    game.Show();
    QTimer::singleShot(700, &game, [&] {
        SaveUser(score, level, english);
        if (ScoreForm) {
            for (const TScoreRec& r : ScoreForm->Scores().List())
                std::printf("entry: %d %s %d %d %s %s\n", r.rank, qPrintable(r.name), r.score, int(r.Level),
                            qPrintable(r.GameLanguage), r.You ? "you" : "-");
            std::fflush(stdout);
        }
        ShowScoreForm();
        game.close();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    return app.exec();
}
