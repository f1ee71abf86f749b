// What every computer turn shares, whatever its level: the tallies the decisions
// read, the card operations through which the computer changes the table, and the
// steps of the turn around the family's own decisions (draw, take, discard, the
// hand-over to the opponent). The computer plays the computer's side of the table
// in the program; the simulator seats a level on either side.
#pragma once

#include <algorithm>
#include <array>
#include <optional>

#include "ai/computer_player.h"
#include "core/game.h"
#include "core/table_host.h"

namespace meldora::ai {

// The card a family decided to discard: a hand card, or (Expert only) a red
// three taken back from the computer's melds.
struct DiscardChoice {
    int HandIndex = -1;
    int MeldIndex = -1;
    bool Chosen() const { return HandIndex >= 0 || MeldIndex >= 0; }
};

// The ranks (three to king) the hand holds exactly twice, and what going out
// by melding each with a wild card would leave: the wild cards to spare, and the
// cards that would still be in hand.
struct GoOutPlan {
    std::array<bool, ColumnCount> Pair{};
    int Pairs = 0;
    int Spare = 0;
    int Rest = 0;
    // Every pair gets its wild card and at most one card is left for the discard.
    bool Possible() const { return Spare >= 0 && (Rest == 0 || Rest == 1); }
};

class TurnFrame {
public:
    TurnFrame(CanastaGame& game, const ComputerSettings& settings);
    virtual ~TurnFrame() = default;

    CanastaGame& Game;
    TableHost& Host;
    ComputerSettings Settings;
    // The side this player sits on, and what it remembers between its turns.
    const Side Me;
    ComputerMemory& Memory;

    Seat& Own() { return own_; }
    const Seat& Own() const { return own_; }
    Seat& Opp() { return opponent_; }
    const Seat& Opp() const { return opponent_; }

    // Values of the computer player that live for one turn.
    int OwnMinimumMeld = 50;
    bool OpponentHoarding = false;
    ColumnCounts OwnMeldRankCount{};
    ColumnCounts OpponentMeldRankCount{};
    ColumnCounts KnownOpponentRankCount{};
    ColumnCounts DiscardRankCount{};

    // ---- Tallies ------------------------------------------------------------
    // Brings the tallies the decisions read up to date with the cards. The
    // decisions read them as they stood at the last recount, so they recount
    // after moving cards, wherever the fresh counts matter.
    void Recount()
    {
        // Most recounts find nothing moved since the last one.
        if (!TalliesCurrent())
            ShowLiveCounts();
    }
    // Whether the tallies show the table as it lies: a recount would change nothing.
    bool TalliesCurrent() const { return live_.Unshown == 0 && LiveCountsHold() && OpponentAsCounted(); }

    int Hand(int rank) const { return Own().HandCount[rank]; }
    int Melds(int column) const { return Own().MeldCount[column]; }
    int Naturals(int rank) const { return OwnMeldRankCount[rank]; }
    int Pile(int rank) const { return DiscardRankCount[rank]; }
    int HMelds(int column) const { return Opp().MeldCount[column]; }
    // Counted only for a level that reads them (CountsOpponentRanks).
    int HNaturals(int rank) const { return OpponentMeldRankCount[rank]; }
    // Jokers, twos and threes in the opponent's hand, counted from the table.
    int OpponentWildsAndThrees() const;
    int Known(int rank) const { return KnownOpponentRankCount[rank]; }
    int Wilds() const { return Hand(0) + Hand(1); }
    int Threes() const { return Hand(2); }
    // The cards in hand, with a card on trial (CardOnTrial).
    int Cards() const { return Own().Hand.Count + cardsOnTrial_; }
    int StockSize() const { return Game.Stock.Count; }
    int PileSize() const { return Game.DiscardPile.Count; }
    int HCards() const { return Opp().Hand.Count; }
    int HMeldCards() const { return Opp().Melds.Count; }
    int CMeldCards() const { return Own().Melds.Count; }
    int Canastas() const { return Own().Canastas.Count; }
    int HCanastas() const { return Opp().Canastas.Count; }
    int Need() const { return Game.Rules.NumberOfCanastas; }
    bool Opened() const { return Own().MeldValue >= 1; }
    bool MinimumReached() const { return Own().MeldValue >= OwnMinimumMeld; }
    bool Frozen() const;
    int FrozenFlag() const { return Frozen() ? 1 : 0; }
    bool StockEmpty() const { return Game.Turn.StockExhausted || Game.Stock.Count == 0; }
    // Points of a card of that rank: 20 for aces, 10 eight..king, 5 four..seven.
    static int Value(int rank)
    {
        if (rank == 0)
            return 50;
        if (rank == 1 || rank == 13)
            return 20;
        if (rank >= 7)
            return 10;
        return 5;
    }
    // Counts one more wild card into a plan: a joker while any are left, else a
    // two. Returns its points.
    static int TakeWildcard(int& jokers, int& twos)
    {
        if (jokers > 0) {
            --jokers;
            return 50;
        }
        --twos;
        return 20;
    }
    // Black threes in the hand, by card identity.
    int BlackThreesInHand() const;
    // Cards in a column of the computer's melds, counted from the table.
    int OwnColumnSize(int column) const;
    // Jokers and twos in a column of the computer's melds, counted from the table.
    int WildsInColumn(int column) const;
    // How many more wild cards a natural column takes before it would hold more
    // wild cards than naturals (the limit every meld is held to); 0 for none.
    int WildcardRoom(int column) const;
    // Index of the first card of that rank in the hand at or after from; -1 for none.
    int FindCardOfRank(int rank, int from = 0) const
    {
        if (HoldsNoneOf(rank))
            return -1;
        // Walked by pointer: the search runs over the hand many times a turn.
        const CardRecord* const first = Own().Hand.Cards.data();
        const CardRecord* const end = first + Own().Hand.Count;
        for (const CardRecord* card = first + std::max(from, 0); card < end; ++card)
            if (card->Rank == rank)
                return static_cast<int>(card - first);
        return -1;
    }
    // Index of the last card of that rank in the hand before before; -1 for none.
    int FindLastCardOfRank(int rank, int before = DeckSize) const;
    // Going out on the pairs in hand; setAside cards (black threes) count as
    // melded with them.
    GoOutPlan PlanGoingOut(int setAside) const;
    // Whether the pile brings a canasta within reach: the first rank, king
    // down, whose hand, pile and melds with the hand's wild cards make seven has
    // a group in hand, or naturals enough beside the wild cards the opening
    // plans for pairs. topInHand is the rank of a top card already counted in
    // the hand, so it counts only once (-1 for none).
    bool CanastaInReach(int topInHand, int plannedWildcards) const;
    // The rules' test whether the computer may take the pile, the same for every
    // level but for when a one-card pile would empty the hand (refuseOneCard).
    bool RulesLetTakePile(const CardRecord& top, bool frozen, bool refuseOneCard);

    // ---- Card operations ----------------------------------------------------
    void AddToHand(CardRecord card, bool animate);
    // Inline: every card melded or discarded leaves the hand here.
    CardRecord RemoveFromHand(int index)
    {
        if (probing_ || index < 0 || index >= Own().Hand.Count)
            RefuseHandRemoval();
        const CardRecord card = Game.TakeFromHand(Me, index);
        live_.OutOfHand(card);
        return card;
    }
    CardRecord MeldFromHand(int index);
    // Melds up to count cards of a rank, first in hand order first; 0 melds all.
    void MeldCardsOfRank(int rank, int count = 0);
    // Melds up to count cards of a rank, last in hand order first; 0 melds all.
    // Returns how many were melded.
    int MeldLastCardsOfRank(int rank, int count = 0);
    // Adds a joker (else a two) from the hand to the meld of that rank; false and
    // an error box when the hand holds neither.
    bool AddWildcardToMeld(int rank);
    // Lays up to count wild cards from the hand onto melds of rank 3 up: first
    // onto those short of a canasta, then onto canastas, each only as far as its
    // room. Wild cards that find no room stay in hand, and so does the last card
    // unless laying it takes the computer out. Returns how many were laid.
    int HandOutWildcards(int count);
    // Whether the hand's last card may go onto the meld in that column: only
    // when the computer then has the canastas to go out, counting the one this
    // card completes. A hand emptied without them could not be played on.
    bool MayLayLastCard(int column) const;
    void MeldPause();
    // A number drawn evenly from [0, 1) for the decisions left to chance.
    double Chance();

    // ---- Steps of the turn --------------------------------------------------
    // Marks the computer's turn, records the human's meld value, computes the minimum.
    void BeginTurn();
    // Draws NumberOfCards cards (and the replacements of red threes with DrawExtra).
    void DrawCards();
    // Pops the top card of the discard pile into the hand, animated.
    CardRecord TakeTopCard();
    // Takes every card left in the discard pile into the hand, top down, animated.
    void TakeRestOfPile();
    // The rule that makes a side take the top card once the stock is gone.
    bool OwnForcedToTake();
    // The stock is gone and nothing is forced: the computer ends the hand.
    void EndHandForEmptyStock();
    void LayDownRedThrees(bool fromEnd);
    // Discards the family's choice, or passes with one card and too few canastas.
    // The choice is asked for only when there is a discard to make.
    template <typename Choose>
    void DiscardStep(Choose&& choose)
    {
        if (MayDiscard())
            Discard(choose());
    }
    // Repaint, end of hand check, and the human's turn begins.
    void FinishTurn();

protected:
    // The two seats of the game, looked up once: the decisions read them all the time.
    Seat& own_;
    Seat& opponent_;
    // Whether the host watches repaint requests: a host that shows nothing
    // (the simulator's, a rehearsal's) is not asked to repaint every card moved.
    const bool repaints_;

    // The counts of the cards as they lie at this moment. A recount runs many
    // times a turn, so instead of counting the cards each time, the frame's own
    // card operations keep these counts up to date as they move a card, and a
    // recount copies them. Cards moved any other way (a discard, which hands the
    // turn over, a new deal, a table laid out by hand) are counted afresh from
    // the table: the counts are marked stale, and the next recount counts.
    struct LiveCounts {
        bool Current = false;
        // The parts whose cards have moved since the decisions' tallies last
        // showed them; none after a recount.
        enum Part : unsigned { HandPart = 1, MeldsPart = 2, PilePart = 4, AllParts = 7 };
        unsigned Unshown = AllParts;
        ColumnCounts HandRanks{};
        ColumnCounts MeldColumns{};
        ColumnCounts MeldRanks{};
        ColumnCounts MeldWilds{};  // jokers and twos per column of the melds
        // What the cards of each column add to the meld value: counted only
        // for a frame whose frozen-pile test reads them (ColumnPointsCounted).
        ColumnCounts MeldColumnPoints{};
        bool ColumnPointsCounted = false;
        ColumnCounts PileRanks{};
        int HandRedThrees = 0;  // of the threes in HandRanks
        // The sizes of the hand, the melds and the discard pile as counted: a
        // table changed behind the frame's back shows itself by another size.
        int HandCards = 0;
        int MeldCards = 0;
        int PileCards = 0;

        // Whether every count is still 0 as built: each change of a count
        // clears it, and the first count of a turn's frame, which finds them
        // all 0, need not empty them again.
        bool AllZero = true;

        // Empties every count before a count from the table, which then sets
        // Current and Unshown. Filled in place: a fresh LiveCounts assigned
        // would be built and then copied.
        void Clear()
        {
            if (AllZero)
                return;
            HandRanks.fill(0);
            MeldColumns.fill(0);
            MeldRanks.fill(0);
            MeldWilds.fill(0);
            MeldColumnPoints.fill(0);
            ColumnPointsCounted = false;
            PileRanks.fill(0);
            HandRedThrees = 0;
            HandCards = 0;
            MeldCards = 0;
            PileCards = 0;
        }
        void IntoHand(const CardRecord& card)
        {
            AllZero = false;
            ++HandRanks[card.Rank];
            ++HandCards;
            HandRedThrees += IsRedThree(card.Id) ? 1 : 0;
            Unshown |= HandPart;
        }
        void OutOfHand(const CardRecord& card)
        {
            AllZero = false;
            --HandRanks[card.Rank];
            --HandCards;
            HandRedThrees -= IsRedThree(card.Id) ? 1 : 0;
            Unshown |= HandPart;
        }
        void OffPile(const CardRecord& card)
        {
            AllZero = false;
            --PileRanks[card.Rank];
            --PileCards;
            Unshown |= PilePart;
        }
        // column is where the card now lies, -1 for outside the columns;
        // points what it adds to the meld value (MeldPoints).
        void OntoMelds(const CardRecord& card, int column, int points)
        {
            AllZero = false;
            ++MeldRanks[card.Rank];
            ++MeldCards;
            if (column >= 0 && column < ColumnCount) {
                ++MeldColumns[column];
                if (IsWild(card.Rank))
                    ++MeldWilds[column];
                MeldColumnPoints[column] += points;
            }
            Unshown |= MeldsPart;
        }
        // Whether the columns of three cards or more add nothing to the meld
        // value: the game's meld value on the table of those columns is 0.
        bool FullColumnsWorthNothing() const
        {
            for (int column = 0; column < ColumnCount; ++column)
                if (MeldColumns[column] >= 3 && MeldColumnPoints[column] != 0)
                    return false;
            return true;
        }
    };
    LiveCounts live_;
    // Whether the hand, by the live counts, holds no card of the rank: a search
    // of the hand for one can be skipped.
    bool HoldsNoneOf(int rank) const
    {
        // The count first: most searches are for a rank the hand holds, and
        // their answer is known without asking whether the counts hold.
        return rank >= 0 && rank < ColumnCount && live_.HandRanks[rank] == 0 && LiveCountsHold();
    }
    // Whether the frozen-pile test reads the frame's own meld columns: the
    // human side's pile stays closed to it until its columns hold a meld value.
    bool FrozenReadsOwnColumns() const
    {
        return Me == Side::Human && Game.Rules.InitialBlock && Game.Rules.InitialBlockForBoth;
    }
    // Whether the hand, by the live counts, holds no red three.
    bool HoldsNoRedThree() const { return LiveCountsHold() && live_.HandRedThrees == 0; }
    // Whether the live counts describe the table as it lies.
    bool LiveCountsHold() const
    {
        return live_.Current && live_.HandCards == Own().Hand.Count && live_.MeldCards == Own().Melds.Count
               && live_.PileCards == Game.DiscardPile.Count;
    }

    // The opponent's cards and what is known of its hand do not change during
    // the turn; they are counted again only when the sizes of its melds or of
    // what is known have changed.
    struct OpponentKey {
        int Melds = -1;
        int Known = -1;
        bool operator==(const OpponentKey&) const = default;
    };
    OpponentKey opponentCounted_;
    // The points of the opponent's columns of three cards or more, as last counted.
    int opponentMeldValue_ = 0;
    bool OpponentAsCounted() const
    {
        return opponentCounted_ == OpponentKey{Opp().Melds.Count, Memory.KnownOpponentCards.Count};
    }
    // Counts what has changed and hands the counts to the tallies.
    void ShowLiveCounts();

    // Counts the frame's own side and the pile, then the opponent.
    void CountLiveFromTable();
    // Counts the opponent's melds (into its seat, as the game's recount of
    // the columns does) and what is known of its hand. The game recounts the
    // hands itself wherever it reads them, so the opponent's hand is counted
    // only where a decision reads it (OpponentWildsAndThrees).
    void CountOpponent();
    // Whether the level reads the opponent's melds by rank (HNaturals) and
    // what is known of its hand (Known); a level that does not leaves them
    // uncounted, at 0.
    virtual bool CountsOpponentRanks() const { return true; }
    // The table is about to change outside the frame's card operations.
    void MarkCountsStale() { live_.Current = false; }
    // A rehearsal's frame plays on an exact copy of this table: it starts from
    // this frame's counts instead of counting the copy.
    void StartFromCountsOf(const TurnFrame& original);

    // A probe runs a melding decision on the real table only to learn whether
    // it would meld anything. Melding moves cards only out of the hand, so the
    // first card the decision would take from the hand (or wild card it would
    // look for, or chance it would draw) answers the probe, before anything on
    // the table has changed. From then on every melding operation and chance
    // does nothing, so the rest of the decision runs through without an effect
    // (stopping it by an exception cost more than the rest of the run).
    bool probing_ = false;
    bool probeWouldMeld_ = false;
    // Whether a probe is running: the operation asking must then do nothing.
    bool ProbeStops()
    {
        if (!probing_)
            return false;
        probeWouldMeld_ = true;
        return true;
    }

    // While a decision tries cards in the hand, the hand as it was comes back
    // (and is recounted) when the trial ends.
    class HandTrial {
    public:
        explicit HandTrial(TurnFrame& turn) : turn_(turn), before_(turn.Own().Hand), countsBefore_(turn.live_) {}
        ~HandTrial()
        {
            turn_.Own().Hand = before_;
            turn_.live_.Current = countsBefore_.Current;
            turn_.live_.HandRanks = countsBefore_.HandRanks;
            turn_.live_.HandCards = countsBefore_.HandCards;
            turn_.live_.HandRedThrees = countsBefore_.HandRedThrees;
            turn_.live_.Unshown |= LiveCounts::HandPart;
            turn_.Recount();
        }
        HandTrial(const HandTrial&) = delete;
        HandTrial& operator=(const HandTrial&) = delete;

    private:
        TurnFrame& turn_;
        CardPile before_;
        LiveCounts countsBefore_;
    };

    // While a decision is tried as if a card were in the hand, the card counts
    // in the hand's tallies and size without moving: the decisions tried so
    // read the hand only through them. A three (whose colour other counts
    // keep), or a card while the tallies do not show the hand, goes into the
    // hand for real for the trial's length.
    class CardOnTrial {
    public:
        CardOnTrial(TurnFrame& turn, const CardRecord& card) : turn_(turn)
        {
            if (turn.TalliesCurrent() && card.Rank > Three && card.Rank < ColumnCount) {
                rank_ = card.Rank;
                ++turn.Own().HandCount[rank_];
                ++turn.cardsOnTrial_;
                return;
            }
            trial_.emplace(turn);
            turn.AddToHand(card, false);
            turn.Recount();
        }
        ~CardOnTrial()
        {
            if (rank_ < 0)
                return;
            --turn_.Own().HandCount[rank_];
            --turn_.cardsOnTrial_;
        }
        CardOnTrial(const CardOnTrial&) = delete;
        CardOnTrial& operator=(const CardOnTrial&) = delete;

    private:
        TurnFrame& turn_;
        int rank_ = -1;  // the rank tallied, -1 for a card really in the hand
        std::optional<HandTrial> trial_;
    };
    int cardsOnTrial_ = 0;

    // Whether the turn has a discard to make; a pass is reported here.
    bool MayDiscard();
    void Discard(const DiscardChoice& choice);

    // A probe taking a card from the hand, or an index outside the hand:
    // reported, and thrown.
    [[noreturn]] void RefuseHandRemoval();

    // Lays a card that has left the hand onto the computer's meld in that
    // column, which held before cards: points, flight, pause, canasta check.
    void PutOnMeld(const CardRecord& card, int fromX, int fromY, int column, int before);
    // MeldFromHand, for the melding loops of this frame.
    CardRecord MeldHandCard(int index);
    // Whether a card's move is shown: flown, or repainted for a host that watches.
    bool ShowsMoves() const { return Settings.Animate || repaints_; }
    // Shows a card's flight and repaints where it left and where it landed; a
    // frame that neither animates nor has a host watching repaints has nothing
    // to do, and most card moves of a silent game end here.
    void Animate(const CardRecord& shown, int fromX, int fromY, int toX, int toY)
    {
        if (ShowsMoves())
            ShowFlight(shown, fromX, fromY, toX, toY);
    }
    void ShowFlight(const CardRecord& shown, int fromX, int fromY, int toX, int toY);
    void RepaintCardAt(int x, int y);
    void RepaintHandRow();
    void RepaintDiscardPile();
    CardRecord DrawOneCard();
};

}  // namespace meldora::ai
