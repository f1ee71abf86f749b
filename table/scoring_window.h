// The scoring window shown after every hand: both hand scores and their
// difference, with the way to the details window.
#pragma once

#include <QDialog>
#include <functional>

#include "core/scoring.h"

class QLabel;
class QPushButton;

namespace meldora {

class TfmScoring : public QDialog {
    Q_OBJECT

public:
    // The result of "&Details >>": the scoring window closes and the details follow.
    static constexpr int DetailsResult = 2;

    explicit TfmScoring(const HandScore& score, QWidget* parent = nullptr);

private:
    QLabel* lbOpponent = nullptr;
    QLabel* lbPlayerScore = nullptr;
    QLabel* lbComputerScore = nullptr;
    QLabel* lbDifference = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnDetails = nullptr;
};

// Shows the scoring window and, when asked for, the details window; returns when
// both are closed. scoringShown, when given, is true while the scoring window is
// open. showComputerHand is handed to the details window (see TfmDetails).
void ShowScoringResults(QWidget* parent, const HandScore& score,
                        const std::function<void(bool faceUp)>& showComputerHand, bool* scoringShown = nullptr);

}  // namespace meldora
