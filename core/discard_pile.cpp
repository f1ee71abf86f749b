// The discard pile: when it is frozen, when and how the human takes it (the top
// card first, melded with cards from the hand before the rest is picked up), the
// forced take of an exhausted stock, the undo of a take and the blocking red three.
#include "core/game.h"

#include <stdexcept>
#include <string>

#include "core/column_runs.h"
#include "core/table_host.h"

namespace meldora {

namespace {

// Whether the melds are worth anything in columns of three cards or more, as
// MeldValueOnTable(side, false) != 0 says, without summing every column: no card
// is worth less than nothing, so the first such column worth points decides.
bool HasOpened(const CardPile& melds, const TableLayout& layout)
{
    ColumnCounts perColumn{};
    ColumnCounts pointsPerColumn{};
    ColumnRuns columnOf(layout);
    for (int i = 0, count = melds.Count; i < count; ++i) {
        const CardRecord& c = melds.Cards[i];
        const int col = columnOf(c);
        if (col < 0 || col >= ColumnCount)
            continue;
        pointsPerColumn[col] += MeldPoints(c);
        if (++perColumn[col] >= 3 && pointsPerColumn[col] > 0)
            return true;
    }
    return false;
}

}  // namespace

bool CanastaGame::IsPileFrozen(Side side) const
{
    if (Turn.DiscardFrozen)
        return true;
    if (!(Rules.InitialBlock && Rules.InitialBlockForBoth))
        return false;
    // Until a side has opened, the pile stays closed to it.
    return side == Side::Human ? !HasOpened(Human().Melds, Layout) : Computer().MeldValue == 0;
}

bool CanastaGame::DiscardFreezeRule(const CardRecord& card)
{
    if (IsRedThree(card.Id)) {
        if (!Rules.ThreeBlock)
            return false;
        Turn.DiscardFrozen = true;
        return true;
    }
    if (IsWild(card.Rank))
        Turn.DiscardFrozen = true;
    return true;
}

bool CanastaGame::ForcedToTake(int handCount, const ColumnCounts& meldCounts) const
{
    if (Turn.DiscardFrozen || DiscardPile.Count == 0)
        return false;
    const int r = DiscardPile.top().Rank;
    if (r < 3)
        return false;
    if (DiscardPile.Count == 1 && handCount == 1)
        return false;
    const int m = meldCounts[r];
    return (m >= 3 && m <= 6) || ((m == 7 || m == 8) && Rules.AddToCanasta);
}

bool CanastaGame::CanTakePile(Side side, bool includeForced)
{
    const Seat& seat = SeatOf(side);
    if (DiscardPile.Count == 0)
        return false;
    // The rule reads the taking side's counts alone, and nothing relies on the
    // other side's being refreshed here: the engine recounts before each of its
    // own readings, and the computer player counts its opponent's columns itself.
    RecountColumns(side);
    const int r = DiscardPile.top().Rank;
    if (r < 3)
        return false;  // threes, twos and jokers on top cannot be taken

    const int h = seat.HandCount[r];
    const int m = seat.MeldCount[r];
    const int w = seat.HandCount[Joker] + seat.HandCount[Two];
    const bool frozen = IsPileFrozen(side);
    const bool closedCanasta = m >= 7 && !Rules.AddToCanasta;
    const bool pairRequired = Rules.NaturalPair && Rules.AddExistingMeld;

    const bool naturalPair = h >= 2 && !closedCanasta;
    const bool existingMeld = !frozen && !pairRequired && m >= 3 && !closedCanasta;
    const bool naturalAndWild = h == 1 && w >= 1 && !frozen && !Rules.NaturalPair && m <= 2;
    const bool forced = includeForced && Turn.StockExhausted && ForcedToTake(seat.Hand.Count, seat.MeldCount);
    if (!(naturalPair || existingMeld || naturalAndWild || forced))
        return false;

    if (m == 0) {
        // A new meld needs the top card and two from the hand, and a card left
        // to discard unless the side could go out.
        const int needed = seat.Canastas.Count < Rules.NumberOfCanastas ? 3 : 0;
        if (seat.Hand.Count + DiscardPile.Count <= needed)
            return false;
    }
    if (DiscardPile.Count == 1 && seat.Hand.Count == 1)
        return false;
    return true;
}

CardRecord CanastaGame::TakePileTop(Side side)
{
    if (!CanTakePile(side, true))
        throw RuleRefusal("Taking the discard pile is not possible now because the top card cannot be melded");
    return PopCard(DiscardPile);
}

void CanastaGame::TakePile()
{
    if (Turn.ComputerTurn || Turn.Phase == TurnPhase::HandOver)
        return;
    Match.GameInProgress = true;
    if (!Turn.MustDraw) {
        ShowInputError(InputError::AlreadyDrawn);
        return;
    }
    if (!CanTakePile(Side::Human, true)) {
        ShowInputError(DiscardPile.Count == 1 && Human().Hand.Count == 1 ? InputError::OneCardPileWithOneCard
                                                                       : InputError::PileNotMeldable);
        return;
    }
    const bool forcedOnly = !CanTakePile(Side::Human, false);

    Turn.MustDraw = false;
    if (DiscardPile.Count > HugePileSize)
        host_->PlaySound(SoundEvent::TakeHugePile);

    RecountColumns();
    const bool frozen = IsPileFrozen(Side::Human);
    Take.TopCardOnTable = true;
    Take.TopCard = PopCard(DiscardPile);
    const int r = Take.TopCard.Rank;
    const int before = Human().MeldCount[r];
    const int fromX = Take.TopCard.X;
    const int fromY = Take.TopCard.Y;
    Take.TopCard.FaceUp = true;
    PlaceInColumn(Human().Melds, true, false, Take.TopCard);
    AppendCard(Human().Melds, Take.TopCard);
    host_->SendMessage("DRAWPILETOP", "");
    host_->MoveCard(Take.TopCard, fromX, fromY, Take.TopCard.X, Take.TopCard.Y);
    CheckCanasta(Side::Human, ColumnOf(Take.TopCard));
    // Squaring up a canasta moves the card (and may reorder the column): remember
    // where it lies now, so that undoing the take finds this very card.
    if (FindTopCardInMelds() < 0) {
        for (int i = Human().Melds.Count - 1; i >= 0; --i) {
            const CardRecord& c = Human().Melds.Cards[i];
            if (c.Id == Take.TopCard.Id && c.Deck == Take.TopCard.Deck && c.X == Take.TopCard.X) {
                Take.TopCard = c;
                break;
            }
        }
    }
    Turn.HasDrawn = true;

    if (forcedOnly) {
        SetPhase(TurnPhase::MeldDiscard);
        Take.TopCardOnTable = false;
        Take.Pending = false;
        Turn.CardsDrawn = 0;
    } else if (!frozen && before > 0 && !(Rules.NaturalPair && Rules.AddExistingMeld)) {
        PickUpPile(false);
    } else {
        SetPhase(TurnPhase::Taking);
        Take.Pending = true;
        Take.TopCardRank = static_cast<std::uint8_t>(r);
        if (!Rules.TopCardCounts)
            Human().MinimumMeld += Take.TopCard.Points;
        Take.ColumnBefore = before;
        int ofRank = 0;
        for (int i = 0; i < Human().Melds.Count; ++i)
            if (Human().Melds.Cards[i].Rank == r)
                ++ofRank;
        Take.NaturalsBefore = ofRank - 1;
        Take.NeedsNaturalPair = frozen || Rules.NaturalPair;
    }

    CheckForcedPass();
    TakeSnapshot();
}

void CanastaGame::CompleteTake()
{
    if (!Take.Pending)
        return;
    if (!ValidateMelds(Side::Human, 0, true))
        return;
    RecountColumns();
    if (Human().MeldCount[Take.TopCardRank] < Take.ColumnBefore + 3)
        return;
    if (Take.NeedsNaturalPair) {
        int ofRank = 0;
        for (int i = 0; i < Human().Melds.Count; ++i)
            if (Human().Melds.Cards[i].Rank == Take.TopCardRank)
                ++ofRank;
        if (ofRank < Take.NaturalsBefore + 3)
            return;
    }
    const bool minimumMet = MeldValueOnTable(Side::Human, false) >= Human().MinimumMeld;
    if (!minimumMet && !(Rules.BonusCounts && Human().Canastas.Count > 0))
        return;
    PickUpPile(true);
}

void CanastaGame::PickUpPile(bool completingTake)
{
    SetPhase(TurnPhase::MeldDiscard);
    Turn.DiscardFrozen = false;
    Take.Pending = false;
    Take.TopCardOnTable = false;
    Turn.MustDraw = false;
    host_->SendMessage("DRAWPILEREST", "");
    while (DiscardPile.Count > 0) {
        CardRecord card = PopCard(DiscardPile);
        const int fromX = card.X;
        const int fromY = card.Y;
        card.FaceUp = true;
        if (IsRedThree(card.Id)) {
            PlaceInColumn(Human().Melds, true, false, card);
            AppendCard(Human().Melds, card);
        } else {
            PlaceInColumn(Human().Hand, true, false, card);
            AppendCard(Human().Hand, card);
            AppendCard(Memory.KnownOpponentCards, card);
        }
        host_->MoveCard(card, fromX, fromY, card.X, card.Y);
    }
    if (completingTake) {
        ClearUndo();
        host_->UndoItemsEnabled(false);
    }
}

int CanastaGame::FindTopCardInMelds() const
{
    for (int i = Human().Melds.Count - 1; i >= 0; --i) {
        const CardRecord& c = Human().Melds.Cards[i];
        if (c.X == Take.TopCard.X && c.Y == Take.TopCard.Y && c.Id == Take.TopCard.Id && c.Deck == Take.TopCard.Deck)
            return i;
    }
    return -1;
}

void CanastaGame::UndoTake()
{
    if (!Take.Pending)
        return;
    if (!Rules.TopCardCounts)
        Human().MinimumMeld -= Take.TopCard.Points;
    Take.TopCardOnTable = false;
    Take.Pending = false;
    Turn.HasDrawn = false;
    RestoreSnapshot();
    // The melds laid since the take went back to the hand with the snapshot.
    ClearUndo();
    host_->UndoItemsEnabled(false);

    const int index = FindTopCardInMelds();
    if (index < 0) {
        host_->ShowMessage(MessageKind::Error,
                          "An error occurred while undoing taking the discard pile. A new hand will be dealt.");
        DealHand(true);
        return;
    }
    const int column = ColumnOf(Human().Melds.Cards[index]);
    if (column < 0 || column >= ColumnCount)
        throw std::out_of_range("meld card outside the table's columns");
    BreakCanastaOfSeven(Side::Human, column);
    const bool squared = Human().Canastas.Kind[column] != NoCanasta;
    CardRecord card = RemoveCardAt(Human().Melds, index, +1, squared, column);
    card.X = LeftMargin;
    card.Y = Layout.DiscardTop;
    AppendCard(DiscardPile, card);

    Human().Score -= UndoTakePenalty;
    host_->RepaintTable();
    host_->SendMessage("UNDOPILE", "");
    Turn.MustDraw = true;
    SetPhase(TurnPhase::Draw);
}

void CanastaGame::BlockWithRedThree(int meldIndex)
{
    if (!Rules.ThreeBlock || Turn.ComputerTurn || Turn.Phase == TurnPhase::HandOver)
        return;
    if (meldIndex < 0 || meldIndex >= Human().Melds.Count)
        throw std::out_of_range("red three index outside the melds");
    if (!IsRedThree(Human().Melds.Cards[meldIndex].Id))
        return;
    // Blocking ends the turn like a discard, so the table must pass the same check:
    // otherwise a half-done take or an unfinished meld would be left behind.
    if (!ValidateMelds(Side::Human, 0)) {
        ShowInputError(InputError::DiscardNotPossible);
        return;
    }

    ClearUndo();
    SetPhase(TurnPhase::Draw);
    host_->UndoItemsEnabled(false);
    Turn.HasDrawn = false;
    Turn.MustDraw = true;
    Turn.CardsDrawn = 0;

    const CardRecord before = Human().Melds.Cards[meldIndex];
    const CardRecord card = BlockPileWithMeldedRedThree(Side::Human, meldIndex);
    host_->SendMessage("DISCARDREDTHREE", std::to_string(card.Id));
    host_->MoveCard(card, before.X, before.Y, card.X, card.Y);
    host_->RepaintTable();

    PassTurnToOpponent();
}

CardRecord CanastaGame::BlockPileWithMeldedRedThree(Side side, int meldIndex)
{
    CardPile& melds = SeatOf(side).Melds;
    const int column = ColumnOf(melds.Cards[meldIndex]);
    CardRecord card = RemoveCardAt(melds, meldIndex, MeldDirection(side), false, column);
    LayOnDiscardPile(card);
    Turn.DiscardFrozen = true;
    return card;
}

}  // namespace meldora
