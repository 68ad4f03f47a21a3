#include "Application.h"
#include "Random.h"

#include <QWidget>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
    Randomize();

    // Stands in for the main menu window until it exists.
    QWidget window;
    window.setWindowTitle(TApplication::Title());
    window.resize(850, 700);
    window.show();
    return app.exec();
}
