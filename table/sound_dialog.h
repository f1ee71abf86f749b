// The Sound dialog: sound effects on or off and the files of each sound event on
// one tab, the music (on or off, a jukebox folder or a single file) on the other.
// It edits a copy: OK stores every value and hands it to the player, Cancel leaves
// the player as it was. The folder chooser for the jukebox belongs to it.
#pragma once

#include <QDialog>

#include "table/event_sounds.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QCheckBox;

namespace meldora {

class SettingsAccess;
class SoundPlayer;

class SoundDialog : public QDialog {
    Q_OBJECT

public:
    SoundDialog(SoundPlayer& player, SettingsAccess& settings, QWidget* parent = nullptr);

    // The files of each event as edited so far.
    const EventSoundTable& eventSounds() const { return eventSounds_; }

    void accept() override;

private:
    QWidget* createSoundTab();
    QWidget* createMusicTab();
    int selectedEvent() const;
    // Fills the file list of the selected event and selects `file` (clamped to the list).
    void showEventFiles(int file);
    void updateButtons();
    void addSound();
    void removeSound();
    void playSound();
    void restoreDefaultSounds();
    void chooseMusicFile();
    void chooseJukeboxFolder();

    SoundPlayer& player_;
    SettingsAccess& settings_;
    EventSoundTable eventSounds_;

    QCheckBox* soundEnabledCheck_ = nullptr;
    QListWidget* eventList_ = nullptr;
    QListWidget* associatedList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* defaultButton_ = nullptr;

    QCheckBox* musicEnabledCheck_ = nullptr;
    QRadioButton* jukeboxRadio_ = nullptr;
    QRadioButton* singleFileRadio_ = nullptr;
    QLineEdit* jukeboxFolderEdit_ = nullptr;
    QLineEdit* musicFileEdit_ = nullptr;
};

// "Select Jukebox Folder": the mounted volumes, the folders of the current folder
// (".." goes up, a double click goes in) and the current folder's full name.
class JukeboxFolderDialog : public QDialog {
    Q_OBJECT

public:
    explicit JukeboxFolderDialog(const QString& startFolder, QWidget* parent = nullptr);

    QString folder() const { return folder_; }
    void openFolder(const QString& folder);

private:
    QString folder_;
    QComboBox* volumeBox_ = nullptr;
    QListWidget* folderList_ = nullptr;
    QLabel* folderLabel_ = nullptr;
};

}  // namespace meldora
