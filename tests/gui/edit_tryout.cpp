// An edit box used as the game uses its input box: Enter types a blank, Esc types nothing, and the
// release of Space or Enter takes the word and clears the box. F2 commits what is composed. It prints
// each word taken ("word: ...") and what F2 left in the box ("completed: ...").
#include "platform/Application.h"
#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/VirtualKeys.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TForm form;
    form.SetCaption(QStringLiteral("Vornix 입력상자"));
    form.SetClientSize(320, 60);
    auto* edit = new TEdit(&form);
    edit->SetBounds(10, 16, 300, 26);
    TFont font;
    font.Name = QStringLiteral("굴림체");
    font.Height = -16;
    font.Style = fsBold;
    edit->SetFont(font);
    edit->SetConversionMode(IME_CMODE_NATIVE);
    auto print = [](const char* what, const QString& text) {
        std::printf("%s: %s\n", what, text.toUtf8().constData());
        std::fflush(stdout);
    };
    edit->OnKeyPress = [](QObject*, QChar& key) {
        if (key == QChar(27)) key = QChar(0);
        if (key == QChar(13)) key = u' ';
    };
    edit->OnKeyUp = [&](QObject*, uint16_t& key, TShiftState) {
        if (key != VK_SPACE && key != VK_RETURN) return;
        const QString word = edit->Text().trimmed();
        edit->Clear();
        if (!word.isEmpty()) print("word", word);
    };
    edit->OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) {
        if (key != VK_F1 + 1) return;
        edit->Complete();
        print("completed", edit->Text());
    };
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    form.OnClose = [&](QObject*, TCloseAction&) { QTimer::singleShot(0, &app, &QCoreApplication::quit); };
    form.Show();
    edit->setFocus();
    return app.exec();
}
