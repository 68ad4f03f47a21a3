#include "platform/Sound.h"

#include "platform/ProgramPath.h"

#include <QFileInfo>
#include <QLibrary>
#include <QtDebug>

namespace {
TSoundHook gSoundHook;

// The player module, loaded at the first sound (see platform/sound/SoundPlayer.cpp).
class TSoundModule
{
public:
    static TSoundModule& Instance()
    {
        static TSoundModule module;
        return module;
    }
    void Play(const QString& name)
    {
        if (FPlay) FPlay(name);
    }
    void Stop()
    {
        if (FStop) FStop();
    }

private:
    TSoundModule()
    {
        // Beside the program; tests run from a folder below the build folder, which holds it.
        for (const QString& folder : {ExecutableFolder(), QStringLiteral(VORNIX_SOUND_MODULE_DIR "/")}) {
            const QString path = folder + QStringLiteral("libvornix_sound.so");
            if (!QFileInfo::exists(path)) continue;
            FLibrary.setFileName(path);
            FPlay = reinterpret_cast<void (*)(const QString&)>(FLibrary.resolve("VornixPlaySound"));
            FStop = reinterpret_cast<void (*)()>(FLibrary.resolve("VornixStopSound"));
            if (FPlay && FStop) return;
            qWarning("The sound player %s cannot be loaded: %s", qPrintable(path), qPrintable(FLibrary.errorString()));
        }
        // Without the module the program stays silent, as it does without an audio device.
        FPlay = nullptr;
        FStop = nullptr;
    }

    QLibrary FLibrary;
    void (*FPlay)(const QString&) = nullptr;
    void (*FStop)() = nullptr;
};
} // namespace

void PlaySoundResource(const QString& name)
{
    if (gSoundHook) {
        TSoundHook hook = gSoundHook;
        hook(name);
        return;
    }
    TSoundModule::Instance().Play(name);
}

void StopSound()
{
    if (gSoundHook) return;
    TSoundModule::Instance().Stop();
}

void SetSoundHook(TSoundHook hook)
{
    gSoundHook = std::move(hook);
}
