// The scoring window shown after every hand: both hand scores and their
// difference, with the way to the details window.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/scoring.h"

class QLabel;
class QPushButton;

namespace meldora {

// How a hand came to its end: a side went out, or with the stock exhausted the
// player pressed End Hand or the opponent ended the hand in its turn.
enum class HandEndWay { PlayerWentOut, OpponentWentOut, EndHandPressed, OpponentEndedOnEmptyStock };

// The line under the heading that says who went out and how ("You went out concealed.").
// Going out concealed is read from the going-out bonus of the score.
QString handEndLine(const HandScore& score, HandEndWay way);

class ScoringWindow : public QDialog {
    Q_OBJECT

public:
    // The result of "&Details >>": the scoring window closes and the details follow.
    static constexpr int DetailsResult = 2;

    // handEnd, when given, is shown under the heading.
    explicit ScoringWindow(const HandScore& score, const QString& handEnd = {}, QWidget* parent = nullptr);

private:
    QLabel* opponentLabel_ = nullptr;
    QLabel* playerScoreLabel_ = nullptr;
    QLabel* computerScoreLabel_ = nullptr;
    QLabel* differenceLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* detailsButton_ = nullptr;
};

// Shows the scoring window and, when asked for, the details window; returns when
// both are closed. scoringShown, when given, is true while the scoring window is
// open. showComputerHand is handed to the details window (see DetailsWindow).
void showScoringResults(QWidget* parent, const HandScore& score,
                        const std::function<void(bool faceUp)>& showComputerHand, bool* scoringShown = nullptr,
                        const QString& handEnd = {});

}  // namespace meldora
