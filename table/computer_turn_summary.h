// A one-line account of the computer's turn, put together from the card moves the
// game reports through its host while the computer plays: what it drew or took,
// what it laid out and melded, and what it discarded.
#pragma once

#include <QString>
#include <map>
#include <optional>

#include "core/card.h"

namespace meldora {

class CanastaGame;

// The text of a card as the player reads it: "9♠", "10♥", "K♣", "Joker".
QString cardText(int id);

class ComputerTurnSummary {
public:
    // A new turn: forgets the last one and notes the size of the pile it may take.
    void begin(const CanastaGame& game);
    // A card flight reported during the computer's turn; the card's record already
    // lies at its destination.
    void noteMove(const CanastaGame& game, const CardRecord& card, int fromX, int fromY, int toX, int toY);
    // "drew a card, melded three 5s, discarded 9♠"; empty before any move.
    QString text() const;
    // The card the computer discarded in this turn, if it discarded.
    std::optional<CardRecord> discard() const { return discard_; }

private:
    int pileAtStart_ = 0;
    int drawn_ = 0;
    bool tookPile_ = false;
    int redThrees_ = 0;
    // Melded cards by rank, in the order of the table's columns.
    std::map<int, int> melded_;
    std::optional<CardRecord> discard_;
};

}  // namespace meldora
