// The sound player comes with the first sound: Qt Multimedia is not loaded before, and is after.
#include "platform/Sound.h"

#include <QFile>
#include <QtTest>

namespace {
bool MultimediaLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}
} // namespace

class TestSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void playerIsLoadedAtTheFirstSound()
    {
        QVERIFY(!MultimediaLoaded());
        StopSound(); // a stop before any sound loads it as well and does nothing else
        QVERIFY(MultimediaLoaded());
        PlaySoundResource(QStringLiteral("WRONGKEY")); // silent without an audio device, and never blocks
        PlaySoundResource(QStringLiteral("NO SUCH SOUND"));
        StopSound();
    }
};

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
