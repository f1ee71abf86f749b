// The jukebox's play list: every MIDI file of a folder in shuffled order, each
// piece once before any piece repeats, then a fresh shuffle. Knows nothing of
// audio, so that the order is testable on its own.
#pragma once

#include <QString>
#include <QStringList>
#include <random>

namespace meldora {

class Jukebox {
public:
    explicit Jukebox(std::mt19937& random) : random_(random) {}

    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // The next call to nextPiece() reads the folder afresh and shuffles.
    void restart() { playIndex_ = -1; }

    // The full name of the next piece that still exists; empty when the folder
    // holds no MIDI file.
    QString nextPiece();

    // The MIDI files of a folder ("*.mid" in any case), full names.
    static QStringList midiFilesIn(const QString& folder);

private:
    void buildPlayList();

    std::mt19937& random_;
    QString folder_;
    QStringList playList_;
    // -1: a new list is built before the next piece.
    qsizetype playIndex_ = -1;
    QString lastPiece_;
};

}  // namespace meldora
