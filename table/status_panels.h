// The four number panels at the right end of the status bar: the player's current
// meld (with the minimum while it is not reached), the opponent's current meld, and
// the match scores of both sides.
#pragma once

#include <QWidget>

class QLabel;

namespace meldora {

class CanastaGame;

class StatusPanels : public QWidget {
    Q_OBJECT

public:
    explicit StatusPanels(QWidget* parent = nullptr);

    // Shows the meld values and match scores as the game has them now.
    void updateFromGame(const CanastaGame& game);

    QLabel* playerMeldValuePanel_ = nullptr;
    QLabel* computerMeldValuePanel_ = nullptr;
    QLabel* playerScorePanel_ = nullptr;
    QLabel* computerScorePanel_ = nullptr;

    // The player's meld panel: the meld value over all columns, and the minimum in
    // brackets while the columns of three or more cards stay below it.
    static QString currentMeldText(const CanastaGame& game);

protected:
    // Tool tips of the panels open 40 pixels higher than usual, clear of the window's edge.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace meldora
