#include "platform/Sound.h"

#include "platform/ProgramPath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>
#include <QtDebug>

#include <atomic>

namespace {
TSoundHook gSoundHook;

// The player module (see platform/sound/SoundPlayer.cpp) lives on a thread of its own: loading Qt
// Multimedia and opening the audio device take from tens to hundreds of milliseconds, and its sound
// effects belong to the thread that plays them. The user-interface thread only posts requests to it.
class TSoundThread
{
public:
    static TSoundThread& Instance()
    {
        static TSoundThread thread;
        return thread;
    }

    void Start()
    {
        if (FThread || FFinished || !QCoreApplication::instance()) return;
        FThread = new QThread;
        FThread->setObjectName(QStringLiteral("sound"));
        FWorker = new QObject;
        FWorker->moveToThread(FThread);
        QMetaObject::invokeMethod(
            FWorker, [this] { Load(); }, Qt::QueuedConnection);
        FThread->start();
        qAddPostRoutine([] { Instance().Finish(); });
    }

    bool Ready() const { return FReady.load(std::memory_order_acquire); }

    void Play(const QString& name)
    {
        if (!Ready()) return;
        QMetaObject::invokeMethod(
            FWorker, [this, name] { FPlay(name); }, Qt::QueuedConnection);
    }

    void Stop()
    {
        if (!Ready()) return;
        QMetaObject::invokeMethod(
            FWorker, [this] { FStop(); }, Qt::QueuedConnection);
    }

private:
    // On the sound thread.
    void Load()
    {
        // Beside the program; tests run from a folder below the build folder, which holds it.
        for (const QString& folder : {ExecutableFolder(), QStringLiteral(VORNIX_SOUND_MODULE_DIR "/")}) {
            const QString path = folder + QStringLiteral("libvornix_sound.so");
            if (!QFileInfo::exists(path)) continue;
            FLibrary.setFileName(path);
            auto prepare = reinterpret_cast<void (*)()>(FLibrary.resolve("VornixPrepareSound"));
            auto play = reinterpret_cast<void (*)(const QString&)>(FLibrary.resolve("VornixPlaySound"));
            auto stop = reinterpret_cast<void (*)()>(FLibrary.resolve("VornixStopSound"));
            if (prepare && play && stop) {
                prepare(); // the audio device and the sounds, so the first one plays without loading
                FPlay = play;
                FStop = stop;
                break;
            }
            qWarning("The sound player %s cannot be loaded: %s", qPrintable(path), qPrintable(FLibrary.errorString()));
        }
        // Without the module the program stays silent, as it does without an audio device.
        if (!FPlay) {
            FPlay = [](const QString&) {};
            FStop = [] {};
        }
        FReady.store(true, std::memory_order_release);
    }

    // When the application object goes: no request reaches the thread any more, and it ends. A thread stuck
    // in the audio system is left behind rather than waited for.
    void Finish()
    {
        if (!FThread) return;
        FReady.store(false, std::memory_order_release);
        FThread->quit();
        if (FThread->wait(3000)) {
            delete FWorker;
            delete FThread;
        }
        FWorker = nullptr;
        FThread = nullptr;
        FFinished = true;
    }

    QThread* FThread = nullptr;
    QObject* FWorker = nullptr;
    bool FFinished = false;
    std::atomic<bool> FReady{false};
    // Set on the sound thread before FReady, used there only.
    QLibrary FLibrary;
    void (*FPlay)(const QString&) = nullptr;
    void (*FStop)() = nullptr;
};
} // namespace

void PrepareSound()
{
    if (gSoundHook) return; // tests that listen need no player
    TSoundThread::Instance().Start();
}

bool SoundReady()
{
    return TSoundThread::Instance().Ready();
}

void PlaySoundResource(const QString& name)
{
    if (gSoundHook) {
        TSoundHook hook = gSoundHook;
        hook(name);
        return;
    }
    PrepareSound();
    TSoundThread::Instance().Play(name);
}

void StopSound()
{
    if (gSoundHook) return;
    TSoundThread::Instance().Stop();
}

void SetSoundHook(TSoundHook hook)
{
    gSoundHook = std::move(hook);
}
