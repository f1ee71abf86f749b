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

#include "core/autosave.h"
#include "core/saved_game.h"
#include "core/file_locations.h"
#include "net/outside/icq_registration.h"
#include "net/outside/listing_request_form.h"
#include "net/outside/upgrade_window.h"
#include "records/records_keeper.h"
#include "settings/migration.h"
#include "settings/settings_store.h"
#include "settings/setting_keys.h"
#include "table/card_backs.h"
#include "table/card_images.h"
#include "table/customize_dialog.h"
#include "table/deck_dialog.h"
#include "table/help_window.h"
#include "table/network_play.h"
#include "table/prompts.h"
#include "table/rules_dialog.h"
#include "table/saved_game_commands.h"
#include "table/sound_dialog.h"
#include "table/sound_player.h"
#include "table/splash_window.h"
#include "table/status_panels.h"
#include "table/table_view.h"
#include "table/window_placement.h"

namespace meldora {

namespace {

constexpr int EndHandMargin = 10;

QAction* addMenuItem(QMenu* menu, const QString& caption, const char* name, const QString& hint,
                     const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

// Desktop shortcuts beside the item's own key: every sequence works, and the menu
// lists them all after the caption, the item's own key first.
void addShortcutAliases(QAction* action, const QList<QKeySequence>& aliases)
{
    QList<QKeySequence> sequences = action->shortcuts();
    sequences.append(aliases);
    action->setShortcuts(sequences);
    QStringList shown;
    for (const QKeySequence& sequence : sequences)
        shown.append(sequence.toString(QKeySequence::NativeText));
    action->setText(action->text() + QLatin1Char('\t') + shown.join(QStringLiteral(", ")));
}

std::uint8_t levelFromName(const std::string& name)
{
    if (name == "Beginner")
        return 0;
    if (name == "Advanced")
        return 1;
    return 2;
}

int primaryScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 640;
}

std::unique_ptr<SettingsStore> openSettingsStore()
{
    auto store = std::make_unique<SettingsStore>(SettingsDatabasePath().string());
    store->SetRoot(RootKey::LocalMachine);
    store->SetKey(MeldoraBaseKey);
    if (!store->IsOpen())
        prompts::warning(nullptr, QStringLiteral("The settings could not be opened: %1\n"
                                                 "Meldora starts with the default settings and "
                                                 "will not keep any changes.")
                                      .arg(QString::fromStdString(store->OpenError())));
    return store;
}

}  // namespace

SoundEvent helpSoundFor(std::uint16_t counter)
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
MainWindow::MainWindow(const QString& argument, int screenWidth, SplashWindow* splash, QWidget* parent)
    : MainWindow(openSettingsStore(), nullptr, argument, screenWidth, splash, parent)
{
}

MainWindow::MainWindow(SettingsAccess& settings, const QString& argument, int screenWidth, QWidget* parent)
    : MainWindow(nullptr, &settings, argument, screenWidth, nullptr, parent)
{
}

MainWindow::MainWindow(std::unique_ptr<SettingsStore> store, SettingsAccess* settings, const QString& argument,
                       int screenWidth, SplashWindow* splash, QWidget* parent)
    : QMainWindow(parent),
      ownStore_(std::move(store)),
      settings_(ownStore_ ? *ownStore_ : *settings),
      splash_(splash),
      argument_(argument)
{
    setObjectName(QStringLiteral("fmMeldoraMain"));
    QApplication::setOverrideCursor(Qt::WaitCursor);

    game_ = std::make_unique<CanastaGame>(*this, &settings_);
    records_ = std::make_unique<RecordsKeeper>(settings_);
    game_->Seed(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    images_ = std::make_unique<CardImages>(defaultCardDeckDir(), this);
    network_ = new NetworkPlay(*this, *game_, settings_);

    view_ = new TableView(*game_, *images_, settings_, this);
    view_->setPaintSuspended(true);
    setCentralWidget(view_);
    createMenus();
    createStatusBar();

    endHandButton_ = new QPushButton(QStringLiteral("End Hand"), view_);
    endHandButton_->setObjectName(QStringLiteral("bnEndHand"));
    endHandButton_->setFocusPolicy(Qt::NoFocus);
    endHandButton_->adjustSize();
    endHandButton_->hide();
    connect(endHandButton_, &QPushButton::clicked, this, &MainWindow::endHand);
    connect(view_, &TableView::endHandButtonChanged, this, [this](bool visible, bool enabled) {
        endHandButton_->setVisible(visible);
        endHandButton_->setEnabled(enabled);
    });

    // A store of the caller's is taken as it stands; only the program's own store
    // may hold the settings of an older release.
    if (ownStore_) {
        MigrateSettings(settings_);
        registerWithIcq(*ownStore_, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                        outsideAddresses().homePage.toStdString());
    }
    readSettings();
    sound_ = new SoundPlayer(settings_, this);
    placeWindow(screenWidth > 0 ? screenWidth : primaryScreenWidth());
    placeEndHandButton();

    setWindowTitle(QString::fromLatin1(MainWindowCaption));
    game_->ChooseFirstDrawerAtRandom();

    QApplication::restoreOverrideCursor();
    splashTimer_.setSingleShot(true);
    splashTimer_.setInterval(SplashTime);
    connect(&splashTimer_, &QTimer::timeout, this, &MainWindow::onSplashTimer);
    splashTimer_.start();
}

MainWindow::~MainWindow()
{
    // The network game, the table and the help window refer to the game and the
    // store; they go first.
    delete network_;
    network_ = nullptr;
    delete splash_;
    delete help_;
    delete view_;
    view_ = nullptr;
}

SettingsAccess& MainWindow::settings() { return settings_; }

HelpWindow* MainWindow::helpWindow() const { return help_; }

void MainWindow::createMenus()
{
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    newAction_ = addMenuItem(gameMenu, QStringLiteral("&New"), "New1", QStringLiteral("Start a new game"),
                             QKeySequence(Qt::Key_F2));
    gameMenu->addSeparator();
    loadAction_ = addMenuItem(gameMenu, QStringLiteral("&Load..."), "Load1", QStringLiteral("Load a saved game"),
                              QKeySequence(Qt::Key_F3));
    saveAction_ = addMenuItem(gameMenu, QStringLiteral("&Save..."), "Save1",
                              QStringLiteral("Save the game in progress"), QKeySequence(Qt::Key_F4));
    gameMenu->addSeparator();
    undoMeldAction_ =
        addMenuItem(gameMenu, QStringLiteral("&Undo Meld"), "UndoMeld1",
                    QStringLiteral("Take back the last card you melded in this turn"), QKeySequence(Qt::Key_Delete));
    undoAllAction_ = addMenuItem(gameMenu, QStringLiteral("Undo &All"), "UndoAll1",
                                 QStringLiteral("Take back every card you melded in this turn"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Delete));
    undoMeldAction_->setEnabled(false);
    undoAllAction_->setEnabled(false);
    gameMenu->addSeparator();
    QAction* highscoresAction =
        addMenuItem(gameMenu, QStringLiteral("&Hiscores..."), "Hiscores1", QStringLiteral("Show the Top Ten highscores"));
    QAction* winRatioAction = addMenuItem(gameMenu, QStringLiteral("&Win Ratio..."), "WinRatio1",
                                          QStringLiteral("Show the player's win/loss ratio "));
    QAction* matchHistoryAction = addMenuItem(gameMenu, QStringLiteral("&Match History..."), "MatchHistory1",
                                              QStringLiteral("Show the result of the last hundred matches"));
    connect(highscoresAction, &QAction::triggered, this, &MainWindow::showHighscores);
    connect(winRatioAction, &QAction::triggered, this, &MainWindow::showWinRatio);
    connect(matchHistoryAction, &QAction::triggered, this, &MainWindow::showMatchHistory);
    gameMenu->addSeparator();
    exitAction_ = addMenuItem(gameMenu, QStringLiteral("E&xit"), "Exit1", QStringLiteral("Quit Meldora"));

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    rulesAction_ = addMenuItem(optionsMenu, QStringLiteral("&Rules..."), "Rules1", QString::fromLatin1(RulesMenuHint));
    decksAction_ = addMenuItem(optionsMenu, QStringLiteral("&Decks..."), "Decks1",
                               QStringLiteral("Select a color or image for the backside of the cards"));
    QAction* soundAction = addMenuItem(optionsMenu, QStringLiteral("&Sound..."), "Sound1",
                                       QStringLiteral("Enable or disable sound and music, and select sound effects and melodies"));
    connect(soundAction, &QAction::triggered, this, [this] { SoundDialog(*sound_, settings_, this).exec(); });
    QAction* customizeAction =
        addMenuItem(optionsMenu, QStringLiteral("&Customize..."), "Customize1",
                    QStringLiteral("Create players, set the computer level and change the window size and color"));
    connect(customizeAction, &QAction::triggered, this, &MainWindow::showCustomizeDialog);

    createNetworkMenu();

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpTopicsAction_ =
        addMenuItem(helpMenu, QStringLiteral("Help Topics"), "HelpTopics1",
                    QStringLiteral("Show the rules, the controls and the menus of Meldora"), QKeySequence(Qt::Key_F1));
    helpMenu->addSeparator();
    connect(addMenuItem(helpMenu, QStringLiteral("&Meldora Home Page"), "HomePage1",
                        QStringLiteral("Visit the Meldora home page on the web")),
            &QAction::triggered, this, &openHomePage);
    connect(addMenuItem(helpMenu, QStringLiteral("Check &Upgrade..."), "CheckUpgrade1",
                        QStringLiteral("See whether a later version of Meldora is available")),
            &QAction::triggered, this, [this] { UpgradeWindow(this).exec(); });

    addShortcutAliases(newAction_, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    addShortcutAliases(loadAction_, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    addShortcutAliases(saveAction_, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    addShortcutAliases(undoMeldAction_, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    addShortcutAliases(undoAllAction_, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)});
    addShortcutAliases(exitAction_, {QKeySequence(Qt::CTRL | Qt::Key_Q)});

    connect(decksAction_, &QAction::triggered, this, &MainWindow::showDeckDialog);
    connect(newAction_, &QAction::triggered, this, &MainWindow::newGame);
    connect(loadAction_, &QAction::triggered, this, &MainWindow::loadGame);
    connect(saveAction_, &QAction::triggered, this, &MainWindow::saveGame);
    connect(undoMeldAction_, &QAction::triggered, this, &MainWindow::undoMeld);
    connect(undoAllAction_, &QAction::triggered, this, &MainWindow::undoAll);
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
    connect(rulesAction_, &QAction::triggered, this, &MainWindow::showRulesDialog);
    connect(helpTopicsAction_, &QAction::triggered, this, &MainWindow::showHelpTopics);
    connect(view_, &TableView::rulesHintChanged, rulesAction_, &QAction::setStatusTip);
}

// The status text on the left, the four number panels on the right. A menu hint
// covers the status text while the menu is open.
void MainWindow::createNetworkMenu()
{
    QMenu* networkMenu = menuBar()->addMenu(QStringLiteral("&Network"));
    NetworkPlay::MenuActions actions;
    actions.connect = addMenuItem(networkMenu, QStringLiteral("&Connect to Opponent..."), "ConnecttoOpponent1",
                                  QStringLiteral("Connect to another player over a network"));
    actions.ruleDifferences =
        addMenuItem(networkMenu, QStringLiteral("&Rule Differences..."), "RuleDifferences1",
                    QStringLiteral("Shows the differences in rule settings between you and your opponent, if there are any"));
    actions.disconnect =
        addMenuItem(networkMenu, QStringLiteral("&Disconnect"), "Disconnect1", QStringLiteral("Cancel network connection"));
    connect(addMenuItem(networkMenu, QStringLiteral("Request &Listing"), "RequestListing1",
                        QStringLiteral("Ask by an automated e-mail to be listed on the Internet player list")),
            &QAction::triggered, this,
            [this] { showListingRequest(this, settings_, ownStore_.get(), playerName()); });
    networkMenu->addSeparator();
    actions.chatOnTop = addMenuItem(networkMenu, QStringLiteral("&Chat window always on top"), "ChatOnTop1",
                                    QStringLiteral("Check this to keep the chat window visible at all times"));
    network_->setMenuActions(actions);

    connect(actions.connect, &QAction::triggered, this, [this] { network_->connectToOpponent(playerName()); });
    connect(actions.ruleDifferences, &QAction::triggered, network_, &NetworkPlay::showRuleDifferences);
    connect(actions.disconnect, &QAction::triggered, network_, &NetworkPlay::stopWaiting);
    connect(actions.chatOnTop, &QAction::triggered, network_, &NetworkPlay::toggleChatOnTop);
    connect(network_, &NetworkPlay::stateTextChanged, this, [this](const QString& text) { showHint(text, false); });
    connect(network_, &NetworkPlay::tableChanged, this, [this] { RepaintTable(); });
    connect(network_, &NetworkPlay::helpRequested, this, &MainWindow::showHelpPage);
    connect(view_, &TableView::chatKeyPressed, this, [this](int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent typed(QEvent::KeyPress, key, modifiers, text);
        network_->forwardKeyToChat(&typed);
    });
}

QString MainWindow::playerName() const { return QString::fromStdString(SelectedPlayerName()); }

void MainWindow::createStatusBar()
{
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("lbStatus"));
    // The message takes what the number panels leave and is cut there, never
    // running under them.
    statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->setObjectName(QStringLiteral("pnStatusbar"));
    statusBar()->addWidget(statusLabel_, 1);
    panels_ = new StatusPanels(this);
    statusBar()->addPermanentWidget(panels_);
    statusBar()->setSizeGripEnabled(false);
    view_->setStatusPanels(panels_);
    connect(view_, &TableView::hintChanged, this, &MainWindow::showHint);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (!message.isEmpty())
            view_->markMenuHintShown();
    });
}

void MainWindow::showHint(const QString& text, bool isError)
{
    // Refusals carry the reason of the meld check and can be longer than the status
    // line of the smallest window: step the font down until the whole text fits.
    QFont font = statusBar()->font();
    font.setBold(isError);
    const int room = statusLabel_->contentsRect().width();
    while (room > 0 && font.pointSizeF() > 6.5 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    statusLabel_->setFont(font);
    statusLabel_->setToolTip(statusToolTip(text));
    QPalette p = statusLabel_->palette();
    p.setColor(QPalette::WindowText, isError ? QColor(Qt::red) : palette().color(QPalette::WindowText));
    statusLabel_->setPalette(p);
    statusLabel_->setText(text);
}

QString MainWindow::statusToolTip(const QString& text) const
{
    const QString turn = lastComputerTurn_.text();
    if (turn.isEmpty())
        return text;
    return text + QStringLiteral("\nComputer's last turn: ") + turn;
}

// The settings of the key table that this program uses, in the order of the table.
// The rest (colours of the table, mouse mode, card movement and speed, the whose-turn
// switch) are read by the table and the deal each time they are needed.
void MainWindow::readSettings()
{
    SettingsAccess& s = settings_;
    view_->applySettings();
    game_->SetRules(LoadRuleOptions(s));
    meldDelay = Read(s, keys::Delay);
    autoSave = Read(s, keys::AutoSave);
    if (Read(s, keys::HintShown))
        view_->markMenuHintShown();
    statusBar()->setVisible(Read(s, keys::ShowStatusbar));
    computerLevel = levelFromName(Read(s, keys::Level));
    aggression = Read(s, keys::Aggression);
    records_->load();
}

void MainWindow::placeWindow(int screenWidth)
{
    const WindowPlacement placement =
        chooseWindowPlacement(QString::fromStdString(Read(settings_, keys::Resolution)), screenWidth);
    sizeIndex_ = placement.sizeIndex;
    largestAllowedSize_ = placement.largestAllowed;
    screenWidth_ = screenWidth;
    maximised_ = placement.maximised;
    game_->SetTableSize(sizeIndex_, sizeClassWidth(sizeIndex_));

    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximised_)
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    move(placement.left, placement.top);
    if (maximised_) {
        resize(sizeClassWidth(sizeIndex_), sizeClassHeight(sizeIndex_));
        setWindowState(Qt::WindowMaximized);
    } else {
        fitWindowToSizeClass();
    }
}

// The size classes are outer sizes; the frame is known only once the window is shown.
void MainWindow::fitWindowToSizeClass()
{
    if (maximised_)
        return;
    const QSize frame = frameGeometry().size() - size();
    fittedFrame_ = frame;
    setFixedSize(clientSizeForFrame(sizeIndex_, frame));
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A window manager adds its frame after the window is shown: once the frame
    // is known (or changes), the inside is fitted again so that the outer size
    // stays the size class's.
    if (fittedToFrame_ && frameGeometry().size() - size() != fittedFrame_)
        fitWindowToSizeClass();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The splash stays in front until start-up is over, even where no window
    // manager keeps it on top.
    if (splash_)
        splash_->raise();
    if (!fittedToFrame_) {
        fittedToFrame_ = true;
        fitWindowToSizeClass();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeEndHandButton();
    if (fittedToFrame_ && frameGeometry().size() - size() != fittedFrame_)
        fitWindowToSizeClass();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (!view_->tableKeyDown(event->key(), event->modifiers(), event->text()))
        QMainWindow::keyPressEvent(event);
}

void MainWindow::placeEndHandButton()
{
    if (!endHandButton_)
        return;
    endHandButton_->move(view_->width() - endHandButton_->width() - EndHandMargin, game_->Layout.ComputerHandTop);
}

// ---- Start-up after the splash -----------------------------------------------------

void MainWindow::onSplashTimer()
{
    splashTimer_.stop();
    startupDone_ = true;
    delete splash_;

    const int clientWidth = isVisible() ? view_->width() : sizeClassWidth(sizeIndex_);
    game_->SetTableSize(sizeIndex_, clientWidth);
    images_->prepare(sizeIndex_, devicePixelRatioF(), readCardBacks(settings_));
    placeEndHandButton();

    records_->selectPlayerAtStartup(this);
    actOnCommandLine();
    if (!startupGameFile.isEmpty())
        checkStartupGameFile();

    view_->setPaintSuspended(false);
    view_->setFocus();
    startFirstGame();
    if (const int at = argument_.indexOf(QLatin1String("/ip:")); at >= 0)
        network_->connectFromCommandLine(argument_.mid(at + 4), playerName());
}

// The first argument only. A network address ("/ip:") starts a network game once the
// table is ready; "/setup" only starts the program.
void MainWindow::actOnCommandLine()
{
    startupGameFile.clear();
    loadPending = false;
    if (argument_.isEmpty()) {
        if (autoSave)
            startupGameFile = QString::fromStdString(AutoSavePath());
    } else if (argument_.contains(QLatin1String("/ip:")) || argument_ == QLatin1String("/setup")) {
        return;
    } else if (argument_.contains(QLatin1String(SavedGameExtension))) {
        startupGameFile = argument_;
    }
}

void MainWindow::checkStartupGameFile()
{
    startupFileCheck_ = true;
    loadPending = IsSavedGame(*this, QFile::encodeName(startupGameFile).toStdString());
    startupFileCheck_ = false;
}

// A start-up file that cannot be loaded after all (damaged, another version) has
// been reported; the player gets a new game rather than an empty table.
void MainWindow::startFirstGame()
{
    if (loadPending) {
        loadPending = false;
        PlaySound(SoundEvent::Start);
        if (LoadGame(*game_, QFile::encodeName(startupGameFile).toStdString()))
            return;
    }
    game_->NewGame();
}

// ---- Menu commands --------------------------------------------------------------------

void MainWindow::newGame() { game_->NewGame(); }

void MainWindow::loadGame() { loadGameCommand(this, *game_); }

void MainWindow::saveGame() { saveGameCommand(this, *game_); }

void MainWindow::undoMeld() { game_->UndoMeld(); }

void MainWindow::undoAll() { game_->UndoAll(); }

void MainWindow::endHand() { game_->EndHandClick(); }

void MainWindow::showRulesDialog()
{
    RulesDialog dialog(game_->Rules, game_->Match.GameInProgress, rulesPage, settings_, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    rulesPage = dialog.activePage();
    if (accepted) {
        applyRules(dialog.options());
        network_->rulesChanged();
    }
}

void MainWindow::applyRules(const RuleOptions& rules)
{
    if (game_->ChangeRules(rules))
        RepaintTable();
}

void MainWindow::showDeckDialog()
{
    DeckDialog dialog(
        settings_, [this](const CardBackSettings& backs) { applyCardBacks(backs); }, this);
    if (dialog.exec() == QDialog::Accepted)
        applyCardBacks(dialog.cardBacks());
}

void MainWindow::applyCardBacks(const CardBackSettings& backs)
{
    images_->prepare(sizeIndex_, devicePixelRatioF(), backs);
    RepaintTable();
}

void MainWindow::showHelpTopics()
{
    PlaySound(helpSoundFor(helpSoundCounter_));
    ++helpSoundCounter_;
    showHelpPage(QStringLiteral("index.html"));
}

void MainWindow::showHelpPage(const QString& pageAndAnchor)
{
    if (!help_) {
        help_ = new HelpWindow(this);
        connect(help_, &HelpWindow::optionsPageRequested, this, &MainWindow::openOptionsPage);
    }
    help_->showPage(pageAndAnchor);
}

int MainWindow::highscoreLevel() const { return IsNetworkGame() ? NetworkLevelIndex : computerLevel; }

void MainWindow::showHighscores() { records_->showHighscores(this, highscoreLevel()); }

void MainWindow::showWinRatio() { records_->showWinRatio(this); }

void MainWindow::showMatchHistory() { records_->showMatchHistory(this); }

// ---- Customize ------------------------------------------------------------------------------

void MainWindow::showCustomizeDialog()
{
    CustomizeSituation situation;
    situation.sizeIndex = sizeIndex_;
    situation.largestAllowedSize = largestAllowedSize_;
    situation.gameUnderWay = game_->Match.GameInProgress;
    situation.networkGame = IsNetworkGame();
    situation.page = customizePage;
    CustomizeDialog* shown = nullptr;
    CustomizeDialog dialog(
        settings_, records_->players(), situation,
        [this, &shown] {
            view_->applySettings();
            meldDelay = Read(settings_, keys::Delay);
            autoSave = Read(settings_, keys::AutoSave);
            computerLevel = levelFromName(Read(settings_, keys::Level));
            aggression = Read(settings_, keys::Aggression);
            applyWindowSize(shown->sizeIndex());
        },
        this);
    shown = &dialog;
    dialog.exec();
    customizePage = dialog.activePage();
}

void MainWindow::openOptionsPage(int parameter)
{
    switch (parameter) {
    case 0:
    case 1:
        customizePage = parameter == 0 ? 1 : 3;
        showCustomizeDialog();
        break;
    case 2:
    case 3:
    case 4:
        rulesPage = parameter == 4 ? 0 : parameter - 1;
        showRulesDialog();
        break;
    default:
        break;
    }
}

void MainWindow::applyWindowSize(int newSizeIndex)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (newSizeIndex != sizeIndex_) {
        sizeIndex_ = newSizeIndex;
        maximised_ = sizeClassWidth(sizeIndex_) == screenWidth_;
        Qt::WindowFlags flags = windowFlags() & ~Qt::WindowMaximizeButtonHint;
        if (maximised_)
            flags |= Qt::WindowMaximizeButtonHint;
        const QPoint at = pos();
        const bool wasVisible = isVisible();
        setWindowFlags(flags);
        move(at);
        if (maximised_) {
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            setWindowState(Qt::WindowMaximized);
        } else {
            setWindowState(Qt::WindowNoState);
            fitWindowToSizeClass();
            // Kept on the screen: moved left or up when the larger window would run off it.
            if (const QScreen* screen = this->screen()) {
                const QRect room = screen->availableGeometry();
                const QRect frame = frameGeometry();
                move(std::max(room.left(), std::min(frame.left(), room.right() + 1 - sizeClassWidth(sizeIndex_))),
                     std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - sizeClassHeight(sizeIndex_))));
            }
        }
        if (wasVisible)
            show();
        game_->ChangeTableSize(sizeIndex_, maximised_ ? sizeClassWidth(sizeIndex_) : width());
        images_->prepare(sizeIndex_, devicePixelRatioF(), readCardBacks(settings_));
        placeEndHandButton();
        RepaintTable();
    }
    statusBar()->setVisible(Read(settings_, keys::ShowStatusbar));
    QApplication::restoreOverrideCursor();
}

// ---- Closing ----------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The computer's turn runs inside a handler; the game is saved once it is over.
    if (computerTurnDepth_ > 0) {
        closePending_ = true;
        event->ignore();
        return;
    }
    if (!quitting_ && !network_->mayClose()) {
        event->ignore();
        return;
    }
    finishClosing();
    event->accept();
}

void MainWindow::finishClosing()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    PlaySound(SoundEvent::Exit);
    if (help_)
        help_->close();

    // Closed before start-up finished: the automatic save was never loaded and stays.
    if (startupDone_) {
        if (!autoSave || !game_->Match.GameInProgress || game_->Match.AutoSaveOff) {
            DeleteAutoSave();
        } else {
            SaveGameOnClosing(*game_);
        }
    }
    const QPoint at = pos();
    Write(settings_, keys::Resolution, resolutionText(at.x(), at.y(), sizeIndex_).toStdString());
}

}  // namespace meldora
