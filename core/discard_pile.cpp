// The discard pile: when it is frozen, when and how the human takes it (the top
// card first, melded with cards from the hand before the rest is picked up), the
// forced take of an exhausted stock, the undo of a take and the blocking red three.
#include "core/game.h"

#include <stdexcept>
#include <string>

#include "core/table_host.h"

namespace meldora {

namespace {

// More cards than this in the pile earn the big-pile cheer.
constexpr int HugePileSize = 12;
// Undoing a take of the pile costs the player this many match points.
constexpr int UndoTakePenalty = 50;

}  // namespace

bool CanastaGame::IsPileFrozen(Side side) const
{
    if (DiscardFrozen)
        return true;
    if (!(Rules.InitialBlock && Rules.InitialBlockForBoth))
        return false;
    // Until a side has opened, the pile stays closed to it.
    return side == Side::Human ? HumanMeldValue(false) == 0 : ComputerMeldValue == 0;
}

bool CanastaGame::DiscardFreezeRule(const CardRecord& card)
{
    if (IsRedThree(card.Id)) {
        if (!Rules.ThreeBlock)
            return false;
        DiscardFrozen = true;
        return true;
    }
    if (IsWild(card.Rank))
        DiscardFrozen = true;
    return true;
}

bool CanastaGame::ForcedToTake(int handCount, const ColumnCounts& meldCounts) const
{
    if (DiscardFrozen || DiscardPile.Count == 0)
        return false;
    const int r = DiscardPile.top().Rank;
    if (r < 3)
        return false;
    if (DiscardPile.Count == 1 && handCount == 1)
        return false;
    const int m = meldCounts[r];
    return (m >= 3 && m <= 6) || ((m == 7 || m == 8) && Rules.AddToCanasta);
}

bool CanastaGame::CanTakePile(bool includeForced)
{
    if (DiscardPile.Count == 0)
        return false;
    RecountColumns();
    const int r = DiscardPile.top().Rank;
    if (r < 3)
        return false;  // threes, twos and jokers on top cannot be taken

    const int h = HumanHandCount[r];
    const int m = HumanMeldCount[r];
    const int w = HumanHandCount[0] + HumanHandCount[1];
    const bool frozen = IsPileFrozen(Side::Human);
    const bool closedCanasta = m >= 7 && !Rules.AddToCanasta;
    const bool pairRequired = Rules.NaturalPair && Rules.AddExistingMeld;

    const bool naturalPair = h >= 2 && !closedCanasta;
    const bool existingMeld = !frozen && !pairRequired && m >= 3 && !closedCanasta;
    const bool naturalAndWild = h == 1 && w >= 1 && !frozen && !Rules.NaturalPair && m <= 2;
    const bool forced = includeForced && StockExhausted && ForcedToTake(HumanHand.Count, HumanMeldCount);
    if (!(naturalPair || existingMeld || naturalAndWild || forced))
        return false;

    if (m == 0) {
        // A new meld needs the top card and two from the hand, and a card left
        // to discard unless the side could go out.
        const int needed = HumanCanastas.Count < Rules.NumberOfCanastas ? 3 : 0;
        if (HumanHand.Count + DiscardPile.Count <= needed)
            return false;
    }
    if (DiscardPile.Count == 1 && HumanHand.Count == 1)
        return false;
    return true;
}

void CanastaGame::TakePile()
{
    if (ComputerTurn || Phase == PhaseHandOver)
        return;
    GameInProgress = true;
    if (!MustDraw) {
        ShowInputError(3);
        return;
    }
    if (!CanTakePile(true)) {
        ShowInputError(DiscardPile.Count == 1 && HumanHand.Count == 1 ? 9 : 5);
        return;
    }
    const bool forcedOnly = !CanTakePile(false);

    MustDraw = false;
    if (DiscardPile.Count > HugePileSize)
        host_.PlaySound(SoundEvent::TakeHugePile);

    RecountColumns();
    const bool frozen = IsPileFrozen(Side::Human);
    TopCardOnTable = true;
    TopCard = PopCard(DiscardPile);
    const int r = TopCard.Rank;
    const int before = HumanMeldCount[r];
    const int fromX = TopCard.X;
    const int fromY = TopCard.Y;
    TopCard.FaceUp = true;
    PlaceInColumn(HumanMelds, true, false, TopCard);
    AppendCard(HumanMelds, TopCard);
    host_.SendMessage("DRAWPILETOP", "");
    host_.MoveCard(TopCard, fromX, fromY, TopCard.X, TopCard.Y);
    CheckCanasta(Side::Human, ColumnOf(TopCard));
    // Squaring up a canasta moves the card (and may reorder the column): remember
    // where it lies now, so that undoing the take finds this very card.
    if (FindTopCardInMelds() < 0) {
        for (int i = HumanMelds.Count - 1; i >= 0; --i) {
            const CardRecord& c = HumanMelds.Cards[i];
            if (c.Id == TopCard.Id && c.Deck == TopCard.Deck && c.X == TopCard.X) {
                TopCard = c;
                break;
            }
        }
    }
    HasDrawn = true;

    if (forcedOnly) {
        SetPhase(PhaseMeldDiscard);
        TopCardOnTable = false;
        TakingPile = false;
        CardsDrawn = 0;
    } else if (!frozen && before > 0 && !(Rules.NaturalPair && Rules.AddExistingMeld)) {
        PickUpPile(false);
    } else {
        SetPhase(PhaseTaking);
        TakingPile = true;
        TopCardRank = static_cast<std::uint8_t>(r);
        if (!Rules.TopCardCounts)
            HumanMinimumMeld += TopCard.Points;
        TakeColumnBefore = before;
        int ofRank = 0;
        for (int i = 0; i < HumanMelds.Count; ++i)
            if (HumanMelds.Cards[i].Rank == r)
                ++ofRank;
        TakeNaturalsBefore = ofRank - 1;
        TakeNeedsNaturalPair = frozen || Rules.NaturalPair;
    }

    CheckForcedPass();
    TakeSnapshot();
}

void CanastaGame::CompleteTake()
{
    if (!TakingPile)
        return;
    if (!ValidateHumanMelds(0, true))
        return;
    RecountColumns();
    if (HumanMeldCount[TopCardRank] < TakeColumnBefore + 3)
        return;
    if (TakeNeedsNaturalPair) {
        int ofRank = 0;
        for (int i = 0; i < HumanMelds.Count; ++i)
            if (HumanMelds.Cards[i].Rank == TopCardRank)
                ++ofRank;
        if (ofRank < TakeNaturalsBefore + 3)
            return;
    }
    const bool minimumMet = HumanMeldValue(false) >= HumanMinimumMeld;
    if (!minimumMet && !(Rules.BonusCounts && HumanCanastas.Count > 0))
        return;
    PickUpPile(true);
}

void CanastaGame::PickUpPile(bool completingTake)
{
    SetPhase(PhaseMeldDiscard);
    DiscardFrozen = false;
    TakingPile = false;
    TopCardOnTable = false;
    MustDraw = false;
    host_.SendMessage("DRAWPILEREST", "");
    while (DiscardPile.Count > 0) {
        CardRecord card = PopCard(DiscardPile);
        const int fromX = card.X;
        const int fromY = card.Y;
        card.FaceUp = true;
        if (IsRedThree(card.Id)) {
            PlaceInColumn(HumanMelds, true, false, card);
            AppendCard(HumanMelds, card);
        } else {
            PlaceInColumn(HumanHand, true, false, card);
            AppendCard(HumanHand, card);
            AppendCard(KnownHumanCards, card);
        }
        host_.MoveCard(card, fromX, fromY, card.X, card.Y);
    }
    if (completingTake) {
        ClearUndo();
        host_.UndoItemsEnabled(false);
    }
}

int CanastaGame::FindTopCardInMelds() const
{
    for (int i = HumanMelds.Count - 1; i >= 0; --i) {
        const CardRecord& c = HumanMelds.Cards[i];
        if (c.X == TopCard.X && c.Y == TopCard.Y && c.Id == TopCard.Id && c.Deck == TopCard.Deck)
            return i;
    }
    return -1;
}

void CanastaGame::UndoTake()
{
    if (!TakingPile)
        return;
    if (!Rules.TopCardCounts)
        HumanMinimumMeld -= TopCard.Points;
    TopCardOnTable = false;
    TakingPile = false;
    HasDrawn = false;
    RestoreSnapshot();
    // The melds laid since the take went back to the hand with the snapshot.
    ClearUndo();
    host_.UndoItemsEnabled(false);

    const int index = FindTopCardInMelds();
    if (index < 0) {
        host_.ShowMessage(MessageKind::Error,
                          "An error occurred while undoing taking the discard pile. A new hand will be dealt.");
        DealHand(true);
        return;
    }
    const int column = ColumnOf(HumanMelds.Cards[index]);
    if (column < 0 || column >= ColumnCount)
        throw std::out_of_range("meld card outside the table's columns");
    BreakCanastaOfSeven(column);
    const bool squared = HumanCanastas.Kind[column] != NoCanasta;
    CardRecord card = RemoveCardAt(HumanMelds, index, +1, squared, column);
    card.X = LeftMargin;
    card.Y = Layout.DiscardTop;
    AppendCard(DiscardPile, card);

    HumanScore -= UndoTakePenalty;
    host_.RepaintTable();
    host_.SendMessage("UNDOPILE", "");
    MustDraw = true;
    SetPhase(PhaseDraw);
}

void CanastaGame::BlockWithRedThree(int meldIndex)
{
    if (!Rules.ThreeBlock || ComputerTurn || Phase == PhaseHandOver)
        return;
    if (meldIndex < 0 || meldIndex >= HumanMelds.Count)
        throw std::out_of_range("red three index outside the melds");
    if (!IsRedThree(HumanMelds.Cards[meldIndex].Id))
        return;
    // Blocking ends the turn like a discard, so the table must pass the same check:
    // otherwise a half-done take or an unfinished meld would be left behind.
    if (!ValidateHumanMelds(0)) {
        ShowInputError(4);
        return;
    }

    ClearUndo();
    SetPhase(PhaseDraw);
    host_.UndoItemsEnabled(false);
    HasDrawn = false;
    MustDraw = true;
    CardsDrawn = 0;

    const int column = ColumnOf(HumanMelds.Cards[meldIndex]);
    CardRecord card = RemoveCardAt(HumanMelds, meldIndex, +1, false, column);
    host_.SendMessage("DISCARDREDTHREE", std::to_string(card.Id));
    const int fromX = card.X;
    const int fromY = card.Y;
    card.X = LeftMargin;
    card.Y = Layout.DiscardTop;
    AppendCard(DiscardPile, card);
    host_.MoveCard(card, fromX, fromY, card.X, card.Y);
    host_.RepaintTable();
    DiscardFrozen = true;

    PassTurnToOpponent();
}

}  // namespace meldora
