#include "platform/Sound.h"

#include <QAudioDevice>
#include <QFile>
#include <QHash>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {
TSoundHook gSoundHook;

class TSoundPlayer
{
public:
    static TSoundPlayer& Instance()
    {
        static TSoundPlayer player;
        return player;
    }

    void Play(const QString& name)
    {
        if (!FHasDevice) return;
        QSoundEffect* effect = Effect(name);
        if (!effect) return;
        Stop();
        effect->play();
        FPlaying = effect;
    }

    void Stop()
    {
        if (FPlaying) FPlaying->stop();
        FPlaying = nullptr;
    }

private:
    TSoundPlayer() : FHasDevice(!QMediaDevices::defaultAudioOutput().isNull())
    {
        if (!FHasDevice) return;
        for (const char* name : {"CORRECTKEY", "WRONGKEY", "THUNDER"})
            Effect(QString::fromLatin1(name));
    }

    QSoundEffect* Effect(const QString& name)
    {
        auto found = FEffects.constFind(name);
        if (found != FEffects.constEnd()) return found.value();
        const QString path = QStringLiteral(":/sounds/%1.wav").arg(name);
        if (!QFile::exists(path)) return nullptr;
        auto* effect = new QSoundEffect; // lives as long as the program
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
        FEffects.insert(name, effect);
        return effect;
    }

    bool FHasDevice;
    QHash<QString, QSoundEffect*> FEffects;
    QSoundEffect* FPlaying = nullptr;
};
} // namespace

void PlaySoundResource(const QString& name)
{
    if (gSoundHook) {
        TSoundHook hook = gSoundHook;
        hook(name);
        return;
    }
    TSoundPlayer::Instance().Play(name);
}

void StopSound()
{
    if (gSoundHook) return;
    TSoundPlayer::Instance().Stop();
}

void SetSoundHook(TSoundHook hook)
{
    gSoundHook = std::move(hook);
}
