// The dialogs over the player list and the match history: "Win Ratio",
// "Match History" and the "Select Player" choice at start-up.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace meldora {

class PlayerList;
class SettingsAccess;

// One player's won and lost matches and the share won; Reset zeroes them.
class WinRatioDialog : public QDialog {
    Q_OBJECT

public:
    WinRatioDialog(PlayerList& players, SettingsAccess& settings, QWidget* parent = nullptr);

private:
    int selectedPlayer() const;
    void showSelected();
    void resetSelected();

    PlayerList& players_;
    SettingsAccess& settings_;
    QComboBox* names_ = nullptr;
    QLabel* wins_ = nullptr;
    QLabel* losses_ = nullptr;
    QLabel* ratio_ = nullptr;
    QPushButton* reset_ = nullptr;
};

// The hundred stored match lines, newest first, empty ones included.
class MatchHistoryDialog : public QDialog {
    Q_OBJECT

public:
    explicit MatchHistoryDialog(SettingsAccess& settings, QWidget* parent = nullptr);
};

// OK makes the selected player current (none when nothing is selected).
class SelectPlayerDialog : public QDialog {
    Q_OBJECT

public:
    explicit SelectPlayerDialog(PlayerList& players, QWidget* parent = nullptr);

private:
    PlayerList& players_;
    QListWidget* list_ = nullptr;
};

}  // namespace meldora
