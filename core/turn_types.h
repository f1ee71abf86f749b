// The small types the game and its host share: the sides of the table, the
// phases of the human's turn and the numbered refusals of the human's input.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace meldora {

enum class Side { Human = 0, Computer = 1 };

// A move the rules forbid, asked of the game by a player that should have known
// better (a computer level); the human's refused moves are shown, not thrown.
class RuleRefusal : public std::logic_error {
public:
    explicit RuleRefusal(const std::string& reason) : std::logic_error(reason) {}
};

// A move of the network partner that cannot be made on this copy's table (a
// card that is not where the message says, a draw from an empty stock, a deal
// that is not a whole deck). The table is left as it was before the move.
class ImpossibleMove : public std::runtime_error {
public:
    explicit ImpossibleMove(const std::string& reason) : std::runtime_error(reason) {}
};

inline constexpr Side Opponent(Side side) { return side == Side::Human ? Side::Computer : Side::Human; }

// How far the human's turn has got; selects the hint in the status line. The
// numbers travel in saved games.
enum class TurnPhase : std::uint8_t {
    Draw = 0,
    MeldDiscard = 1,
    MeldDiscardTwice = 2,
    Taking = 3,
    SecondCard = 4,
    // The keyboard modes: a rank key picks the card to meld, to discard, or the
    // meld to lay a wild card on.
    KeyboardMeld = 5,
    KeyboardDiscard = 6,
    KeyboardWildcard = 7,
    Opponent = 8,
    HandOver = 9,
};

// The refusals of the human's input, numbered as the status line knows them.
enum class InputError : std::uint8_t {
    MeldBeforeDraw = 1,
    DiscardBeforeDraw = 2,
    AlreadyDrawn = 3,
    DiscardNotPossible = 4,  // the reason of the failed meld check follows the text
    PileNotMeldable = 5,
    BlackThreesOnlyGoingOut = 6,
    TooFewWildcardsForCanasta = 7,
    WildcardCanastaNotAllowed = 8,
    OneCardPileWithOneCard = 9,
};

}  // namespace meldora
