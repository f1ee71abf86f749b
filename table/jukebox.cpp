#include "table/jukebox.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace meldora {

void Jukebox::setFolder(const QString& folder)
{
    if (folder != folder_)
        playIndex_ = -1;
    folder_ = folder;
}

QStringList Jukebox::midiFilesIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    QDir dir(folder);
    QStringList files;
    for (const QFileInfo& entry :
         dir.entryInfoList({QStringLiteral("*.mid")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
        files << entry.absoluteFilePath();
    return files;
}

void Jukebox::buildPlayList()
{
    playList_ = midiFilesIn(folder_);
    playIndex_ = 0;
    std::shuffle(playList_.begin(), playList_.end(), random_);
    // A new round does not open with the piece that just ended the last one.
    if (playList_.size() > 1 && playList_.front() == lastPiece_)
        std::swap(playList_.front(), playList_.back());
}

// A piece deleted since the list was built is passed over; when the list runs out
// the folder is read again, so pieces added meanwhile join the next round.
QString Jukebox::nextPiece()
{
    // Two lists at most: a second fresh one without a playable piece means there is none.
    for (int builds = 0;;) {
        if (playIndex_ == -1) {
            if (++builds > 2)
                return {};
            buildPlayList();
            if (playList_.isEmpty()) {
                playIndex_ = -1;
                return {};
            }
        }
        const QString piece = playList_[playIndex_++];
        if (playIndex_ == playList_.size())
            playIndex_ = -1;
        if (QFileInfo::exists(piece)) {
            lastPiece_ = piece;
            return piece;
        }
    }
}

}  // namespace meldora
