#include "table/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <chrono>
#include <filesystem>
#include <random>

#include "core/saved_game.h"
#include "core/file_locations.h"
#include "settings/migration.h"
#include "settings/settings_store.h"
#include "settings/setting_keys.h"
#include "table/card_backs.h"
#include "table/card_images.h"
#include "table/deck_dialog.h"
#include "table/help_window.h"
#include "table/prompts.h"
#include "table/rules_dialog.h"
#include "table/saved_game_commands.h"
#include "table/splash_window.h"
#include "table/status_panels.h"
#include "table/table_view.h"
#include "table/window_placement.h"

namespace meldora {

namespace {

constexpr int EndHandMargin = 10;

QAction* AddMenuItem(QMenu* menu, const QString& caption, const char* name, const QString& hint,
                     const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

std::uint8_t LevelFromName(const std::string& name)
{
    if (name == "Beginner")
        return 0;
    if (name == "Advanced")
        return 1;
    return 2;
}

int PrimaryScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 640;
}

std::unique_ptr<SettingsStore> OpenSettingsStore()
{
    auto store = std::make_unique<SettingsStore>(SettingsDatabasePath().string());
    store->SetRoot(RootKey::LocalMachine);
    store->SetKey(MeldoraBaseKey);
    if (!store->IsOpen())
        prompts::Warning(nullptr, QStringLiteral("The settings could not be opened: %1\n"
                                                 "Meldora starts with the default settings and "
                                                 "will not keep any changes.")
                                      .arg(QString::fromStdString(store->OpenError())));
    return store;
}

}  // namespace

SoundEvent HelpSoundFor(std::uint16_t counter)
{
    switch (counter % 3) {
    case 1:
        return SoundEvent::Help1st;
    case 2:
        return SoundEvent::Help2nd;
    default:
        return SoundEvent::Help3rd;
    }
}

// The settings store comes first and goes last: every step below may use it.
TfmMeldoraMain::TfmMeldoraMain(const QString& argument, int screenWidth, TfmSplash* splash, QWidget* parent)
    : TfmMeldoraMain(OpenSettingsStore(), nullptr, argument, screenWidth, splash, parent)
{
}

TfmMeldoraMain::TfmMeldoraMain(SettingsAccess& settings, const QString& argument, int screenWidth, QWidget* parent)
    : TfmMeldoraMain(nullptr, &settings, argument, screenWidth, nullptr, parent)
{
}

TfmMeldoraMain::TfmMeldoraMain(std::unique_ptr<SettingsStore> store, SettingsAccess* settings,
                               const QString& argument, int screenWidth, TfmSplash* splash, QWidget* parent)
    : QMainWindow(parent),
      ownStore_(std::move(store)),
      settings_(ownStore_ ? *ownStore_ : *settings),
      splash_(splash),
      argument_(argument)
{
    setObjectName(QStringLiteral("fmMeldoraMain"));
    QApplication::setOverrideCursor(Qt::WaitCursor);

    game_ = std::make_unique<CanastaGame>(*this, &settings_);
    game_->Seed(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    images_ = std::make_unique<CardImages>(DefaultCardDeckDir(), this);

    view_ = new TableView(*game_, *images_, settings_, this);
    view_->SetPaintSuspended(true);
    setCentralWidget(view_);
    CreateMenus();
    CreateStatusBar();

    bnEndHand = new QPushButton(QStringLiteral("End Hand"), view_);
    bnEndHand->setObjectName(QStringLiteral("bnEndHand"));
    bnEndHand->setFocusPolicy(Qt::NoFocus);
    bnEndHand->adjustSize();
    bnEndHand->hide();
    connect(bnEndHand, &QPushButton::clicked, this, &TfmMeldoraMain::bnEndHandClick);
    connect(view_, &TableView::endHandButtonChanged, this, [this](bool visible, bool enabled) {
        bnEndHand->setVisible(visible);
        bnEndHand->setEnabled(enabled);
    });

    // A store of the caller's is taken as it stands; only the program's own store
    // may hold the settings of an older release.
    if (ownStore_)
        MigrateSettings(settings_);
    ReadSettings();
    PlaceWindow(screenWidth > 0 ? screenWidth : PrimaryScreenWidth());
    PlaceEndHandButton();

    setWindowTitle(QString::fromLatin1(MainWindowCaption));
    game_->Match.DrawFirst = std::uniform_real_distribution<double>(0.0, 1.0)(game_->Random) > 0.5;

    QApplication::restoreOverrideCursor();
    tmSplash.setSingleShot(true);
    tmSplash.setInterval(SplashTime);
    connect(&tmSplash, &QTimer::timeout, this, &TfmMeldoraMain::tmSplashTimer);
    tmSplash.start();
}

TfmMeldoraMain::~TfmMeldoraMain()
{
    // The table and the help window refer to the game and the store; they go first.
    delete splash_;
    delete help_;
    delete view_;
    view_ = nullptr;
}

SettingsAccess& TfmMeldoraMain::Settings() { return settings_; }

TfmHelp* TfmMeldoraMain::HelpWindow() const { return help_; }

void TfmMeldoraMain::CreateMenus()
{
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    New1 = AddMenuItem(gameMenu, QStringLiteral("&New"), "New1", QStringLiteral("Start a new game"),
                       QKeySequence(Qt::Key_F2));
    gameMenu->addSeparator();
    Load1 = AddMenuItem(gameMenu, QStringLiteral("&Load..."), "Load1", QStringLiteral("Load a saved game"),
                        QKeySequence(Qt::Key_F3));
    Save1 = AddMenuItem(gameMenu, QStringLiteral("&Save..."), "Save1", QStringLiteral("Save the game in progress"),
                        QKeySequence(Qt::Key_F4));
    gameMenu->addSeparator();
    UndoMeld1 = AddMenuItem(gameMenu, QStringLiteral("&Undo Meld"), "UndoMeld1",
                            QStringLiteral("Take back the last card you melded in this turn"),
                            QKeySequence(Qt::Key_Delete));
    UndoAll1 = AddMenuItem(gameMenu, QStringLiteral("Undo &All"), "UndoAll1",
                           QStringLiteral("Take back every card you melded in this turn"),
                           QKeySequence(Qt::CTRL | Qt::Key_Delete));
    UndoMeld1->setEnabled(false);
    UndoAll1->setEnabled(false);
    gameMenu->addSeparator();
    Exit1 = AddMenuItem(gameMenu, QStringLiteral("E&xit"), "Exit1", QStringLiteral("Quit Meldora"));

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    Rules1 = AddMenuItem(optionsMenu, QStringLiteral("&Rules..."), "Rules1", QString::fromLatin1(RulesMenuHint));
    Decks1 = AddMenuItem(optionsMenu, QStringLiteral("&Decks..."), "Decks1",
                         QStringLiteral("Select a color or image for the backside of the cards"));

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpTopics1 = AddMenuItem(helpMenu, QStringLiteral("Help Topics"), "HelpTopics1",
                              QStringLiteral("Show the rules, the controls and the menus of Meldora"),
                              QKeySequence(Qt::Key_F1));

    connect(Decks1, &QAction::triggered, this, &TfmMeldoraMain::Decks1Click);
    connect(New1, &QAction::triggered, this, &TfmMeldoraMain::New1Click);
    connect(Load1, &QAction::triggered, this, &TfmMeldoraMain::Load1Click);
    connect(Save1, &QAction::triggered, this, &TfmMeldoraMain::Save1Click);
    connect(UndoMeld1, &QAction::triggered, this, &TfmMeldoraMain::UndoMeld1Click);
    connect(UndoAll1, &QAction::triggered, this, &TfmMeldoraMain::UndoAll1Click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(Rules1, &QAction::triggered, this, &TfmMeldoraMain::Rules1Click);
    connect(HelpTopics1, &QAction::triggered, this, &TfmMeldoraMain::HelpTopics1Click);
    connect(view_, &TableView::rulesHintChanged, Rules1, &QAction::setStatusTip);
}

// The status text on the left, the four number panels on the right. A menu hint
// covers the status text while the menu is open.
void TfmMeldoraMain::CreateStatusBar()
{
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    statusBar()->setObjectName(QStringLiteral("pnStatusbar"));
    statusBar()->addWidget(lbStatus, 1);
    panels_ = new StatusPanels(this);
    statusBar()->addPermanentWidget(panels_);
    statusBar()->setSizeGripEnabled(false);
    view_->SetStatusPanels(panels_);
    connect(view_, &TableView::hintChanged, this, &TfmMeldoraMain::ShowHint);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (!message.isEmpty())
            view_->MenuHintShown();
    });
}

void TfmMeldoraMain::ShowHint(const QString& text, bool isError)
{
    // Refusals carry the reason of the meld check and can be longer than the status
    // line of the smallest window: step the font down until the whole text fits.
    QFont font = statusBar()->font();
    font.setBold(isError);
    const int room = lbStatus->contentsRect().width();
    while (room > 0 && font.pointSizeF() > 6.5 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    lbStatus->setFont(font);
    lbStatus->setToolTip(text);
    QPalette p = lbStatus->palette();
    p.setColor(QPalette::WindowText, isError ? QColor(Qt::red) : palette().color(QPalette::WindowText));
    lbStatus->setPalette(p);
    lbStatus->setText(text);
}

// The settings of the key table that this program uses, in the order of the table.
// The rest (colours of the table, mouse mode, card movement and speed, the whose-turn
// switch) are read by the table and the deal each time they are needed.
void TfmMeldoraMain::ReadSettings()
{
    SettingsAccess& s = settings_;
    view_->ApplySettings();
    game_->Rules = LoadRuleOptions(s);
    MeldDelay = Read(s, keys::Delay);
    AutoSave = Read(s, keys::AutoSave);
    if (Read(s, keys::HintShown))
        view_->MenuHintShown();
    statusBar()->setVisible(Read(s, keys::ShowStatusbar));
    ComputerLevel = LevelFromName(Read(s, keys::Level));
    Aggression = Read(s, keys::Aggression);
}

void TfmMeldoraMain::PlaceWindow(int screenWidth)
{
    const WindowPlacement placement =
        ChooseWindowPlacement(QString::fromStdString(Read(settings_, keys::Resolution)), screenWidth);
    sizeIndex_ = placement.SizeIndex;
    largestAllowedSize_ = placement.LargestAllowed;
    maximised_ = placement.Maximised;
    game_->Layout = ApplyLayout(sizeIndex_, SizeClassWidth(sizeIndex_));

    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximised_)
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    move(placement.Left, placement.Top);
    if (maximised_) {
        resize(SizeClassWidth(sizeIndex_), SizeClassHeight(sizeIndex_));
        setWindowState(Qt::WindowMaximized);
    } else {
        FitWindowToSizeClass();
    }
}

// The size classes are outer sizes; the frame is known only once the window is shown.
void TfmMeldoraMain::FitWindowToSizeClass()
{
    if (maximised_)
        return;
    const QSize frame = frameGeometry().size() - size();
    const QSize client(SizeClassWidth(sizeIndex_) - frame.width(), SizeClassHeight(sizeIndex_) - frame.height());
    setFixedSize(client);
}

void TfmMeldoraMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The splash stays in front until start-up is over, even where no window
    // manager keeps it on top.
    if (splash_)
        splash_->raise();
    if (!fittedToFrame_) {
        fittedToFrame_ = true;
        FitWindowToSizeClass();
    }
}

void TfmMeldoraMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    PlaceEndHandButton();
}

void TfmMeldoraMain::keyPressEvent(QKeyEvent* event)
{
    if (!view_->TableKeyDown(event->key(), event->modifiers(), event->text()))
        QMainWindow::keyPressEvent(event);
}

void TfmMeldoraMain::PlaceEndHandButton()
{
    if (!bnEndHand)
        return;
    bnEndHand->move(view_->width() - bnEndHand->width() - EndHandMargin, game_->Layout.ComputerHandTop);
}

// ---- Start-up after the splash -----------------------------------------------------

void TfmMeldoraMain::tmSplashTimer()
{
    tmSplash.stop();
    startupDone_ = true;
    delete splash_;

    const int clientWidth = isVisible() ? view_->width() : SizeClassWidth(sizeIndex_);
    game_->Layout = ApplyLayout(sizeIndex_, clientWidth);
    images_->Prepare(sizeIndex_, devicePixelRatioF(), ReadCardBacks(settings_));
    PlaceEndHandButton();

    ActOnCommandLine();
    if (!StartupGameFile.isEmpty())
        CheckStartupGameFile();

    view_->SetPaintSuspended(false);
    view_->setFocus();
    StartFirstGame();
}

// The first argument only. A network address ("/ip:") has no network to go to in
// this program: it is taken like "/setup", and a new game is dealt.
void TfmMeldoraMain::ActOnCommandLine()
{
    StartupGameFile.clear();
    LoadPending = false;
    if (argument_.isEmpty()) {
        if (AutoSave)
            StartupGameFile = QString::fromStdString(AutoSavePath());
    } else if (argument_.contains(QLatin1String("/ip:")) || argument_ == QLatin1String("/setup")) {
        return;
    } else if (argument_.contains(QLatin1String(SavedGameExtension))) {
        StartupGameFile = argument_;
    }
}

void TfmMeldoraMain::CheckStartupGameFile()
{
    startupFileCheck_ = true;
    LoadPending = IsSavedGame(*this, QFile::encodeName(StartupGameFile).toStdString());
    startupFileCheck_ = false;
}

// A start-up file that cannot be loaded after all (damaged, another version) has
// been reported; the player gets a new game rather than an empty table.
void TfmMeldoraMain::StartFirstGame()
{
    if (LoadPending) {
        LoadPending = false;
        PlaySound(SoundEvent::Start);
        if (LoadGame(*game_, QFile::encodeName(StartupGameFile).toStdString()))
            return;
    }
    game_->NewGame();
}

// ---- Menu commands --------------------------------------------------------------------

void TfmMeldoraMain::New1Click() { game_->NewGame(); }

void TfmMeldoraMain::Load1Click() { LoadGameCommand(this, *game_); }

void TfmMeldoraMain::Save1Click() { SaveGameCommand(this, *game_); }

void TfmMeldoraMain::UndoMeld1Click() { game_->UndoMeld(); }

void TfmMeldoraMain::UndoAll1Click() { game_->UndoAll(); }

void TfmMeldoraMain::bnEndHandClick() { game_->EndHandClick(); }

void TfmMeldoraMain::Rules1Click()
{
    TfmRules dialog(game_->Rules, game_->Match.GameInProgress, RulesPage, settings_, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    RulesPage = dialog.activePage();
    if (accepted)
        ApplyRules(dialog.options());
}

void TfmMeldoraMain::ApplyRules(const RuleOptions& rules)
{
    const bool initialBlockChanged = rules.InitialBlock != game_->Rules.InitialBlock;
    game_->Rules = rules;
    if (initialBlockChanged) {
        game_->Turn.DiscardFrozen = rules.InitialBlock;
        RepaintTable();
    }
}

void TfmMeldoraMain::Decks1Click()
{
    TfmDeck dialog(settings_, [this](const CardBackSettings& backs) { ApplyCardBacks(backs); }, this);
    if (dialog.exec() == QDialog::Accepted)
        ApplyCardBacks(dialog.CardBacks());
}

void TfmMeldoraMain::ApplyCardBacks(const CardBackSettings& backs)
{
    images_->Prepare(sizeIndex_, devicePixelRatioF(), backs);
    RepaintTable();
}

void TfmMeldoraMain::HelpTopics1Click()
{
    PlaySound(HelpSoundFor(helpSoundCounter_));
    ++helpSoundCounter_;
    if (!help_)
        help_ = new TfmHelp(this);
    help_->ShowContents();
}

// ---- Closing ----------------------------------------------------------------------------

void TfmMeldoraMain::closeEvent(QCloseEvent* event)
{
    // The computer's turn runs inside a handler; the game is saved once it is over.
    if (computerTurnDepth_ > 0) {
        closePending_ = true;
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

void TfmMeldoraMain::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    PlaySound(SoundEvent::Exit);
    if (help_)
        help_->close();

    // Closed before start-up finished: the automatic save was never loaded and stays.
    if (startupDone_) {
        if (!AutoSave || !game_->Match.GameInProgress || game_->Match.AutoSaveOff) {
            DeleteAutoSave();
        } else {
            SaveGame(*game_, true);
        }
    }
    const QPoint at = pos();
    Write(settings_, keys::Resolution, ResolutionText(at.x(), at.y(), sizeIndex_).toStdString());
}

}  // namespace meldora
