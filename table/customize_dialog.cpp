#include "table/customize_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "core/saved_game.h"
#include "records/highscores.h"
#include "settings/setting_keys.h"
#include "table/card_backs.h"
#include "table/prompts.h"

namespace meldora {

namespace {

constexpr int DelayStep = 300;
constexpr int SliderSteps = 10;
constexpr char DefaultPlayerName[] = "Player";

QGroupBox* radioGroup(const QString& title, const char* name, const QStringList& captions,
                      const QStringList& buttonNames, QButtonGroup* group)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        if (i < buttonNames.size())
            button->setObjectName(buttonNames[i]);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

QCheckBox* checkBox(const QString& caption, const char* name)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* pushButton(const QString& caption, const char* name)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QSlider* slider(const char* name, int maximum, int step)
{
    auto* s = new QSlider(Qt::Horizontal);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, maximum);
    s->setSingleStep(step);
    s->setPageStep(step);
    s->setTickInterval(step);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

// A slider between "Slow" and "Fast" in a titled box.
QGroupBox* slowFastBox(const QString& title, const char* name, QSlider* s, QWidget* extra = nullptr)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(box);
    grid->addWidget(s, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Slow")), 1, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Fast")), 1, 1, Qt::AlignRight);
    if (extra)
        grid->addWidget(extra, 2, 0, 1, 2);
    return box;
}

int levelIndex(const std::string& name)
{
    if (name == "Beginner")
        return 0;
    if (name == "Advanced")
        return 1;
    return 2;
}

}  // namespace

CustomizeDialog::CustomizeDialog(SettingsAccess& settings, PlayerList& players, const CustomizeSituation& situation,
                                 std::function<void()> applied, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      players_(players),
      working_(players),
      situation_(situation),
      applied_(std::move(applied))
{
    setObjectName(QStringLiteral("TfmCustomize"));
    setWindowTitle(QStringLiteral("Customize Meldora"));

    tabs_ = new QTabWidget;
    tabs_->addTab(screenPage(), QStringLiteral("Screen"));
    tabs_->addTab(playersPage(), QStringLiteral("Players"));
    tabs_->addTab(levelPage(), QStringLiteral("Level"));
    tabs_->addTab(generalPage(), QStringLiteral("General"));

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bnOk"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bnCancel"));
    apply_ = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
    apply_->setObjectName(QStringLiteral("bnApply"));
    connect(ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &CustomizeDialog::apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    loadValues();
    tabs_->setCurrentIndex(std::clamp(situation_.page, 0, tabs_->count() - 1));
    apply_->setEnabled(false);
}

int CustomizeDialog::sizeIndex() const { return std::max(0, sizes_->checkedId()); }

int CustomizeDialog::activePage() const { return tabs_->currentIndex(); }

// ---- The four pages ------------------------------------------------------------------

QWidget* CustomizeDialog::screenPage()
{
    sizes_ = new QButtonGroup(this);
    QGroupBox* sizeBox = radioGroup(
        QStringLiteral("&Window Size"), "gbWindowSize",
        {QStringLiteral("640 x 480"), QStringLiteral("800 x 600"), QStringLiteral("1024 x 768"),
         QStringLiteral("1280 x 1024")},
        {QStringLiteral("rb640"), QStringLiteral("rb800"), QStringLiteral("rb1024"), QStringLiteral("rb1280")}, sizes_);

    auto* colorBox = new QGroupBox(QStringLiteral("Background Color"));
    colorBox->setObjectName(QStringLiteral("gbBackground"));
    backgroundShape_ = new QLabel;
    backgroundShape_->setObjectName(QStringLiteral("shBackground"));
    backgroundShape_->setFixedSize(60, 40);
    backgroundShape_->setAutoFillBackground(true);
    backgroundShape_->setFrameShape(QFrame::Box);
    QPushButton* change = pushButton(QStringLiteral("&Change..."), "bnChange");
    connect(change, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(background_, this);
        if (!chosen.isValid())
            return;
        background_ = chosen;
        QPalette p = backgroundShape_->palette();
        p.setColor(QPalette::Window, background_);
        backgroundShape_->setPalette(p);
        changed();
    });
    auto* colorLayout = new QHBoxLayout(colorBox);
    colorLayout->addWidget(backgroundShape_);
    colorLayout->addWidget(change);

    showStatusbar_ = checkBox(QStringLiteral("&Show statusbar"), "ckShowStatusbar");
    showWhoseTurn_ = checkBox(QStringLiteral("Show my turn/your turn &messages"), "ckShowWhoseTurn");
    showHighscores_ = checkBox(QStringLiteral("Show &highscores"), "ckShowHighscores");

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(sizeBox, 0, 0, 2, 1);
    grid->addWidget(colorBox, 0, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(showStatusbar_);
    checks->addWidget(showWhoseTurn_);
    checks->addWidget(showHighscores_);
    grid->addLayout(checks, 1, 1);
    connect(sizes_, &QButtonGroup::idClicked, this, &CustomizeDialog::changed);
    for (QCheckBox* box : {showStatusbar_, showWhoseTurn_, showHighscores_})
        connect(box, &QCheckBox::toggled, this, &CustomizeDialog::changed);
    return page;
}

QWidget* CustomizeDialog::playersPage()
{
    auto* currentBox = new QGroupBox(QStringLiteral("Current Player"));
    currentBox->setObjectName(QStringLiteral("gbCurrentPlayer"));
    currentPlayer_ = new QLabel;
    currentPlayer_->setObjectName(QStringLiteral("lbCurrentPlayer"));
    (new QVBoxLayout(currentBox))->addWidget(currentPlayer_);

    auto* listBox = new QGroupBox(QStringLiteral("&Player List"));
    listBox->setObjectName(QStringLiteral("gbPlayerList"));
    playerList_ = new QListWidget;
    playerList_->setObjectName(QStringLiteral("lbPlayers"));
    setCurrent_ = pushButton(QStringLiteral("Set as &Current Player"), "bnSetCurrent");
    resetStats_ = pushButton(QStringLiteral("Reset &Stats"), "bnResetStats");
    deletePlayer_ = pushButton(QStringLiteral("&Delete"), "bnPlayerDelete");
    renamePlayer_ = pushButton(QStringLiteral("&Rename..."), "bnPlayerRename");
    QPushButton* newButton = pushButton(QStringLiteral("&New..."), "bnPlayerNew");
    auto* listLayout = new QHBoxLayout(listBox);
    listLayout->addWidget(playerList_);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {setCurrent_, resetStats_, deletePlayer_, renamePlayer_, newButton})
        buttons->addWidget(b);
    buttons->addStretch();
    listLayout->addLayout(buttons);

    selectPlayer_ = checkBox(QStringLiteral("Select player when starting Meldora"), "ckSelectPlayer");

    connect(playerList_, &QListWidget::itemSelectionChanged, this, [this] {
        const bool selected = !playerList_->selectedItems().isEmpty();
        setCurrent_->setEnabled(selected);
        resetStats_->setEnabled(selected);
    });
    connect(setCurrent_, &QPushButton::clicked, this, [this] {
        makeCurrent(playerList_->currentRow());
        changed();
    });
    connect(resetStats_, &QPushButton::clicked, this, &CustomizeDialog::resetStats);
    connect(deletePlayer_, &QPushButton::clicked, this, &CustomizeDialog::deletePlayer);
    connect(renamePlayer_, &QPushButton::clicked, this, &CustomizeDialog::renamePlayer);
    connect(newButton, &QPushButton::clicked, this, &CustomizeDialog::newPlayer);
    connect(selectPlayer_, &QCheckBox::toggled, this, &CustomizeDialog::changed);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(currentBox);
    layout->addWidget(listBox);
    layout->addWidget(selectPlayer_);
    return page;
}

QWidget* CustomizeDialog::levelPage()
{
    levels_ = new QButtonGroup(this);
    levelGroup_ = radioGroup(QStringLiteral("Computer &Level"), "rgLevel",
                             {QStringLiteral("&Beginner"), QStringLiteral("&Advanced"), QStringLiteral("&Expert")}, {},
                             levels_);
    auto* aggressionBox = new QGroupBox(QStringLiteral("&Aggressiveness"));
    aggressionBox->setObjectName(QStringLiteral("gbAggression"));
    aggression_ = slider("tbAggressive", 100, 10);
    aggressionValue_ = new QLabel;
    aggressionValue_->setObjectName(QStringLiteral("lbAgressive"));
    auto* row = new QHBoxLayout(aggressionBox);
    row->addWidget(aggression_);
    row->addWidget(aggressionValue_);
    row->addWidget(new QLabel(QStringLiteral("%")));

    auto* warning = new QLabel(QStringLiteral("The level cannot be changed now, because a game is in progress. Press "
                                              "OK and then F2 to start a new game. The current game will be aborted."));
    warning->setObjectName(QStringLiteral("lbWarning"));
    warning->setWordWrap(true);
    warning->setVisible(situation_.gameUnderWay);

    connect(levels_, &QButtonGroup::idClicked, this, [this](int level) {
        aggression_->setEnabled(level == 2);
        changed();
    });
    connect(aggression_, &QSlider::valueChanged, this, [this](int value) {
        aggressionValue_->setText(QString::number(value));
        changed();
    });

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(levelGroup_);
    layout->addWidget(aggressionBox);
    layout->addWidget(warning);
    layout->addStretch();
    return page;
}

QWidget* CustomizeDialog::generalPage()
{
    discard_ = new QButtonGroup(this);
    QGroupBox* discardBox = radioGroup(QStringLiteral("D&iscarding"), "rgDiscard",
                                       {QStringLiteral("&One Right Click"), QStringLiteral("&Two Right Clicks")}, {},
                                       discard_);
    delay_ = slider("tbDelay", SliderSteps, 1);
    cardSpeed_ = slider("tbCardMoves", SliderSteps, 1);
    noAnimation_ = checkBox(QStringLiteral("&No Animation"), "ckCardMoves");
    autoSave_ = checkBox(QStringLiteral("&AutoSave on Exit and AutoLoad on Start"), "ckSaveExit");

    connect(noAnimation_, &QCheckBox::toggled, this, [this](bool off) {
        cardSpeed_->setEnabled(!off);
        if (!off)
            cardSpeed_->setValue(Read(settings_, keys::CardSpeed));
        changed();
    });
    connect(discard_, &QButtonGroup::idClicked, this, &CustomizeDialog::changed);
    connect(delay_, &QSlider::valueChanged, this, &CustomizeDialog::changed);
    connect(cardSpeed_, &QSlider::valueChanged, this, &CustomizeDialog::changed);
    connect(autoSave_, &QCheckBox::toggled, this, &CustomizeDialog::changed);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(discardBox);
    layout->addWidget(slowFastBox(QStringLiteral("Computer &Melding"), "gbDelay", delay_));
    layout->addWidget(slowFastBox(QStringLiteral("&Card Animation"), "gbCardMove", cardSpeed_, noAnimation_));
    layout->addWidget(autoSave_);
    return page;
}

// ---- Showing the values ----------------------------------------------------------------

void CustomizeDialog::loadValues()
{
    SettingsAccess& s = settings_;
    for (int i = 0; i < 4; ++i)
        sizes_->button(i)->setEnabled(i <= situation_.largestAllowedSize);
    sizes_->button(std::clamp(situation_.sizeIndex, 0, 3))->setChecked(true);

    background_ = colorFromSetting(static_cast<std::uint32_t>(Read(s, keys::BackgroundColor)));
    QPalette p = backgroundShape_->palette();
    p.setColor(QPalette::Window, background_);
    backgroundShape_->setPalette(p);

    showPlayers(working_.Current);
    selectPlayer_->setChecked(Read(s, keys::SelectPlayerOnStartup));

    const int level = levelIndex(Read(s, keys::Level));
    levels_->button(level)->setChecked(true);
    const bool levelLocked = situation_.gameUnderWay || situation_.networkGame;
    levelGroup_->setEnabled(!levelLocked);
    aggression_->setValue(std::clamp(Read(s, keys::Aggression), 0, 100));
    aggressionValue_->setText(QString::number(aggression_->value()));
    aggression_->setEnabled(level == 2 && !situation_.gameUnderWay);

    discard_->button(Read(s, keys::MouseOptions) == "Double Right Click" ? 1 : 0)->setChecked(true);
    delay_->setValue(std::clamp(SliderSteps - Read(s, keys::Delay) / DelayStep, 0, SliderSteps));
    autoSave_->setChecked(Read(s, keys::AutoSave));
    showStatusbar_->setChecked(Read(s, keys::ShowStatusbar));
    showHighscores_->setChecked(Read(s, keys::ShowHighscores));
    showWhoseTurn_->setChecked(Read(s, keys::ShowTurns));
    const bool animated = Read(s, keys::CardMovement);
    noAnimation_->setChecked(!animated);
    cardSpeed_->setValue(std::clamp(Read(s, keys::CardSpeed), 0, SliderSteps));
    cardSpeed_->setEnabled(animated);
}

void CustomizeDialog::changed() { apply_->setEnabled(true); }

// ---- Players -------------------------------------------------------------------------------

void CustomizeDialog::showPlayers(int select)
{
    playerList_->clear();
    for (const Player& player : working_.Players)
        playerList_->addItem(QString::fromStdString(player.Name));
    const std::string current = working_.CurrentName();
    currentPlayer_->setText(current.empty() ? QString::fromLatin1(DefaultPlayerName) : QString::fromStdString(current));
    if (select >= 0 && select < playerList_->count())
        playerList_->setCurrentRow(select);
    updatePlayerButtons();
}

void CustomizeDialog::updatePlayerButtons()
{
    const bool any = !working_.Players.empty();
    const bool selected = !playerList_->selectedItems().isEmpty();
    renamePlayer_->setEnabled(any);
    deletePlayer_->setEnabled(any);
    setCurrent_->setEnabled(any && selected);
    resetStats_->setEnabled(any && selected);
    selectPlayer_->setEnabled(working_.Players.size() > 1);
}

void CustomizeDialog::makeCurrent(int index)
{
    if (index < 0 || index >= static_cast<int>(working_.Players.size()))
        return;
    working_.Current = index;
    currentPlayer_->setText(QString::fromStdString(working_.Players[index].Name));
}

bool CustomizeDialog::askName(const QString& title, const QString& prompt, const QString& value, QString& name)
{
    bool ok = false;
    const QString answer = prompts::inputText(this, title, prompt, value, &ok).trimmed();
    if (!ok || answer.isEmpty())
        return false;
    if (answer.contains(QLatin1Char(','))) {
        prompts::warning(this, QStringLiteral("Please do not use commas in the name."));
        return false;
    }
    name = answer.left(255);
    return true;
}

void CustomizeDialog::newPlayer()
{
    QString name;
    if (!askName(QStringLiteral("New Player"), QStringLiteral("Enter the name of the new player:"), {}, name))
        return;
    working_.Players.push_back(Player{name.toStdString(), 0, 0});
    const int added = static_cast<int>(working_.Players.size()) - 1;
    if (added == 0)
        working_.Current = 0;
    showPlayers(added);
    changed();
}

void CustomizeDialog::renamePlayer()
{
    const int index = std::max(0, playerList_->currentRow());
    if (index >= static_cast<int>(working_.Players.size()))
        return;
    QString name;
    if (!askName(QStringLiteral("Rename Player"), QStringLiteral("Enter the new name of the player:"),
                 QString::fromStdString(working_.Players[index].Name), name))
        return;
    working_.Players[index].Name = name.toStdString();
    if (working_.Players.size() == 1)
        working_.Current = 0;
    showPlayers(index);
    changed();
}

void CustomizeDialog::deletePlayer()
{
    const int index = std::max(0, playerList_->currentRow());
    if (index >= static_cast<int>(working_.Players.size()))
        return;
    const QString question = QStringLiteral("Do you want to delete the player %1?")
                                 .arg(QString::fromStdString(working_.Players[index].Name));
    if (!prompts::confirm(this, question))
        return;
    working_.Players.erase(working_.Players.begin() + index);
    // The current player keeps being current; deleting them hands the place to the first one.
    if (working_.Current == index || working_.Current >= static_cast<int>(working_.Players.size()))
        working_.Current = working_.Players.empty() ? -1 : 0;
    else if (working_.Current > index)
        --working_.Current;
    showPlayers(working_.Players.empty() ? -1 : 0);
    setCurrent_->setEnabled(false);
    changed();
}

void CustomizeDialog::resetStats()
{
    const int index = playerList_->currentRow();
    if (index < 0 || index >= static_cast<int>(working_.Players.size()))
        return;
    const QString question = QStringLiteral("Do you want to reset the win ratio statistics for player %1?")
                                 .arg(QString::fromStdString(working_.Players[index].Name));
    if (!prompts::confirm(this, question))
        return;
    working_.Players[index].Wins = 0;
    working_.Players[index].Losses = 0;
    // The reset holds at once, even when the dialog is cancelled: find the same player in the window's list.
    for (Player& player : players_.Players) {
        if (player.Name == working_.Players[index].Name) {
            player.Wins = 0;
            player.Losses = 0;
        }
    }
    changed();
}

// ---- OK and Apply -----------------------------------------------------------------------------

void CustomizeDialog::store()
{
    SettingsAccess& s = settings_;
    Write(s, keys::BackgroundColor, static_cast<int>(settingFromColor(background_)));
    if (!situation_.networkGame)
        Write(s, keys::Level, std::string(LevelName(std::max(0, levels_->checkedId()))));
    Write(s, keys::Aggression, aggression_->value());
    Write(s, keys::MouseOptions, std::string(discard_->checkedId() == 1 ? "Double Right Click" : "Single Right Click"));
    Write(s, keys::Delay, (SliderSteps - delay_->value()) * DelayStep);
    Write(s, keys::AutoSave, autoSave_->isChecked());
    if (!autoSave_->isChecked()) {
        std::error_code ec;
        std::filesystem::remove(AutoSavePath(), ec);
    }
    Write(s, keys::ShowStatusbar, showStatusbar_->isChecked());

    players_.Players = working_.Players;
    players_.Current = -1;
    for (int i = 0; i < static_cast<int>(players_.Players.size()); ++i) {
        if (QString::fromStdString(players_.Players[i].Name) == currentPlayer_->text()) {
            players_.Current = i;
            break;
        }
    }
    s.DeleteKey("Player Names");
    players_.Write(s);

    Write(s, keys::CardMovement, !noAnimation_->isChecked());
    Write(s, keys::CardSpeed, cardSpeed_->value());
    Write(s, keys::ShowHighscores, showHighscores_->isChecked());
    Write(s, keys::ShowTurns, showWhoseTurn_->isChecked());
    Write(s, keys::SelectPlayerOnStartup, selectPlayer_->isChecked());
    if (applied_)
        applied_();
}

void CustomizeDialog::apply()
{
    store();
    apply_->setEnabled(false);
    raise();
    activateWindow();
}

}  // namespace meldora
