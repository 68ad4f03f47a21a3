#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/Random.h"
#include "screens/MainUnit.h"

#include <QEvent>
#include <QIcon>

namespace {
// The program icon is no part of the first picture: it is read and handed to the window system right after
// the main window's first paint, so the window shows sooner.
class TIconAfterFirstPaint : public QObject
{
public:
    explicit TIconAfterFirstPaint(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !FDone) {
            FDone = true;
            QMetaObject::invokeMethod(
                this,
                [this, watched] {
                    watched->removeEventFilter(this);
                    QIcon icon;
                    for (int size : {32, 48, 128, 256})
                        icon.addFile(QStringLiteral(":/icons/vornix-%1.png").arg(size));
                    QApplication::setWindowIcon(icon);
                    static_cast<QWidget*>(watched)->setWindowIcon(icon); // it took the icon it had when made
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool FDone = false;
};
} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
    Randomize();

    int status = 0;
    {
        TMainForm form;
        MainForm = &form;
        form.installEventFilter(new TIconAfterFirstPaint(&form));
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
