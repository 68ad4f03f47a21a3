// The sound player, built as a module of its own ("libvornix_sound.so" beside the program) that the program
// loads on its sound thread when a window that sounds opens: Qt Multimedia costs milliseconds and megabytes
// at start, and most sessions open no window that plays a sound. Every function here runs on that thread,
// which owns the sound effects.
#include <QAudioDevice>
#include <QFile>
#include <QHash>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

namespace {
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
        if (!QFile::exists(path)) return nullptr; // the program's resources are visible to the module
        auto* effect = new QSoundEffect;          // lives as long as the program
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
        FEffects.insert(name, effect);
        return effect;
    }

    bool FHasDevice;
    QHash<QString, QSoundEffect*> FEffects;
    QSoundEffect* FPlaying = nullptr;
};
} // namespace

extern "C" Q_DECL_EXPORT void VornixPrepareSound()
{
    TSoundPlayer::Instance();
}

extern "C" Q_DECL_EXPORT void VornixPlaySound(const QString& name)
{
    TSoundPlayer::Instance().Play(name);
}

extern "C" Q_DECL_EXPORT void VornixStopSound()
{
    TSoundPlayer::Instance().Stop();
}
