// "Customize Meldora": the window size and colour, the players, the computer's
// level and play options on four tabs. Players are edited on a working copy that
// OK or Apply hands to the window; every setting is stored at that moment.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

#include "records/player_list.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;

namespace meldora {

class SettingsAccess;

struct CustomizeSituation {
    int sizeIndex = 0;
    // Sizes above this class do not fit on the screen.
    int largestAllowedSize = 0;
    // The level may not change while a game is under way or in a network game.
    bool gameUnderWay = false;
    bool networkGame = false;
    int page = 0;
};

class CustomizeDialog : public QDialog {
    Q_OBJECT

public:
    // applied runs after OK or Apply has stored everything, with the players handed over.
    CustomizeDialog(SettingsAccess& settings, PlayerList& players, const CustomizeSituation& situation,
                    std::function<void()> applied, QWidget* parent = nullptr);

    int sizeIndex() const;
    int activePage() const;

private:
    QWidget* screenPage();
    QWidget* playersPage();
    QWidget* levelPage();
    QWidget* generalPage();
    void loadValues();
    void changed();
    void store();
    void apply();

    // The working list's buttons follow its contents and the selection.
    void showPlayers(int select);
    void updatePlayerButtons();
    void makeCurrent(int index);
    void newPlayer();
    void renamePlayer();
    void deletePlayer();
    void resetStats();
    // A name typed for a player, or nothing when cancelled or refused.
    bool askName(const QString& title, const QString& prompt, const QString& value, QString& name);

    SettingsAccess& settings_;
    PlayerList& players_;
    PlayerList working_;
    CustomizeSituation situation_;
    std::function<void()> applied_;
    QColor background_;

    QTabWidget* tabs_ = nullptr;
    QButtonGroup* sizes_ = nullptr;
    QLabel* backgroundShape_ = nullptr;
    QCheckBox* showStatusbar_ = nullptr;
    QCheckBox* showWhoseTurn_ = nullptr;
    QCheckBox* showHighscores_ = nullptr;
    QLabel* currentPlayer_ = nullptr;
    QListWidget* playerList_ = nullptr;
    QPushButton* setCurrent_ = nullptr;
    QPushButton* resetStats_ = nullptr;
    QPushButton* deletePlayer_ = nullptr;
    QPushButton* renamePlayer_ = nullptr;
    QCheckBox* selectPlayer_ = nullptr;
    QGroupBox* levelGroup_ = nullptr;
    QButtonGroup* levels_ = nullptr;
    QSlider* aggression_ = nullptr;
    QLabel* aggressionValue_ = nullptr;
    QButtonGroup* discard_ = nullptr;
    QSlider* delay_ = nullptr;
    QSlider* cardSpeed_ = nullptr;
    QCheckBox* noAnimation_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace meldora
