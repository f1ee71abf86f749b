// The program's records for the life of the run: the player list and the eight
// highscore lists, loaded at start-up and written at every change, and the
// results of hands and matches as the game reports them.
#pragma once

#include <functional>
#include <string>

#include "records/highscores.h"
#include "records/player_list.h"

class QWidget;

namespace meldora {

class SettingsAccess;

class RecordsKeeper {
public:
    explicit RecordsKeeper(SettingsAccess& settings) : settings_(settings) {}

    void load();
    PlayerList& players() { return players_; }
    HighscoreTables& highscores() { return highscores_; }

    // The current player's name, or a name typed into the highscore question of
    // this hand end, or "Player".
    std::string playerName() const;

    // A new hand end: the name question may be asked once more.
    void beginHandEnd();
    // Enters |margin| into the list of the level being played. A won margin
    // carries the player's name and, with the show-highscores option on, plays
    // the highscore sound, asks the name once per hand end and shows the list; a
    // lost one carries the opponent's name. Returns the rank, 0 when it did not enter.
    int offerHighscore(QWidget* parent, HighscoreType type, int margin, int levelIndex,
                       const std::string& opponentName, const std::function<void()>& playHighscoreSound);
    void addMatchHistory(int humanScore, int opponentScore, const std::string& opponentName);
    void recordMatchResult(bool won);

    // The menu's dialogs.
    void showHighscores(QWidget* parent, int levelIndex);
    void showWinRatio(QWidget* parent);
    void showMatchHistory(QWidget* parent);
    // At start-up, when two or more players exist and the option is on.
    void selectPlayerAtStartup(QWidget* parent);

private:
    SettingsAccess& settings_;
    PlayerList players_;
    HighscoreTables highscores_;
    bool nameAsked_ = false;
    std::string typedName_;
};

// Today's date in the system's short format; with the long time after it for a match line.
std::string shortDateText();
std::string dateAndTimeText();

}  // namespace meldora
