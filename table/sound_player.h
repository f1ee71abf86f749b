// The program's sound effects and background music, played with SDL2_mixer: one
// channel for the effects (a new effect cuts off the one still playing) and the
// mixer's music stream for the MIDI pieces, which its FluidSynth decoder renders
// with an installed General MIDI soundfont.
//
// Without an audio device everything here stays silent and nothing is reported; a
// missing or unreadable file is skipped in silence; a MIDI file that cannot be
// played ends at once and the jukebox goes on with the next piece.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <random>

#include "core/table_host.h"
#include "table/event_sounds.h"
#include "table/jukebox.h"

struct _Mix_Music;
struct Mix_Chunk;

namespace meldora {

class SettingsAccess;

struct MusicChoice {
    bool Enabled = true;
    // true: every MIDI file of Folder in shuffled order; false: File again and again.
    bool Jukebox = true;
    // A name without a folder lies in MusicFolder().
    QString File;
    QString Folder;
};

// The music settings of the store; a trailing "/" of the folder is dropped, and no
// folder at all means the program's own music.
MusicChoice LoadMusicChoice(SettingsAccess& settings);
void StoreMusicChoice(SettingsAccess& settings, const MusicChoice& music);

// The General MIDI soundfont of the timgm6mb-soundfont package.
inline constexpr char InstalledSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class SoundPlayer : public QObject {
    Q_OBJECT

public:
    // Reads the sound and music settings and starts the music.
    explicit SoundPlayer(SettingsAccess& settings, QObject* parent = nullptr);
    ~SoundPlayer() override;

    bool audioAvailable() const { return audioOpen_; }

    bool soundEnabled() const { return soundEnabled_; }
    void setSoundEnabled(bool enabled) { soundEnabled_ = enabled; }
    const EventSoundTable& eventSounds() const { return eventSounds_; }
    void setEventSounds(const EventSoundTable& sounds) { eventSounds_ = sounds; }

    // One of the event's files at random, when sounds are on. The exit sound first
    // stops the music for good and returns once it has played to its end.
    void playEvent(SoundEvent event);
    // Plays a wave file at once, cutting off the effect still playing. A name without
    // a folder lies in SoundFolder(). False when nothing plays.
    bool playFile(const QString& name);
    // The full name of the effect last started; empty when the last attempt played nothing.
    QString currentEffect() const { return currentEffect_; }
    bool effectPlaying() const;

    const MusicChoice& music() const { return music_; }
    // Takes over the music settings and starts the music afresh (a new shuffle).
    void setMusic(const MusicChoice& music);
    // Stops the piece playing and starts the next one: the single file again, or the
    // jukebox's next piece. With music off the music just stops.
    void nextMusic();
    void stopMusic();
    // The full name of the piece playing; empty when no music plays.
    QString currentPiece() const { return currentPiece_; }

signals:
    // A piece of music has begun to play; its full name.
    void pieceStarted(const QString& file);

private:
    void playExitSound();
    // False when the piece cannot be played.
    bool startPiece(const QString& file);
    // Runs on the GUI thread, posted by the mixer's end-of-music hook.
    void pieceFinished(quint64 piece);
    static void onMusicFinished();

    bool audioOpen_ = false;
    bool soundEnabled_ = true;
    EventSoundTable eventSounds_;
    Mix_Chunk* effect_ = nullptr;
    QString currentEffect_;

    MusicChoice music_;
    std::mt19937 random_;
    Jukebox jukebox_;
    _Mix_Music* piece_ = nullptr;
    QString currentPiece_;
    // Tells the end of the piece playing from the end of one stopped on purpose.
    std::atomic<quint64> pieceId_ = 0;
    quint64 lastPieceId_ = 0;
    qint64 pieceStartedAt_ = 0;
    // Pieces in a row that could not be played or stopped at once.
    int failedPieces_ = 0;
};

}  // namespace meldora
