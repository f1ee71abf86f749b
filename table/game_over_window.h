// The game-over window at the end of a match: the comment, both match totals
// and the question whether to play another match.
#pragma once

#include <QDialog>

#include "core/scoring.h"

class QLabel;
class QPushButton;

namespace meldora {

class GameOverWindow : public QDialog {
    Q_OBJECT

public:
    explicit GameOverWindow(const MatchResult& result, QWidget* parent = nullptr);

    // In a network game the window only reports the result: OK continues.
    void setNetworkMode(bool network);

    // Escape and the window manager's close do not answer the question: a
    // stray key must not end the program.
    void reject() override {}

private:
    QLabel* commentLabel_ = nullptr;
    QLabel* yourScoreLabel_ = nullptr;
    QLabel* opponentLabel_ = nullptr;
    QLabel* playerScoreLabel_ = nullptr;
    QLabel* computerScoreLabel_ = nullptr;
    QLabel* differenceLabel_ = nullptr;
    QLabel* questionLabel_ = nullptr;
    QPushButton* yesButton_ = nullptr;
    QPushButton* noButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// Shows the game-over window; true for another match (Yes, or OK in a network game).
bool askForAnotherMatch(QWidget* parent, const MatchResult& result, bool network);

}  // namespace meldora
