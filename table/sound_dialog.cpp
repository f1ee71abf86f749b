#include "table/sound_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStorageInfo>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/settings_access.h"
#include "settings/setting_keys.h"
#include "table/prompts.h"
#include "table/sound_player.h"

namespace meldora {

namespace {

template <typename T>
T* Named(T* widget, const char* name, int helpContext = 0)
{
    widget->setObjectName(QLatin1String(name));
    if (helpContext)
        widget->setProperty("HelpContext", helpContext);
    return widget;
}

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Named(buttons->button(QDialogButtonBox::Ok), "okButton", 1019);
    Named(buttons->button(QDialogButtonBox::Cancel), "cancelButton", 1020);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// An open-file answer, with the default extension added when the name has none and
// only without it names no file; empty when no existing file was chosen.
QString ExistingFile(QString chosen, const QString& defaultExtension)
{
    if (chosen.isEmpty())
        return {};
    if (QFileInfo(chosen).suffix().isEmpty() && !QFileInfo::exists(chosen))
        chosen += QLatin1Char('.') + defaultExtension;
    return QFileInfo(chosen).isFile() ? chosen : QString();
}

}  // namespace

SoundDialog::SoundDialog(SoundPlayer& player, SettingsAccess& settings, QWidget* parent)
    : QDialog(parent), player_(player), settings_(settings), eventSounds_(player.eventSounds())
{
    setObjectName(QStringLiteral("soundDialog"));
    setWindowTitle(QStringLiteral("Meldora Sound"));

    auto* tabs = Named(new QTabWidget, "soundTabs");
    tabs->addTab(createSoundTab(), QStringLiteral("Sound"));
    tabs->addTab(createMusicTab(), QStringLiteral("Music"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(OkCancel(this));

    eventList_->setCurrentRow(0);
    updateButtons();
}

QWidget* SoundDialog::createSoundTab()
{
    auto* page = new QWidget;
    soundEnabledCheck_ = Named(new QCheckBox(QStringLiteral("&Sound Enabled")), "soundEnabledCheck", 1063);
    soundEnabledCheck_->setChecked(player_.soundEnabled());

    eventList_ = Named(new QListWidget, "eventList", 1064);
    for (int e = 0; e < SoundEventCount; ++e)
        eventList_->addItem(SoundEventName(static_cast<SoundEvent>(e)));
    associatedList_ = Named(new QListWidget, "associatedList", 1065);

    auto* eventsLabel = new QLabel(QStringLiteral("Meldora &Events"));
    eventsLabel->setBuddy(eventList_);
    auto* associatedLabel = new QLabel(QStringLiteral("&Associated Sounds"));
    associatedLabel->setBuddy(associatedList_);

    addButton_ = Named(new QPushButton(QStringLiteral("&Add...")), "addButton", 1067);
    removeButton_ = Named(new QPushButton(QStringLiteral("&Remove")), "removeButton", 1068);
    playButton_ = Named(new QPushButton(QStringLiteral("&Play")), "playButton", 1066);
    defaultButton_ = Named(new QPushButton(QStringLiteral("&Default")), "defaultButton", 1069);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {addButton_, removeButton_, playButton_, defaultButton_})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* grid = new QGridLayout(page);
    grid->addWidget(soundEnabledCheck_, 0, 0, 1, 3);
    grid->addWidget(eventsLabel, 1, 0);
    grid->addWidget(associatedLabel, 1, 1);
    grid->addWidget(eventList_, 2, 0);
    grid->addWidget(associatedList_, 2, 1);
    grid->addLayout(buttons, 2, 2);

    connect(eventList_, &QListWidget::currentRowChanged, this, [this] { showEventFiles(0); });
    connect(associatedList_, &QListWidget::currentRowChanged, this, &SoundDialog::updateButtons);
    connect(addButton_, &QPushButton::clicked, this, &SoundDialog::addSound);
    connect(removeButton_, &QPushButton::clicked, this, &SoundDialog::removeSound);
    connect(playButton_, &QPushButton::clicked, this, &SoundDialog::playSound);
    connect(defaultButton_, &QPushButton::clicked, this, &SoundDialog::restoreDefaultSounds);
    // The keys of the file list do what the buttons do, while the buttons would.
    auto* insertKey = new QShortcut(QKeySequence(Qt::Key_Insert), associatedList_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(insertKey, &QShortcut::activated, this, [this] {
        if (addButton_->isEnabled())
            addSound();
    });
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), associatedList_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        if (removeButton_->isEnabled())
            removeSound();
    });
    return page;
}

QWidget* SoundDialog::createMusicTab()
{
    auto* page = new QWidget;
    const MusicChoice& music = player_.music();
    musicEnabledCheck_ = Named(new QCheckBox(QStringLiteral("&Music Enabled")), "musicEnabledCheck", 1070);
    musicEnabledCheck_->setChecked(music.Enabled);
    jukeboxRadio_ = Named(new QRadioButton(QStringLiteral("&Jukebox Folder")), "jukeboxRadio", 1071);
    singleFileRadio_ = Named(new QRadioButton(QStringLiteral("&Single Music File")), "singleFileRadio", 1071);
    (music.Jukebox ? jukeboxRadio_ : singleFileRadio_)->setChecked(true);
    jukeboxFolderEdit_ = Named(new QLineEdit(music.Folder), "jukeboxFolderEdit", 1071);
    musicFileEdit_ = Named(new QLineEdit(music.File), "musicFileEdit", 1071);
    auto* folderButton = Named(new QToolButton, "jukeboxFolderButton", 1071);
    folderButton->setText(QStringLiteral("..."));
    auto* fileButton = Named(new QToolButton, "musicFileButton", 1071);
    fileButton->setText(QStringLiteral("..."));

    auto* grid = new QGridLayout(page);
    grid->addWidget(musicEnabledCheck_, 0, 0, 1, 2);
    grid->addWidget(jukeboxRadio_, 1, 0, 1, 2);
    grid->addWidget(jukeboxFolderEdit_, 2, 0);
    grid->addWidget(folderButton, 2, 1);
    grid->addWidget(singleFileRadio_, 3, 0, 1, 2);
    grid->addWidget(musicFileEdit_, 4, 0);
    grid->addWidget(fileButton, 4, 1);
    grid->setRowStretch(5, 1);

    connect(folderButton, &QToolButton::clicked, this, &SoundDialog::chooseJukeboxFolder);
    connect(fileButton, &QToolButton::clicked, this, &SoundDialog::chooseMusicFile);
    return page;
}

int SoundDialog::selectedEvent() const { return std::max(0, eventList_->currentRow()); }

void SoundDialog::showEventFiles(int file)
{
    const QStringList& files = eventSounds_[selectedEvent()];
    associatedList_->clear();
    associatedList_->addItems(files);
    if (!files.isEmpty())
        associatedList_->setCurrentRow(std::clamp<int>(file, 0, files.size() - 1));
    updateButtons();
}

void SoundDialog::updateButtons()
{
    const bool fileSelected = associatedList_->currentRow() >= 0;
    addButton_->setEnabled(eventSounds_[selectedEvent()].size() < MaxSoundsPerEvent);
    removeButton_->setEnabled(fileSelected);
    playButton_->setEnabled(fileSelected);
}

void SoundDialog::addSound()
{
    const QString file = ExistingFile(
        prompts::openFileName(this, QStringLiteral("Select Sound File"), SoundFolder(),
                              QStringLiteral("Sound Files (*.wav);;All Files (*)")),
        QStringLiteral("wav"));
    QStringList& files = eventSounds_[selectedEvent()];
    if (file.isEmpty() || files.size() >= MaxSoundsPerEvent)
        return;
    files << file;
    showEventFiles(files.size() - 1);
}

// With the selected file gone the last one is selected.
void SoundDialog::removeSound()
{
    QStringList& files = eventSounds_[selectedEvent()];
    const int row = associatedList_->currentRow();
    if (row < 0 || row >= files.size())
        return;
    files.removeAt(row);
    showEventFiles(files.size() - 1);
}

void SoundDialog::playSound()
{
    if (QListWidgetItem* item = associatedList_->currentItem())
        player_.playFile(item->text());
}

void SoundDialog::restoreDefaultSounds()
{
    eventSounds_[selectedEvent()] = DefaultEventSounds(static_cast<SoundEvent>(selectedEvent()));
    showEventFiles(0);
}

void SoundDialog::chooseMusicFile()
{
    const QString current = ResolveFileName(musicFileEdit_->text(), MusicFolder());
    const QString file = ExistingFile(
        prompts::openFileName(this, QStringLiteral("Select Music File"), QFileInfo(current).absolutePath(),
                              QStringLiteral("Music Files (*.mid);;All Files (*)")),
        QStringLiteral("mid"));
    if (file.isEmpty())
        return;
    musicFileEdit_->setText(file);
    singleFileRadio_->setChecked(true);
}

void SoundDialog::chooseJukeboxFolder()
{
    JukeboxFolderDialog chooser(jukeboxFolderEdit_->text(), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    jukeboxFolderEdit_->setText(chooser.folder());
    jukeboxRadio_->setChecked(true);
}

void SoundDialog::accept()
{
    MusicChoice music;
    music.Enabled = musicEnabledCheck_->isChecked();
    music.Jukebox = !singleFileRadio_->isChecked();
    music.File = musicFileEdit_->text();
    music.Folder = jukeboxFolderEdit_->text();

    Write(settings_, keys::Sound, soundEnabledCheck_->isChecked());
    StoreMusicChoice(settings_, music);
    StoreEventSounds(settings_, eventSounds_);

    player_.setSoundEnabled(soundEnabledCheck_->isChecked());
    player_.setEventSounds(eventSounds_);
    player_.setMusic(LoadMusicChoice(settings_));
    QDialog::accept();
}

// ---- The jukebox folder chooser -----------------------------------------------------------

JukeboxFolderDialog::JukeboxFolderDialog(const QString& startFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("jukeboxFolderDialog"));
    setWindowTitle(QStringLiteral("Select Jukebox Folder"));

    folderLabel_ = Named(new QLabel, "folderLabel");
    folderList_ = Named(new QListWidget, "folderList", 1085);
    volumeBox_ = Named(new QComboBox, "volumeBox", 1086);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && volumeBox_->findText(volume.rootPath()) < 0)
            volumeBox_->addItem(volume.rootPath());
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel_);
    layout->addWidget(folderList_);
    layout->addWidget(volumeBox_);
    layout->addWidget(OkCancel(this));

    connect(folderList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openFolder(QDir(folder_).filePath(item->text())); });
    connect(volumeBox_, &QComboBox::activated, this, [this](int index) { openFolder(volumeBox_->itemText(index)); });

    openFolder(QFileInfo(startFolder).isDir() ? startFolder : QDir::homePath());
}

void JukeboxFolderDialog::openFolder(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return;
    folder_ = QDir::cleanPath(dir.absolutePath());
    folderLabel_->setText(folder_);
    folderList_->clear();
    if (!dir.isRoot())
        folderList_->addItem(QStringLiteral(".."));
    folderList_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    const QStorageInfo volume(folder_);
    volumeBox_->setCurrentIndex(volumeBox_->findText(volume.rootPath()));
}

}  // namespace meldora
