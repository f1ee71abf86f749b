// What a point of the table is: the spot a mouse release lands on, and the column
// a rank key of the keyboard modes stands for.
#pragma once

#include <cstdint>

#include <climits>

namespace meldora {

class CanastaGame;
struct CardPile;
struct CardRecord;

enum HitArea : int {
    HitNothing = 0,
    HitStock = 1,
    HitDiscardPile = 2,
    HitNaturalHandCard = 3,  // a hand card in column 2 or higher (threes to aces)
    HitMeldCard = 4,         // a meld card outside the threes column
    HitThreesMeldCard = 5,   // a meld card in the threes column
    HitWildHandCard = 6,     // a joker or a two in the hand
};

struct HitResult {
    int area = HitNothing;
    int index = -1;  // the card's index within its pile (hand or melds)

    bool operator==(const HitResult&) const = default;
};

// The spot under (x, y), bounds inclusive on both sides. A covered card shows only
// its strip of StackStep pixels, so a point below the strip belongs to the card
// that covers it. Between hands (phase 9) nothing is hit. Does not change the game.
// tableBottom is the table's lower edge, which hand columns are kept above.
HitResult hitTestTable(const CanastaGame& game, int x, int y, int tableBottom = INT_MAX);

// Where a card of the human's hand is shown. A column steps down by StackStep;
// one that would run past tableBottom (a big pile taken at the smallest size)
// steps closer, so that it stays on the table and its last card shows whole.
// Only the showing changes: the card records, and so saved games, keep the
// plain steps, and a loaded game shows the same.
int shownHandCardY(const CardPile& hand, const CardRecord& card, int cardHeight, int tableBottom);

// The column a key selects in the keyboard modes ("W" jokers, "2".."9", "0" tens,
// "J", "Q", "K", "A"), or -1 for any other key. Takes a Qt key code and the
// key's native scan code: a key of the digit row names its digit whatever
// character Shift or the layout makes of it.
int keyboardColumn(int key, std::uint32_t nativeScanCode = 0);

}  // namespace meldora
