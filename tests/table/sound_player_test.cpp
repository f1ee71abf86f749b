// The sound player on the dummy audio driver: which file an event plays, and the
// music going on past files that cannot be played.
#include <gtest/gtest.h>

#include <QSet>
#include <QTest>

#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/sound_files.h"
#include "table/sound_player.h"

namespace meldora {
namespace {

namespace fs = std::filesystem;

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        // The program's own sounds live in a folder of the test's.
        fs::create_directories(home_.Dir / "data" / "sounds");
        fs::create_directories(home_.Dir / "music");
        setenv("MELDORA_DATA_DIR", (home_.Dir / "data").c_str(), 1);
        settings_.WriteValue("Settings\\Music", false);
    }
    void TearDown() override { unsetenv("MELDORA_DATA_DIR"); }

    QString Path(const fs::path& relative) const { return QString::fromStdString((home_.Dir / relative).string()); }

    test::TempHome home_;
    test::MemorySettings settings_;
};

TEST_F(SoundPlayerTest, EventPlaysOneOfItsFilesBareNamesFromTheSoundFolder)
{
    test::WriteWave(home_.Dir / "data" / "sounds" / "own.wav", 200);
    test::WriteWave(home_.Dir / "elsewhere.wav", 200);
    settings_.WriteValue("Sound\\Deal1", std::string("own.wav"));
    settings_.WriteValue("Sound\\Deal2", Path("elsewhere.wav").toStdString());
    SoundPlayer player(settings_);
    ASSERT_TRUE(player.audioAvailable());

    QSet<QString> played;
    for (int i = 0; i < 40; ++i) {
        player.playEvent(SoundEvent::Deal);
        played.insert(player.currentEffect());
    }
    EXPECT_EQ(played, (QSet<QString>{Path("data/sounds/own.wav"), Path("elsewhere.wav")}));
    EXPECT_TRUE(player.effectPlaying());
}

TEST_F(SoundPlayerTest, SilentForNoneForSoundOffAndForMissingOrDamagedFiles)
{
    test::WriteWave(home_.Dir / "data" / "sounds" / "own.wav", 200);
    test::WriteFile(home_.Dir / "data" / "sounds" / "damaged.wav", "RIFF\x10\0\0\0WAVEjunk");
    settings_.WriteValue("Sound\\Deal1", std::string("<none>"));
    settings_.WriteValue("Sound\\Start1", std::string("missing.wav"));
    settings_.WriteValue("Sound\\Win Hand1", std::string("damaged.wav"));
    settings_.WriteValue("Sound\\Lose Hand1", std::string("own.wav"));
    SoundPlayer player(settings_);

    for (SoundEvent silent : {SoundEvent::Deal, SoundEvent::Start, SoundEvent::WinHand}) {
        player.playEvent(SoundEvent::LoseHand);
        ASSERT_FALSE(player.currentEffect().isEmpty());
        player.playEvent(silent);
        EXPECT_TRUE(player.currentEffect().isEmpty()) << player.currentEffect().toStdString();
    }
    player.setSoundEnabled(false);
    player.playEvent(SoundEvent::LoseHand);
    EXPECT_TRUE(player.currentEffect().isEmpty());
}

TEST_F(SoundPlayerTest, JukeboxGoesOnPastADamagedPieceFromOneToTheNext)
{
    test::WriteFile(home_.Dir / "music" / "damaged.mid", "this is not music");
    test::WriteMidi(home_.Dir / "music" / "one.mid", 100);
    test::WriteMidi(home_.Dir / "music" / "two.mid", 100);
    SoundPlayer player(settings_);

    QStringList heard;
    QObject::connect(&player, &SoundPlayer::pieceStarted, [&](const QString& file) { heard << file; });
    player.setMusic({true, true, "", Path("music")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.contains(Path("music/one.mid")) && heard.contains(Path("music/two.mid")); }, 8000))
        << heard.join(", ").toStdString();
}

TEST_F(SoundPlayerTest, JukeboxOfDamagedPiecesOnlyFallsSilentInsteadOfTryingForever)
{
    test::WriteFile(home_.Dir / "music" / "one.mid", "not music");
    test::WriteFile(home_.Dir / "music" / "two.mid", "MThd nor this");
    SoundPlayer player(settings_);
    int starts = 0;
    QObject::connect(&player, &SoundPlayer::pieceStarted, [&] { ++starts; });

    player.setMusic({true, true, "", Path("music")});
    QTest::qWait(1000);
    EXPECT_LE(starts, 2);
    EXPECT_TRUE(player.currentPiece().isEmpty());
}

TEST_F(SoundPlayerTest, SingleFileRepeatsFromTheMusicFolderAndNothingPlaysWithoutIt)
{
    fs::create_directories(home_.Dir / "data" / "music");
    test::WriteMidi(home_.Dir / "data" / "music" / "tune.mid", 100);
    SoundPlayer player(settings_);

    QStringList heard;
    QObject::connect(&player, &SoundPlayer::pieceStarted, [&](const QString& file) { heard << file; });
    player.setMusic({true, false, "tune.mid", ""});
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() >= 2; }, 8000)) << "the piece was not repeated";
    EXPECT_EQ(heard.first(), Path("data/music/tune.mid"));
    EXPECT_EQ(heard.last(), Path("data/music/tune.mid"));

    player.setMusic({true, false, "gone.mid", ""});
    EXPECT_TRUE(player.currentPiece().isEmpty());
    player.setMusic({true, true, "", Path("data/sounds")});
    EXPECT_TRUE(player.currentPiece().isEmpty());
    player.setMusic({false, false, "tune.mid", ""});
    EXPECT_TRUE(player.currentPiece().isEmpty());
}

}  // namespace
}  // namespace meldora
