#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/Random.h"
#include "screens/MainUnit.h"

#include <QIcon>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
    QIcon icon;
    for (int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vornix-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    Randomize();

    int status = 0;
    {
        TMainForm form;
        MainForm = &form;
        form.show();
        status = app.exec();
        // Practice windows still open are destroyed before the main window, so their settings are saved.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &form && w->testAttribute(Qt::WA_DeleteOnClose)) delete w;
    }
    // Settings some window wrote and left open still reach the disk.
    try {
        CloseSettings();
    } catch (const Exception& e) {
        TApplication::ShowException(e.Message());
    }
    return status;
}
