#include "ai/turn_frame.h"

#include "core/column_runs.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace meldora::ai {

namespace {

// Walks the meld cards run by run, a run being the cards lying at one x: the
// cards of one column lie together in the pile, so the column (a division)
// is worked out once per run. Calls eachCard(card) for every card, then
// runEnds(column, cards) once its run is done; a run outside the columns
// (column < 0 or past the last) is handed on as it is, for the caller to
// leave out of the columns' counts.
template <typename EachCard, typename RunEnds>
void ForEachColumnRun(const CardPile& melds, const TableLayout& layout, EachCard&& eachCard, RunEnds&& runEnds)
{
    const CardRecord* card = melds.Cards.data();
    const CardRecord* const end = card + melds.Count;
    while (card != end) {
        const int x = card->X;
        const CardRecord* const first = card;
        do {
            eachCard(*card);
            ++card;
        } while (card != end && card->X == x);
        runEnds(layout.ColumnOf(x), static_cast<int>(card - first));
    }
}

bool IsColumn(int column) { return column >= 0 && column < ColumnCount; }

}  // namespace


TurnFrame::TurnFrame(CanastaGame& game, const ComputerSettings& settings)
    : Game(game), Host(game.Host()), Settings(settings), Me(settings.Seat),
      Memory(settings.Memory != nullptr ? *settings.Memory : game.Memory), own_(game.SeatOf(Me)),
      opponent_(game.SeatOf(Opponent(Me))), repaints_(game.Host().WatchesRepaints())
{
}

bool TurnFrame::Frozen() const
{
    // The game tells whether the human side has opened by counting its melds
    // from the table; the live counts already know them. The rest of the test
    // is the game's own.
    if (Game.Turn.DiscardFrozen)
        return true;
    if (!FrozenReadsOwnColumns() || !LiveCountsHold() || !live_.ColumnPointsCounted)
        return Game.IsPileFrozen(Me);
    return live_.FullColumnsWorthNothing();
}

int TurnFrame::BlackThreesInHand() const
{
    if (HoldsNoneOf(Three))
        return 0;
    if (LiveCountsHold())
        return live_.HandRanks[Three] - live_.HandRedThrees;
    int black = 0;
    for (int i = 0; i < Own().Hand.Count; ++i)
        if (IsBlackThree(Own().Hand.Cards[i].Id))
            ++black;
    return black;
}

int TurnFrame::OwnColumnSize(int column) const
{
    if (LiveCountsHold() && column >= 0 && column < ColumnCount)
        return live_.MeldColumns[column];
    return Game.ColumnSize(Me, column);
}

int TurnFrame::WildsInColumn(int column) const
{
    if (LiveCountsHold() && column >= 0 && column < ColumnCount)
        return live_.MeldWilds[column];
    int wild = 0;
    ColumnRuns columnOf(Game.Layout);
    for (int i = 0; i < Own().Melds.Count; ++i) {
        const CardRecord& c = Own().Melds.Cards[i];
        if (IsWild(c.Rank) && columnOf(c) == column)
            ++wild;
    }
    return wild;
}

int TurnFrame::FindLastCardOfRank(int rank, int before) const
{
    if (HoldsNoneOf(rank))
        return -1;
    const CardRecord* const first = Own().Hand.Cards.data();
    for (const CardRecord* card = first + std::min<int>(before, Own().Hand.Count); card != first;) {
        --card;
        if (card->Rank == rank)
            return static_cast<int>(card - first);
    }
    return -1;
}

GoOutPlan TurnFrame::PlanGoingOut(int setAside) const
{
    GoOutPlan plan;
    for (int r = 13; r >= 3; --r) {
        if (Hand(r) == 2) {
            plan.Pair[r] = true;
            ++plan.Pairs;
        }
    }
    plan.Spare = Wilds() - plan.Pairs;
    plan.Rest = Cards() - 3 * plan.Pairs - plan.Spare - setAside;
    return plan;
}

bool TurnFrame::CanastaInReach(int topInHand, int plannedWildcards) const
{
    const int wilds = Wilds();
    for (int t = 13; t >= 3; --t) {
        const int sum = Hand(t) + Pile(t) + Melds(t) - (t == topInHand ? 1 : 0);
        if (sum >= 4 && sum + wilds >= 7)
            return Hand(t) >= 3 || sum - plannedWildcards + wilds >= 7;
    }
    return false;
}

bool TurnFrame::RulesLetTakePile(const CardRecord& top, bool frozen, bool refuseOneCard)
{
    const RuleOptions& rules = Game.Rules;
    const int r = top.Rank;
    const int h = Hand(r);
    const int m = Melds(r);
    const bool fits = (h == 1 && Wilds() >= 1 && !rules.NaturalPair) || h >= 2
                      || (m >= 3 && !(rules.NaturalPair && rules.AddExistingMeld));
    const bool openPile = !frozen && !rules.AddToCanasta && m < 7 && fits;
    const bool frozenPile = frozen && h >= 2 && (rules.AddToCanasta || m < 7);
    const bool openPileOnCanasta = !frozen && rules.AddToCanasta && fits;
    const bool forced = StockEmpty() && OwnForcedToTake();
    if (r < 3 || (PileSize() == 1 && Cards() == 1))
        return false;
    if (refuseOneCard)
        return false;
    if (!(openPile || frozenPile || openPileOnCanasta || forced))
        return false;
    return m != 0 || Cards() + PileSize() >= 4;
}

int TurnFrame::WildcardRoom(int column) const
{
    if (column < 3 || column >= ColumnCount)
        return 0;
    const int wild = WildsInColumn(column);
    const int naturals = OwnColumnSize(column) - wild;
    return std::max(0, naturals - wild);
}

void TurnFrame::ShowLiveCounts()
{
    if (!LiveCountsHold())
        CountLiveFromTable();
    else if (!OpponentAsCounted())
        CountOpponent();
    if (live_.Unshown & LiveCounts::HandPart)
        Own().HandCount = live_.HandRanks;
    if (live_.Unshown & LiveCounts::MeldsPart) {
        Own().MeldCount = live_.MeldColumns;
        OwnMeldRankCount = live_.MeldRanks;
    }
    if (live_.Unshown & LiveCounts::PilePart)
        DiscardRankCount = live_.PileRanks;
    live_.Unshown = 0;
}

void TurnFrame::CountLiveFromTable()
{
    live_.Clear();
    // The sizes are read once, into locals: the counts written in between
    // could otherwise be taken to change them, and be read again at every card.
    const CardPile& hand = Own().Hand;
    const int handCards = hand.Count;
    live_.HandCards = handCards;
    for (int i = 0; i < handCards; ++i)
        ++live_.HandRanks[hand.Cards[i].Rank];
    // Red threes are threes: the search ends with the hand's last three.
    for (int i = 0, threesLeft = live_.HandRanks[Three]; threesLeft > 0; ++i) {
        if (hand.Cards[i].Rank == Three) {
            --threesLeft;
            live_.HandRedThrees += IsRedThree(hand.Cards[i].Id) ? 1 : 0;
        }
    }
    // Like RecountColumns, a card outside the columns counts in none.
    const CardPile& melds = Own().Melds;
    live_.MeldCards = melds.Count;
    const bool countPoints = FrozenReadsOwnColumns();
    live_.ColumnPointsCounted = countPoints;
    // The wild cards of a run are the jokers and twos it added to the counts
    // by rank: counted once a run, not tested card by card.
    int wildsBefore = live_.MeldRanks[Joker] + live_.MeldRanks[Two];
    int points = 0;
    ForEachColumnRun(
        melds, Game.Layout,
        [&](const CardRecord& c) {
            ++live_.MeldRanks[c.Rank];
            if (countPoints)
                points += MeldPoints(c);
        },
        [&](int column, int cards) {
            const int wilds = live_.MeldRanks[Joker] + live_.MeldRanks[Two];
            if (IsColumn(column)) {
                live_.MeldColumns[column] += cards;
                live_.MeldWilds[column] += wilds - wildsBefore;
                live_.MeldColumnPoints[column] += points;
            }
            wildsBefore = wilds;
            points = 0;
        });
    const CardPile& pile = Game.DiscardPile;
    const int pileCards = pile.Count;
    live_.PileCards = pileCards;
    for (int i = 0; i < pileCards; ++i)
        ++live_.PileRanks[pile.Cards[i].Rank];
    live_.Current = true;
    live_.AllZero = false;
    live_.Unshown = LiveCounts::AllParts;
    CountOpponent();
}

void TurnFrame::CountOpponent()
{
    // The counts by rank are counted straight into the tallies, which a
    // frame's first count finds at 0 as built; a later count empties them.
    const bool countedBefore = opponentCounted_.Melds >= 0;
    opponentCounted_ = {Opp().Melds.Count, Memory.KnownOpponentCards.Count};
    // The melds by rank are counted in the same pass as the columns.
    const bool countRanks = CountsOpponentRanks();
    if (countRanks && countedBefore) {
        OpponentMeldRankCount.fill(0);
        KnownOpponentRankCount.fill(0);
    }
    ColumnCounts columns{};
    ColumnCounts pointsPerColumn{};
    const CardPile& melds = Opp().Melds;
    int points = 0;
    ForEachColumnRun(
        melds, Game.Layout,
        [&](const CardRecord& c) {
            if (countRanks)
                ++OpponentMeldRankCount[c.Rank];
            points += MeldPoints(c);
        },
        [&](int column, int cards) {
            if (IsColumn(column)) {
                columns[column] += cards;
                pointsPerColumn[column] += points;
            }
            points = 0;
        });
    // The value of the columns of three cards or more, as the game's
    // MeldValueOnTable(side, false) reckons it, from the pass made anyway.
    int value = 0;
    for (int column = 0; column < ColumnCount; ++column)
        value += columns[column] >= 3 ? pointsPerColumn[column] : 0;
    opponentMeldValue_ = value;
    Opp().MeldCount = columns;
    if (!countRanks)
        return;
    const CardPile& seen = Memory.KnownOpponentCards;
    for (int i = 0, count = seen.Count; i < count; ++i)
        ++KnownOpponentRankCount[seen.Cards[i].Rank];
}

int TurnFrame::OpponentWildsAndThrees() const
{
    const CardPile& hand = Opp().Hand;
    return static_cast<int>(std::count_if(hand.Cards.begin(), hand.Cards.begin() + hand.Count,
                                          [](const CardRecord& c) { return c.Rank <= Three; }));
}

void TurnFrame::StartFromCountsOf(const TurnFrame& original)
{
    if (!original.live_.Current)
        return;
    live_ = original.live_;
    live_.Unshown = LiveCounts::AllParts;
    opponentCounted_ = original.opponentCounted_;
    opponentMeldValue_ = original.opponentMeldValue_;
    OpponentMeldRankCount = original.OpponentMeldRankCount;
    KnownOpponentRankCount = original.KnownOpponentRankCount;
    Opp().MeldCount = original.Opp().MeldCount;
}

// ---- Presentation -----------------------------------------------------------

void TurnFrame::ShowFlight(const CardRecord& shown, int fromX, int fromY, int toX, int toY)
{
    if (Settings.Animate)
        Host.MoveCard(shown, fromX, fromY, toX, toY);
    RepaintCardAt(fromX, fromY);
    RepaintCardAt(toX, toY);
}

void TurnFrame::RepaintCardAt(int x, int y)
{
    if (repaints_)
        Host.InvalidateTableRect({x, y, Game.Layout.CardWidth, Game.Layout.CardHeight});
}

void TurnFrame::RepaintHandRow()
{
    if (repaints_)
        Host.InvalidateTableRect(Game.HandArea(Me));
}

void TurnFrame::RepaintDiscardPile()
{
    if (repaints_)
        Host.InvalidateTableRect({0, Game.Layout.DiscardTop, Game.Layout.ClientWidth, Game.Layout.CardHeight});
}

double TurnFrame::Chance()
{
    // A probe draws nothing: its answer is known, and the draws stay in step.
    if (ProbeStops())
        return 0.0;
    return std::uniform_real_distribution<double>(0.0, 1.0)(Game.Random);
}

void TurnFrame::MeldPause()
{
    if (Settings.Animate && Settings.MeldDelay > 0)
        Host.Pause(Settings.MeldDelay);
}

// ---- Card operations --------------------------------------------------------

void TurnFrame::AddToHand(CardRecord card, bool animate)
{
    const int fromX = card.X;
    const int fromY = card.Y;
    Game.PutInHand(Me, card);
    live_.IntoHand(card);
    if (animate && ShowsMoves()) {
        // The flight shows the back of the card's deck, never its face.
        CardRecord back = card;
        back.Id = static_cast<std::uint8_t>(54 + card.Deck);
        ShowFlight(back, fromX, fromY, card.X, card.Y);
    }
}

void TurnFrame::RefuseHandRemoval()
{
    // The melding operations stop a probe before a card leaves the hand.
    if (probing_)
        throw std::logic_error("a probe of the melding took a card from the hand");
    Host.ShowMessage(MessageKind::Warning, "Internal Failure removing card from computer's hand");
    throw std::out_of_range("computer's hand index outside the hand");
}

// Inline: it runs for every card the computer melds, and only this file calls it.
inline void TurnFrame::PutOnMeld(const CardRecord& card, int fromX, int fromY, int column, int before)
{
    AppendCard(Own().Melds, card);
    // Read once: the counts written in between could otherwise be taken to change the card.
    const int points = MeldPoints(card);
    live_.OntoMelds(card, Game.ColumnOf(card), points);
    Own().MeldValue += points;
    Animate(card, fromX, fromY, card.X, card.Y);
    MeldPause();
    if (before >= 6)
        Game.CheckCanasta(Me, column);
}

// Inline: the melding loops lay card after card through it.
inline CardRecord TurnFrame::MeldHandCard(int index)
{
    CardRecord card = RemoveFromHand(index);
    const int fromX = card.X;
    const int fromY = card.Y;
    const int column = card.Rank;
    const int before = OwnColumnSize(column);
    Game.PlaceOnMeld(Me, card, column, before);
    PutOnMeld(card, fromX, fromY, column, before);
    return card;
}

CardRecord TurnFrame::MeldFromHand(int index)
{
    return MeldHandCard(index);
}

void TurnFrame::MeldCardsOfRank(int rank, int count)
{
    int melded = 0;
    // Melding a card closes its gap in the hand, and no card before it is of
    // the rank: the next one is searched from where it lay.
    for (int index = FindCardOfRank(rank); index >= 0 && (count == 0 || melded < count);
         index = FindCardOfRank(rank, index)) {
        if (ProbeStops())
            break;
        MeldHandCard(index);
        ++melded;
    }
    Recount();
}

int TurnFrame::MeldLastCardsOfRank(int rank, int count)
{
    int melded = 0;
    // No card after the one melded is of the rank: the next one lies before it.
    for (int index = FindLastCardOfRank(rank); index >= 0 && (count == 0 || melded < count);
         index = FindLastCardOfRank(rank, index)) {
        if (ProbeStops())
            break;
        MeldHandCard(index);
        ++melded;
    }
    Recount();
    return melded;
}

bool TurnFrame::AddWildcardToMeld(int rank)
{
    if (ProbeStops())
        return false;
    int index = FindCardOfRank(0);
    if (index < 0)
        index = FindCardOfRank(1);
    if (index < 0) {
        Host.ShowMessage(MessageKind::Error, "Meld error: Wildcard not found.");
        return false;
    }
    CardRecord card = RemoveFromHand(index);
    const int fromX = card.X;
    const int fromY = card.Y;
    const int before = OwnColumnSize(rank);
    Game.PlaceOnMeld(Me, card, rank, before);
    PutOnMeld(card, fromX, fromY, rank, before);
    return true;
}

int TurnFrame::HandOutWildcards(int count)
{
    Recount();
    int inHand = Wilds();
    int laid = 0;
    for (const bool toCanastas : {false, true}) {
        for (int r = 3; r <= 13 && laid < count && inHand > 0; ++r) {
            if ((OwnColumnSize(r) >= 7) != toCanastas)
                continue;
            for (int room = WildcardRoom(r); room > 0 && laid < count && inHand > 0; --room) {
                if (!MayLayLastCard(r))
                    break;
                AddWildcardToMeld(r);
                ++laid;
                --inHand;
            }
        }
    }
    Recount();
    return laid;
}

bool TurnFrame::MayLayLastCard(int column) const
{
    if (Own().Hand.Count != 1)
        return true;
    const int completes = column >= 3 && OwnColumnSize(column) == 6 ? 1 : 0;
    return Canastas() + completes >= Need();
}

// ---- Steps of the turn ------------------------------------------------------

void TurnFrame::BeginTurn()
{
    Game.Turn.ComputerTurn = true;
    Host.RepaintTable();
    Host.SetBusyCursor(true);
    // The first recount counts both sides' hands and melds from the table, as
    // the game's own recount of the columns would, and the opponent's hand for
    // the decisions.
    MarkCountsStale();
    Recount();
    // The recount of a stale frame has just counted the opponent's melds.
    Opp().MeldedBefore = opponentMeldValue_;
    OwnMinimumMeld = MinimumMeld(Own().Score);
    Own().MinimumMeld = OwnMinimumMeld;
}

// Inline: only the draw below calls it, once for every card drawn.
inline CardRecord TurnFrame::DrawOneCard()
{
    const CardRecord card = PopCard(Game.Stock);
    if (Game.Stock.Count == 0)
        Game.SetStockExhausted(true);
    AddToHand(card, true);
    return card;
}

void TurnFrame::DrawCards()
{
    for (int n = 0; n < Game.Rules.NumberOfCards && Game.Stock.Count > 0; ++n) {
        CardRecord card = DrawOneCard();
        while (Game.Rules.DrawExtra && IsRedThree(card.Id) && Game.Stock.Count > 0)
            card = DrawOneCard();
    }
}

CardRecord TurnFrame::TakeTopCard()
{
    const CardRecord card = Game.TakePileTop(Me);
    live_.OffPile(card);
    AddToHand(card, true);
    return card;
}

void TurnFrame::TakeRestOfPile()
{
    while (Game.DiscardPile.Count > 0) {
        const CardRecord card = PopCard(Game.DiscardPile);
        live_.OffPile(card);
        AddToHand(card, true);
    }
}

bool TurnFrame::OwnForcedToTake()
{
    if (Game.DiscardPile.Count == 0)
        return false;
    Recount();
    return Game.ForcedToTake(Own().Hand.Count, Own().MeldCount);
}

void TurnFrame::EndHandForEmptyStock()
{
    Game.Turn.EndHandRequested = true;
    MarkCountsStale();
    Game.CheckEndOfHand();
}

void TurnFrame::LayDownRedThrees(bool fromEnd)
{
    // A hand the live counts find without red threes is not searched.
    while (!HoldsNoRedThree()) {
        int index = -1;
        const CardPile& hand = Own().Hand;
        for (int k = 0; k < hand.Count && index < 0; ++k) {
            const int i = fromEnd ? hand.Count - 1 - k : k;
            if (IsRedThree(hand.Cards[i].Id))
                index = i;
        }
        if (index < 0)
            break;
        MeldFromHand(index);
        RepaintHandRow();
        MeldPause();
    }
    Recount();
}

bool TurnFrame::MayDiscard()
{
    if (Own().Hand.Count < 2 && Own().Canastas.Count < Need()) {
        Host.ShowMessage(MessageKind::Information, "The computer passes the discard.");
        return false;
    }
    return Own().Hand.Count != 0;
}

void TurnFrame::Discard(const DiscardChoice& choice)
{
    // The discard hands the turn over; what the opponent does then is not the frame's to count.
    MarkCountsStale();
    CardRecord card;
    int fromX = 0;
    int fromY = 0;
    if (choice.MeldIndex >= 0) {
        // A red three laid out earlier goes back from the table to block the pile;
        // the turn ends on it as on a discard, so the table must pass the meld check.
        if (!Game.ValidateMelds(Me, 0, true))
            throw RuleRefusal("Blocking with a red three is not possible now: " + Game.Turn.MeldCheckReason);
        fromX = Own().Melds.Cards[choice.MeldIndex].X;
        fromY = Own().Melds.Cards[choice.MeldIndex].Y;
        card = Game.BlockPileWithMeldedRedThree(Me, choice.MeldIndex);
    } else {
        if (choice.HandIndex < 0 || choice.HandIndex >= Own().Hand.Count)
            RemoveFromHand(choice.HandIndex);  // reports the bad index and throws
        fromX = Own().Hand.Cards[choice.HandIndex].X;
        fromY = Own().Hand.Cards[choice.HandIndex].Y;
        card = Game.DiscardFromHand(Me, choice.HandIndex);
    }
    Animate(card, fromX, fromY, card.X, card.Y);
    if (IsWild(card.Rank) || IsRedThree(card.Id))
        Game.Turn.DiscardFrozen = true;
}

void TurnFrame::FinishTurn()
{
    RepaintDiscardPile();
    RepaintHandRow();
    Host.SetBusyCursor(false);
    MarkCountsStale();
    Game.CheckEndOfHand();
    Own().MeldedBefore = Own().MeldValue;
    Game.Turn.ComputerTurn = false;
    Game.Turn.MustDraw = true;
    Game.Turn.HasDrawn = false;
    Game.Turn.CardsDrawn = 0;
    Game.SetPhase(TurnPhase::Draw);
}

}  // namespace meldora::ai
