// A stay-on-top window (as the game and the keyboard practice window are) that opens one modal run of the
// platform layer over itself after a moment: stay_on_top_tryout form|message|colour|font|picture|plain;
// with "keys" it only prints the keys it gets.
// "plain" is a bare QDialog::exec() that skips the platform layer, to show what the rule is for.
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "tests/gui/StayOnTopStandIn.h"

#include <QDialog>
#include <QLabel>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("form");
    TForm game;
    MakeStayOnTopStandIn(game, QStringLiteral("stay on top"));
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    game.OnClose = [&](QObject*, TCloseAction&) { QTimer::singleShot(0, &app, &QCoreApplication::quit); };
    if (kind == "keys") {
        // A window with no focusable control, as the keyboard practice window: it prints every key it gets.
        auto print = [](const char* what, uint16_t key, TShiftState shift) {
            std::printf("%s%d%s\n", what, key, (shift & ssShift) ? "S" : "");
            std::fflush(stdout);
        };
        game.OnKeyDown = [print](QObject*, uint16_t& key, TShiftState shift) { print("d", key, shift); };
        game.OnKeyUp = [print](QObject*, uint16_t& key, TShiftState shift) { print("u", key, shift); };
        game.Show();
        return app.exec();
    }
    game.Show();
    QTimer::singleShot(700, &game, [&] {
        if (kind == "form") {
            TForm dialog;
            dialog.SetCaption(QStringLiteral("modal"));
            dialog.SetBorderStyle(TFormBorderStyle::bsDialog);
            dialog.SetPosition(TPosition::poScreenCenter);
            dialog.SetClientSize(300, 120);
            new QLabel(QStringLiteral("모달 창입니다."), &dialog);
            dialog.ShowModal();
        } else if (kind == "message") {
            MessageBox(&game, QStringLiteral("Level - 2"), QStringLiteral("modal"), MB_OK | MB_ICONINFORMATION);
        } else if (kind == "colour") {
            TColorDialog dialog;
            dialog.Execute(&game);
        } else if (kind == "font") {
            TFontDialog dialog;
            dialog.Execute(&game);
        } else if (kind == "picture") {
            TOpenPictureDialog dialog;
            dialog.Title = QStringLiteral("modal");
            dialog.Execute(&game);
        } else {
            QDialog dialog;
            dialog.setWindowTitle(QStringLiteral("modal"));
            dialog.resize(300, 120);
            dialog.exec();
        }
        game.close();
    });
    return app.exec();
}
