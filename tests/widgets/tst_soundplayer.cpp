// The sound player loads on a thread of its own: Qt Multimedia is not loaded before the first sound (or the
// first window that sounds), and the key that asks for the first sound never waits for it to load.
#include "platform/Sound.h"

#include <QFile>
#include <QtTest>

#include <condition_variable>
#include <link.h>
#include <mutex>
#include <thread>

namespace {
bool MultimediaLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

// Holds the dynamic loader's list of libraries on a thread of its own until released: a library being loaded
// meanwhile, on any other thread, waits for it. Gives up after ten seconds.
class TLoaderHeld
{
public:
    TLoaderHeld() : FThread([this] { dl_iterate_phdr(&Hold, this); })
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FChanged.wait(lock, [this] { return FHeld; });
    }
    ~TLoaderHeld()
    {
        Release();
        FThread.join();
    }
    // Whether it was released before it gave up.
    bool Release()
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FReleased = true;
        FChanged.notify_all();
        return !FGaveUp;
    }

private:
    static int Hold(dl_phdr_info*, size_t, void* data)
    {
        auto* self = static_cast<TLoaderHeld*>(data);
        std::unique_lock<std::mutex> lock(self->FMutex);
        self->FHeld = true;
        self->FChanged.notify_all();
        self->FGaveUp = !self->FChanged.wait_for(lock, std::chrono::seconds(10), [self] { return self->FReleased; });
        return 1; // once is enough
    }

    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FHeld = false, FReleased = false, FGaveUp = false;
    std::thread FThread;
};
} // namespace

class TestSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void firstSoundDoesNotWaitForThePlayer()
    {
        QVERIFY(!MultimediaLoaded());
        StopSound(); // a stop before any sound does nothing, and loads nothing
        QVERIFY(!MultimediaLoaded());
        bool returnedFirst = false;
        {
            TLoaderHeld held;
            PlaySoundResource(QStringLiteral("CORRECTKEY")); // dropped: the player is not ready yet
            QVERIFY(!SoundReady());
            returnedFirst = held.Release();
        }
        QVERIFY2(returnedFirst, "the first sound waited for the player to load");
        QTRY_VERIFY_WITH_TIMEOUT(SoundReady(), 20000);
        QVERIFY(MultimediaLoaded());
    }

    void playsOnceReady()
    {
        QVERIFY(SoundReady());
        // Silent without an audio device; never blocks.
        PlaySoundResource(QStringLiteral("WRONGKEY"));
        PlaySoundResource(QStringLiteral("NO SUCH SOUND"));
        StopSound();
        PlaySoundResource(QStringLiteral("THUNDER"));
        QTest::qWait(50);
    }
};

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
