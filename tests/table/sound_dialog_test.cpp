// The Sound dialog: what OK stores and hands to the player, what the next dialog
// shows of it, the editing of an event's files, and the two choosers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/scripted_prompts.h"
#include "support/widgets.h"
#include "support/sound_files.h"
#include "table/event_sounds.h"
#include "table/sound_dialog.h"
#include "table/sound_player.h"

namespace meldora {
namespace {

namespace fs = std::filesystem;

class SoundDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        settings_.WriteValue("Settings\\Music", false);
    }

    QString Path(const char* name) const { return QString::fromStdString((home_.Dir / name).string()); }
    static QListWidget* Events(const QWidget& d) { return test::Child<QListWidget>(d, "eventList"); }
    static QListWidget* Files(const QWidget& d) { return test::Child<QListWidget>(d, "associatedList"); }
    static QPushButton* Button(const QWidget& d, const char* name) { return test::Child<QPushButton>(d, name); }

    test::TempHome home_;
    test::MemorySettings settings_;
    test::ScriptedPrompts prompts_;
    std::vector<prompts::Request>& asked_ = prompts_.asked;
    QString& answer_ = prompts_.answer;
};

TEST_F(SoundDialogTest, OkStoresEveryValueAndTheNextDialogShowsItAgain)
{
    test::WriteWave(home_.Dir / "clap.wav", 100);
    fs::create_directories(home_.Dir / "tunes");
    {
        SoundPlayer player(settings_);
        SoundDialog dialog(player, settings_);
        test::Child<QCheckBox>(dialog, "soundEnabledCheck")->setChecked(false);
        Events(dialog)->setCurrentRow(int(SoundEvent::WinHand));
        answer_ = Path("clap");  // the default extension completes the name
        Button(dialog, "addButton")->click();
        Events(dialog)->setCurrentRow(int(SoundEvent::Deal));
        Button(dialog, "removeButton")->click();
        test::Child<QCheckBox>(dialog, "musicEnabledCheck")->setChecked(true);
        test::Child<QRadioButton>(dialog, "singleFileRadio")->setChecked(true);
        test::Child<QLineEdit>(dialog, "musicFileEdit")->setText(Path("tunes/song.mid"));
        test::Child<QLineEdit>(dialog, "jukeboxFolderEdit")->setText(Path("tunes") + "/");
        dialog.accept();

        EXPECT_FALSE(player.soundEnabled());
        EXPECT_TRUE(player.eventSounds()[int(SoundEvent::Deal)].isEmpty());
        EXPECT_EQ(player.music().Folder, Path("tunes"));
    }
    EXPECT_FALSE(settings_.ReadBool("Settings\\Sound", true));
    EXPECT_TRUE(settings_.ReadBool("Settings\\Music", false));
    EXPECT_EQ(settings_.ReadInt("Settings\\Music Type", 1), 0);
    EXPECT_EQ(settings_.ReadString("Music\\File", ""), Path("tunes/song.mid").toStdString());
    EXPECT_EQ(settings_.ReadString("Sound\\Deal1", ""), "<none>");
    EXPECT_EQ(settings_.ReadString("Sound\\Win Hand2", ""), Path("clap.wav").toStdString());

    settings_.WriteValue("Settings\\Music", false);
    SoundPlayer player(settings_);
    SoundDialog dialog(player, settings_);
    EXPECT_FALSE(test::Child<QCheckBox>(dialog, "soundEnabledCheck")->isChecked());
    EXPECT_EQ(test::Child<QLineEdit>(dialog, "jukeboxFolderEdit")->text(), Path("tunes"));
    Events(dialog)->setCurrentRow(int(SoundEvent::WinHand));
    EXPECT_EQ(test::ItemTexts(Files(dialog)), DefaultEventSounds(SoundEvent::WinHand) << Path("clap.wav"));
}

TEST_F(SoundDialogTest, EditingAnEventsFilesAndCancelLeavesThePlayerAlone)
{
    for (const char* name : {"a.wav", "b.wav"})
        test::WriteWave(home_.Dir / name, 100);
    SoundPlayer player(settings_);
    const EventSoundTable before = player.eventSounds();
    SoundDialog dialog(player, settings_);
    Events(dialog)->setCurrentRow(int(SoundEvent::LoseMatch));
    EXPECT_EQ(Files(dialog)->currentRow(), 0);

    answer_ = Path("a.wav");
    Button(dialog, "addButton")->click();
    EXPECT_FALSE(Button(dialog, "addButton")->isEnabled()) << "three files is the most";
    answer_ = Path("missing.wav");
    Files(dialog)->setCurrentRow(0);
    Button(dialog, "removeButton")->click();
    EXPECT_EQ(test::ItemTexts(Files(dialog)), (QStringList{DefaultEventSounds(SoundEvent::LoseMatch).at(1), Path("a.wav")}));
    EXPECT_EQ(Files(dialog)->currentRow(), 1);
    Button(dialog, "addButton")->click();
    EXPECT_EQ(Files(dialog)->count(), 2) << "a file that does not exist is not added";

    Button(dialog, "removeButton")->click();
    Button(dialog, "removeButton")->click();
    EXPECT_FALSE(Button(dialog, "removeButton")->isEnabled());
    EXPECT_FALSE(Button(dialog, "playButton")->isEnabled());
    Button(dialog, "defaultButton")->click();
    EXPECT_EQ(test::ItemTexts(Files(dialog)), DefaultEventSounds(SoundEvent::LoseMatch));

    Events(dialog)->setCurrentRow(int(SoundEvent::Deal));
    Button(dialog, "removeButton")->click();
    dialog.reject();
    EXPECT_EQ(player.eventSounds(), before);
    EXPECT_FALSE(settings_.KeyExists("Sound"));
}

TEST_F(SoundDialogTest, ChoosersFillTheirFieldAndSelectTheirKindOfMusic)
{
    test::WriteMidi(home_.Dir / "song.mid", 100);
    fs::create_directories(home_.Dir / "tunes" / "inner");
    SoundPlayer player(settings_);
    SoundDialog dialog(player, settings_);

    answer_ = Path("song");
    test::Child<QToolButton>(dialog, "musicFileButton")->click();
    EXPECT_EQ(test::Child<QLineEdit>(dialog, "musicFileEdit")->text(), Path("song.mid"));
    EXPECT_TRUE(test::Child<QRadioButton>(dialog, "singleFileRadio")->isChecked());

    test::Child<QLineEdit>(dialog, "jukeboxFolderEdit")->setText(Path("tunes"));
    test::WhenModalOpens([](QWidget& chooser) {
        ASSERT_NE(qobject_cast<JukeboxFolderDialog*>(&chooser), nullptr);
        auto* folders = test::Child<QListWidget>(chooser, "folderList");
        ASSERT_EQ(test::ItemTexts(folders), (QStringList{"..", "inner"}));
        emit folders->itemActivated(folders->item(1));
        qobject_cast<QDialog*>(&chooser)->accept();
    });
    test::Child<QToolButton>(dialog, "jukeboxFolderButton")->click();
    EXPECT_EQ(test::Child<QLineEdit>(dialog, "jukeboxFolderEdit")->text(), Path("tunes/inner"));
    EXPECT_TRUE(test::Child<QRadioButton>(dialog, "jukeboxRadio")->isChecked());
}

}  // namespace
}  // namespace meldora
