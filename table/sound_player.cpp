#include "table/sound_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <mutex>

#include "core/settings_access.h"
#include "settings/setting_keys.h"

namespace meldora {

namespace {

constexpr int EffectChannel = 0;
// The exit sound is waited for, but a device that never finishes must not keep the program open.
constexpr int LongestExitWait = 5000;
// A piece that ends sooner than this is taken as one that could not be played.
constexpr qint64 ShortestPiece = 250;

// The mixer is one per process; every player shares it.
int audioUsers = 0;
bool audioOpen = false;

bool AcquireAudio()
{
    if (audioUsers++ > 0)
        return audioOpen;
    // An explicit SDL_SOUNDFONTS wins over the installed soundfont.
    if (qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS") && QFileInfo::exists(QString::fromLatin1(InstalledSoundFont)))
        Mix_SetSoundFonts(InstalledSoundFont);
    // SDL would otherwise take over SIGINT and SIGTERM, and the program would no longer end on them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    audioOpen = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (audioOpen && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioOpen = false;
    }
    if (audioOpen)
        Mix_AllocateChannels(1);
    return audioOpen;
}

void ReleaseAudio()
{
    if (--audioUsers > 0 || !audioOpen)
        return;
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioOpen = false;
}

// The player whose music the mixer's end-of-music hook reports to. The hook runs on
// the mixer's thread, so the pointer is only read and written under the lock.
std::mutex musicOwnerLock;
SoundPlayer* musicOwner = nullptr;

}  // namespace

MusicChoice LoadMusicChoice(SettingsAccess& settings)
{
    MusicChoice music;
    music.Enabled = Read(settings, keys::Music);
    music.Jukebox = Read(settings, keys::MusicType) != 0;
    music.File = QString::fromStdString(Read(settings, keys::MusicFile));
    music.Folder = QString::fromStdString(Read(settings, keys::MusicDir));
    while (music.Folder.size() > 1 && music.Folder.endsWith(QLatin1Char('/')))
        music.Folder.chop(1);
    if (music.Folder.isEmpty())
        music.Folder = MusicFolder();
    return music;
}

void StoreMusicChoice(SettingsAccess& settings, const MusicChoice& music)
{
    Write(settings, keys::Music, music.Enabled);
    Write(settings, keys::MusicType, music.Jukebox ? 1 : 0);
    Write(settings, keys::MusicFile, music.File.toStdString());
    Write(settings, keys::MusicDir, music.Folder.toStdString());
}

SoundPlayer::SoundPlayer(SettingsAccess& settings, QObject* parent)
    : QObject(parent),
      random_(std::random_device{}()),
      jukebox_(random_)
{
    audioOpen_ = AcquireAudio();
    soundEnabled_ = Read(settings, keys::Sound);
    eventSounds_ = LoadEventSounds(settings);
    music_ = LoadMusicChoice(settings);
    nextMusic();
}

SoundPlayer::~SoundPlayer()
{
    stopMusic();
    if (audioOpen_) {
        Mix_HaltChannel(EffectChannel);
        Mix_FreeChunk(effect_);
    }
    ReleaseAudio();
}

// ---- Effects ----------------------------------------------------------------------------

void SoundPlayer::playEvent(SoundEvent event)
{
    if (event == SoundEvent::Exit) {
        playExitSound();
        return;
    }
    currentEffect_.clear();
    if (soundEnabled_)
        playFile(ChooseEventFile(eventSounds_.at(static_cast<std::size_t>(event)), random_));
}

bool SoundPlayer::playFile(const QString& name)
{
    currentEffect_.clear();
    if (!audioOpen_ || name.isEmpty())
        return false;
    Mix_HaltChannel(EffectChannel);
    Mix_FreeChunk(effect_);
    const QString file = ResolveFileName(name, SoundFolder());
    effect_ = Mix_LoadWAV(QFile::encodeName(file).constData());
    if (!effect_ || Mix_PlayChannel(EffectChannel, effect_, 0) < 0)
        return false;
    currentEffect_ = file;
    return true;
}

bool SoundPlayer::effectPlaying() const { return audioOpen_ && Mix_Playing(EffectChannel) != 0; }

// The program is closing: the music stays off and the farewell is heard to its end.
void SoundPlayer::playExitSound()
{
    music_.Enabled = false;
    stopMusic();
    currentEffect_.clear();
    if (!soundEnabled_)
        return;
    playFile(ChooseEventFile(eventSounds_.at(static_cast<std::size_t>(SoundEvent::Exit)), random_));
    QElapsedTimer waited;
    waited.start();
    while (effectPlaying() && waited.elapsed() < LongestExitWait) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
}

// ---- Music ------------------------------------------------------------------------------

void SoundPlayer::setMusic(const MusicChoice& music)
{
    music_ = music;
    jukebox_.restart();
    failedPieces_ = 0;
    nextMusic();
}

void SoundPlayer::stopMusic()
{
    {
        std::lock_guard lock(musicOwnerLock);
        if (musicOwner == this)
            musicOwner = nullptr;
    }
    pieceId_ = 0;
    currentPiece_.clear();
    if (piece_) {
        Mix_HaltMusic();
        Mix_FreeMusic(piece_);
        piece_ = nullptr;
    }
}

void SoundPlayer::nextMusic()
{
    stopMusic();
    if (!music_.Enabled || !audioOpen_)
        return;
    if (!music_.Jukebox) {
        const QString file = ResolveFileName(music_.File, MusicFolder());
        // A single file that cannot be played is not tried again and again.
        if (failedPieces_ == 0 && QFileInfo::exists(file) && !startPiece(file))
            ++failedPieces_;
        return;
    }
    jukebox_.setFolder(music_.Folder);
    // Every piece of the folder may be tried once before the jukebox gives up.
    const int tries = static_cast<int>(Jukebox::midiFilesIn(music_.Folder).size());
    while (failedPieces_ < tries) {
        const QString piece = jukebox_.nextPiece();
        if (piece.isEmpty() || startPiece(piece))
            return;
        ++failedPieces_;
    }
}

bool SoundPlayer::startPiece(const QString& file)
{
    piece_ = Mix_LoadMUS(QFile::encodeName(file).constData());
    if (!piece_)
        return false;
    {
        std::lock_guard lock(musicOwnerLock);
        musicOwner = this;
    }
    pieceId_ = ++lastPieceId_;
    Mix_HookMusicFinished(&SoundPlayer::onMusicFinished);
    if (Mix_PlayMusic(piece_, 0) != 0) {
        stopMusic();
        return false;
    }
    currentPiece_ = file;
    pieceStartedAt_ = QDateTime::currentMSecsSinceEpoch();
    emit pieceStarted(file);
    return true;
}

// On the mixer's thread: nothing here may touch a Qt object but post to the player.
void SoundPlayer::onMusicFinished()
{
    std::lock_guard lock(musicOwnerLock);
    if (!musicOwner)
        return;
    SoundPlayer* owner = musicOwner;
    const quint64 piece = owner->pieceId_;
    QMetaObject::invokeMethod(owner, [owner, piece] { owner->pieceFinished(piece); }, Qt::QueuedConnection);
}

void SoundPlayer::pieceFinished(quint64 piece)
{
    if (piece == 0 || piece != pieceId_)
        return;
    if (QDateTime::currentMSecsSinceEpoch() - pieceStartedAt_ < ShortestPiece)
        ++failedPieces_;
    else
        failedPieces_ = 0;
    nextMusic();
}

}  // namespace meldora
