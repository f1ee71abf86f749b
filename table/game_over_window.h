// The game-over window at the end of a match: the comment, both match totals
// and the question whether to play another match.
#pragma once

#include <QDialog>

#include "core/scoring.h"

class QLabel;
class QPushButton;

namespace meldora {

class TfmGameOver : public QDialog {
    Q_OBJECT

public:
    explicit TfmGameOver(const MatchResult& result, QWidget* parent = nullptr);

    // In a network game the window only reports the result: OK continues.
    void SetNetworkMode(bool network);

    // Escape and the window manager's close do not answer the question: a
    // stray key must not end the program.
    void reject() override {}

private:
    QLabel* lbComment = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lbOpponent = nullptr;
    QLabel* lbPlayerScore = nullptr;
    QLabel* lbComputerScore = nullptr;
    QLabel* lbDifference = nullptr;
    QLabel* lbQuestion = nullptr;
    QPushButton* bnYes = nullptr;
    QPushButton* bnNo = nullptr;
    QPushButton* bnOK = nullptr;
};

// Shows the game-over window; true for another match (Yes, or OK in a network game).
bool AskForAnotherMatch(QWidget* parent, const MatchResult& result, bool network);

}  // namespace meldora
