// The checks the simulator runs on the table after every card operation and
// every turn: the deck is whole, every pile is laid out as the game lays it,
// canastas and meld values agree with the cards, scores add up.
#pragma once

#include <string>
#include <vector>

#include "core/game.h"
#include "core/scoring.h"

namespace meldora::sim {

enum class CheckMoment {
    // Right after a card moved, in the middle of a turn: only that every card
    // is somewhere exactly once. (Mid-turn a hand may hold a red three not yet
    // laid out, a meld may be short of its third card, a canasta that just grew
    // may not have been judged again yet; and this check runs hundreds of times
    // a hand.)
    AfterCardMove,
    // Between two turns: everything.
    BetweenTurns,
};

// Every fault found, each one sentence; empty when the table is sound.
std::vector<std::string> FindTableFaults(const CanastaGame& game, CheckMoment moment);

// A pile of known cards may only hold cards that are in the hand it describes.
std::vector<std::string> FindKnownCardFaults(const CardPile& known, const CardPile& hand, const std::string& whose);

// The rows of each side's hand score add up to its total, and the cards the two
// sides were scored for, with the stock and the discard pile, are the whole deck.
std::vector<std::string> FindHandScoreFaults(const HandScore& score, const CanastaGame& game);

// "the queen of hearts (deck 1)", "a joker (deck 0)".
std::string CardLabel(const CardRecord& card);

}  // namespace meldora::sim
