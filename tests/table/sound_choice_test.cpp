// How the event files are kept, and the jukebox's order: all without an audio device.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include "support/memory_settings.h"
#include "support/temp_home.h"
#include "table/event_sounds.h"
#include "table/jukebox.h"

namespace meldora {
namespace {

TEST(EventSoundStoreTest, StoredTableComesBackWithSilenceKeptAndOldFilesGone)
{
    test::MemorySettings settings;
    settings.WriteValue("Sound\\Deal3", std::string("stale.wav"));
    EventSoundTable table = DefaultEventSoundTable();
    table[int(SoundEvent::Deal)] = {"/x/one.wav", "two.wav"};
    table[int(SoundEvent::Exit)] = {};
    table[int(SoundEvent::LoseMatch)] = {"a.wav", "b.wav", "c.wav"};

    StoreEventSounds(settings, table);

    EXPECT_EQ(settings.ReadString("Sound\\Exit1", ""), "<none>");
    EXPECT_FALSE(settings.KeyExists("Sound\\Deal3"));
    EXPECT_EQ(LoadEventSounds(settings), table);
}

TEST(EventSoundStoreTest, MissingOrEmptyFirstFileGivesTheDefaultAndAGapEndsTheList)
{
    test::MemorySettings settings;
    settings.WriteValue("Sound\\Win Hand1", std::string(""));
    settings.WriteValue("Sound\\Deal1", std::string("one.wav"));
    settings.WriteValue("Sound\\Deal2", std::string(""));
    settings.WriteValue("Sound\\Deal3", std::string("unreached.wav"));

    const EventSoundTable table = LoadEventSounds(settings);

    EXPECT_EQ(table[int(SoundEvent::WinHand)], DefaultEventSounds(SoundEvent::WinHand));
    EXPECT_EQ(table[int(SoundEvent::LoseMatch)].size(), 2);
    EXPECT_EQ(table[int(SoundEvent::Deal)], QStringList{"one.wav"});
}

class JukeboxTest : public ::testing::Test {
protected:
    void Add(const char* name) { test::WriteFile(home_.Dir / name, "MThd"); }
    QString Folder() const { return QString::fromStdString(home_.Dir.string()); }
    QString Full(const char* name) const { return QDir(Folder()).filePath(name); }

    test::TempHome home_;
    std::mt19937 random_{3};
};

TEST_F(JukeboxTest, EveryPieceOnceBeforeAnyRepeatsRoundAfterRound)
{
    for (const char* name : {"a.mid", "b.mid", "C.MID", "d.mid", "notes.txt"})
        Add(name);
    Jukebox jukebox(random_);
    jukebox.setFolder(Folder());

    const QSet<QString> all{Full("a.mid"), Full("b.mid"), Full("C.MID"), Full("d.mid")};
    QString previous;
    QList<QStringList> rounds;
    for (int round = 0; round < 5; ++round) {
        QStringList played;
        for (int i = 0; i < 4; ++i) {
            const QString piece = jukebox.nextPiece();
            EXPECT_NE(piece, previous) << "a piece twice in a row";
            played << piece;
            previous = piece;
        }
        EXPECT_EQ(QSet<QString>(played.begin(), played.end()), all) << "round " << round;
        rounds << played;
    }
    EXPECT_FALSE(rounds[0] == rounds[1] && rounds[1] == rounds[2] && rounds[2] == rounds[3]) << "never reshuffled";
}

TEST_F(JukeboxTest, PassesOverDeletedPiecesAndTakesNewOnesInTheNextRound)
{
    Add("a.mid");
    Add("b.mid");
    Jukebox jukebox(random_);
    jukebox.setFolder(Folder());

    const QString first = jukebox.nextPiece();
    const QString second = first == Full("a.mid") ? Full("b.mid") : Full("a.mid");
    QFile::remove(second);
    Add("c.mid");
    // The rest of the round is gone; the next round reads the folder again.
    const QString next = jukebox.nextPiece();
    EXPECT_TRUE(next == first || next == Full("c.mid")) << next.toStdString();

    QFile::remove(first);
    QFile::remove(Full("c.mid"));
    EXPECT_TRUE(jukebox.nextPiece().isEmpty());
}

}  // namespace
}  // namespace meldora
