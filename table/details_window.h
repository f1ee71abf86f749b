// The details window: the six score rows of both sides of the ended hand.
#pragma once

#include <QDialog>
#include <functional>

#include "core/scoring.h"

class QGroupBox;

namespace meldora {

class DetailsWindow : public QDialog {
    Q_OBJECT

public:
    // showComputerHand(true) when the window opens and showComputerHand(false)
    // when it closes, so the player can see the cards the computer was left
    // with. The caller passes an empty function when the hand must stay as it
    // is: already revealed, or a network game.
    DetailsWindow(const HandScore& score, std::function<void(bool faceUp)> showComputerHand, QWidget* parent = nullptr);
    ~DetailsWindow() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setComputerHandShown(bool shown);

    std::function<void(bool)> showComputerHand_;
    bool computerHandShown_ = false;
};

}  // namespace meldora
