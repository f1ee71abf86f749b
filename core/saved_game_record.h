// What a saved game stores, as read from the file before the table is touched,
// and the check that what it holds could come from a game.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "core/card.h"

namespace meldora {

// What makes a file unusable; the text completes "is damaged and was not loaded (...)".
class DamagedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SavedGameRecord {
    CardPile Stock, ComputerHand, DiscardPile, DiscardBackup;
    CardPile ComputerMelds, HumanHand, HumanMelds, HumanHandBackup, HumanMeldsBackup;
    CanastaState HumanCanastas, ComputerCanastas, HumanCanastasBackup;
    bool DiscardFrozen = false;
    bool HasDrawn = false;
    bool TakingPile = false;
    bool TopCardOnTable = false;
    bool BlackThreesAllowed = false;
    bool GameInProgress = false;
    bool ComputerHandRevealed = false;
    std::int32_t TakeColumnBefore = 0;
    std::int32_t TakeNaturalsBefore = 0;
    bool TakeNeedsNaturalPair = false;
    std::uint8_t ComputerHandSpacing = 10;
    std::int32_t ComputerMeldValue = 0;
    std::int32_t ComputerScore = 0;
    std::int32_t HumanScore = 0;
    std::int32_t HumanMinimumMeld = 0;
    int SizeIndex = 0;
};

// Throws DamagedFile unless the record holds a table a game can reach: the
// 108 cards of the deck exactly once each on the table, none in excess in the
// snapshot of the turn, no take of the pile under way, every card as its
// identity makes it, positions on the table, and counts, scores and meld
// values no game can exceed.
void CheckPossibleGame(const SavedGameRecord& record);

}  // namespace meldora
