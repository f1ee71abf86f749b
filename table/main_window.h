// The main window: the host of the one game for the life of the program. It creates
// the settings store first and frees it last, comes up in a fixed order (settings,
// window size, then after the splash the table, the command line and the first
// game), carries the menus, and gives the game everything it reaches outside itself
// (the table, the boxes, the score windows, the computer's turn).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "core/game.h"
#include "core/table_host.h"
#include "table/card_backs.h"
#include "table/computer_turn_summary.h"

class QAction;
class QLabel;
class QPushButton;

namespace meldora {

class CardImages;
class SettingsAccess;
class SoundPlayer;
class StatusPanels;
class SettingsStore;
class TableView;
class HelpWindow;
class SplashWindow;
class RecordsKeeper;
class NetworkPlay;

inline constexpr char MainWindowCaption[] = "Meldora 4.14";
inline constexpr int SplashTime = 2000;
// The Rules menu item's hint while the rules may still be changed.
inline constexpr char RulesMenuHint[] = "Change the rules of the game";

// The help sound of the n-th opening of the help topics (the counter starts at 1).
SoundEvent helpSoundFor(std::uint16_t counter);

class MainWindow : public QMainWindow, public TableHost {
    Q_OBJECT

public:
    // argument is the first command-line argument (empty for none); screenWidth 0
    // means the primary screen's width. The splash window, when given, is destroyed
    // by the splash timer.
    explicit MainWindow(const QString& argument = {}, int screenWidth = 0, SplashWindow* splash = nullptr,
                        QWidget* parent = nullptr);
    // With a settings store of the caller's, taken as it stands (tests keep their
    // settings in memory).
    explicit MainWindow(SettingsAccess& settings, const QString& argument = {}, int screenWidth = 0,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    CanastaGame& game() { return *game_; }
    SettingsAccess& settings();
    TableView& table() { return *view_; }
    int sizeIndex() const { return sizeIndex_; }
    int largestAllowedSize() const { return largestAllowedSize_; }
    QTimer& splashTimer() { return splashTimer_; }
    HelpWindow* helpWindow() const;
    QPushButton* endHandButton() const { return endHandButton_; }
    QLabel* statusText() const { return statusLabel_; }
    // What the computer did in its last turn, as the status line's tool tip tells it.
    const ComputerTurnSummary& lastComputerTurn() const { return lastComputerTurn_; }
    int rulesPage = 0;

    // Start-up after the splash: the table, the command line, then a saved or a new game.
    void onSplashTimer();

    // ---- Menu commands ----------------------------------------------------------
    void newGame();
    void loadGame();
    void saveGame();
    void undoMeld();
    void undoAll();
    // Opens the Rules dialog and applies its options when OK is pressed.
    void showRulesDialog();
    void showDeckDialog();
    void applyCardBacks(const CardBackSettings& backs);
    void showHelpTopics();
    // A help page, optionally with "#anchor" of a place on it.
    void showHelpPage(const QString& pageAndAnchor);
    NetworkPlay& network() { return *network_; }
    void endHand();
    // The records: highscore lists, win ratio, match history.
    void showHighscores();
    void showWinRatio();
    void showMatchHistory();
    RecordsKeeper& records() { return *records_; }
    // Opens the Customize dialog; OK and Apply store its settings and apply them here.
    void showCustomizeDialog();
    // Takes a new size class: the window, the table with every card in its place, the card images.
    void applyWindowSize(int newSizeIndex);
    // The outside command 9999: 0 and 1 open Customize on its second and fourth
    // page, 2, 3 and 4 the Rules dialog on its second, third and first; others do nothing.
    void openOptionsPage(int parameter);
    int customizePage = 0;

    // ---- TableHost ----------------------------------------------------------------
    void MoveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY) override;
    void Pause(int milliseconds) override;
    void InvalidateTableRect(const TableRect& rect) override;
    void RepaintTable() override;
    void PlaySound(SoundEvent event) override;
    void SetBusyCursor(bool busy) override;
    void PhaseChanged(TurnPhase phase) override;
    void ShowInputError(InputError error, const std::string& text) override;
    void StockExhaustedChanged(bool exhausted) override;
    void UndoItemsEnabled(bool enabled) override;
    void ShowTurnWindow(const std::string& text) override;
    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    bool IsNetworkGame() const override;
    bool IsConnectionRoleOne() const override;
    std::string OpponentName() const override;
    void SendMessage(const std::string& token, const std::string& payload) override;
    void HandleHeldNetworkMessages() override;
    void RunComputerTurn() override;
    std::string SelectedPlayerName() const override;
    void ShowHandScore(const HandScore& score) override;
    void OfferHandHighscore(int margin) override;
    void OfferMatchHighscore(int margin) override;
    void AddMatchHistory(int humanScore, int opponentScore, const std::string& opponentName) override;
    void RecordMatchResult(bool won) override;
    bool ShowGameOver(const MatchResult& result) override;
    void DeleteAutoSave() override;
    void QuitProgram() override;

    // Settings read at start-up.
    bool autoSave = true;
    std::uint8_t computerLevel = 0;
    int aggression = 50;
    int meldDelay = 300;
    // The start-up game file has passed its check and is to be loaded.
    bool loadPending = false;
    QString startupGameFile;
    bool scoringShown = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Keys that reach the window rather than the table (the table had no focus) are
    // still the table's keys.
    void keyPressEvent(QKeyEvent* event) override;

private:
    MainWindow(std::unique_ptr<SettingsStore> store, SettingsAccess* settings, const QString& argument, int screenWidth,
               SplashWindow* splash, QWidget* parent);
    void createMenus();
    void createNetworkMenu();
    // The name the player is known by: the selected player, or empty for none.
    QString playerName() const;
    void createStatusBar();
    void readSettings();
    void placeWindow(int screenWidth);
    // Sizes the window so that its outer size is the size class's, when not maximised.
    void fitWindowToSizeClass();
    void placeEndHandButton();
    void applyRules(const RuleOptions& rules);
    void showHint(const QString& text, bool isError);
    // The status text, and below it the computer's last turn once it has played.
    QString statusToolTip(const QString& text) const;
    // The command line's first argument: decides startupGameFile and loadPending.
    void actOnCommandLine();
    void checkStartupGameFile();
    void startFirstGame();
    // Closing: the automatic save or its deletion, and the window placement.
    void finishClosing();
    // The highscore level being played: the computer's level, or the network game's.
    int highscoreLevel() const;

    // The program's own settings store (none when the caller gave one); created first, freed last.
    std::unique_ptr<SettingsStore> ownStore_;
    SettingsAccess& settings_;
    std::unique_ptr<CanastaGame> game_;
    std::unique_ptr<CardImages> images_;
    TableView* view_ = nullptr;
    StatusPanels* panels_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QPushButton* endHandButton_ = nullptr;
    QPointer<SplashWindow> splash_;
    QPointer<HelpWindow> help_;
    // Sound effects and music.
    SoundPlayer* sound_ = nullptr;
    std::unique_ptr<RecordsKeeper> records_;
    // The network game: connection, its windows, the protocol session.
    NetworkPlay* network_ = nullptr;
    QTimer splashTimer_;

    QString argument_;
    int sizeIndex_ = 0;
    int largestAllowedSize_ = 0;
    int screenWidth_ = 0;
    bool maximised_ = false;
    bool fittedToFrame_ = false;
    // The frame the inside was last fitted to.
    QSize fittedFrame_;
    std::uint16_t helpSoundCounter_ = 1;
    // A file that is not a saved game only informs at start-up: a new game follows.
    bool startupFileCheck_ = false;
    int computerTurnDepth_ = 0;
    ComputerTurnSummary lastComputerTurn_;
    bool closePending_ = false;
    bool quitting_ = false;
    bool startupDone_ = false;
    bool destroyed_ = false;

    QAction* newAction_ = nullptr;
    QAction* loadAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* undoMeldAction_ = nullptr;
    QAction* undoAllAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* rulesAction_ = nullptr;
    QAction* decksAction_ = nullptr;
    QAction* helpTopicsAction_ = nullptr;
};

}  // namespace meldora
