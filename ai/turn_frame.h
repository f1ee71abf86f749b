// What every computer turn shares, whatever its level: the tallies the decisions
// read, the card operations through which the computer changes the table, and the
// steps of the turn around the family's own decisions (draw, take, discard, the
// hand-over to the human).
#pragma once

#include <array>
#include <functional>

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

    // Values of the computer player that live for one turn.
    int ComputerMinimumMeld = 50;
    bool HumanHoarding = false;
    ColumnCounts ComputerMeldRankCount{};
    ColumnCounts HumanMeldRankCount{};
    ColumnCounts KnownHumanRankCount{};
    ColumnCounts DiscardRankCount{};

    // ---- Tallies ------------------------------------------------------------
    void RecountForComputer();

    int Hand(int rank) const { return Game.Computer().HandCount[rank]; }
    int Melds(int column) const { return Game.Computer().MeldCount[column]; }
    int Naturals(int rank) const { return ComputerMeldRankCount[rank]; }
    int Pile(int rank) const { return DiscardRankCount[rank]; }
    int HMelds(int column) const { return Game.Human().MeldCount[column]; }
    int HNaturals(int rank) const { return HumanMeldRankCount[rank]; }
    int Known(int rank) const { return KnownHumanRankCount[rank]; }
    int Wilds() const { return Hand(0) + Hand(1); }
    int Threes() const { return Hand(2); }
    int Cards() const { return Game.Computer().Hand.Count; }
    int StockSize() const { return Game.Stock.Count; }
    int PileSize() const { return Game.DiscardPile.Count; }
    int HCards() const { return Game.Human().Hand.Count; }
    int HMeldCards() const { return Game.Human().Melds.Count; }
    int CMeldCards() const { return Game.Computer().Melds.Count; }
    int Canastas() const { return Game.Computer().Canastas.Count; }
    int HCanastas() const { return Game.Human().Canastas.Count; }
    int Need() const { return Game.Rules.NumberOfCanastas; }
    bool Opened() const { return Game.Computer().MeldValue >= 1; }
    bool MinimumReached() const { return Game.Computer().MeldValue >= ComputerMinimumMeld; }
    bool Frozen() const;
    int FrozenFlag() const { return Frozen() ? 1 : 0; }
    bool StockEmpty() const { return Game.Turn.StockExhausted || Game.Stock.Count == 0; }
    // Points of a card of that rank: 20 for aces, 10 eight..king, 5 four..seven.
    static int Value(int rank);
    // Counts one more wild card into a plan: a joker while any are left, else a
    // two. Returns its points.
    static int TakeWildcard(int& jokers, int& twos);
    // Black threes in the hand, by card identity.
    int BlackThreesInHand() const;
    // Cards in a column of the computer's melds, counted from the table.
    int ComputerColumnSize(int column) const;
    // Jokers and twos in a column of the computer's melds, counted from the table.
    int WildsInColumn(int column) const;
    // How many more wild cards a natural column takes before it would hold more
    // wild cards than naturals (the limit every meld is held to); 0 for none.
    int WildcardRoom(int column) const;
    // Index of the first (or last) card of that rank in the hand; -1 for none.
    int FindCardOfRank(int rank) const;
    int FindLastCardOfRank(int rank) const;
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
    void AddToComputerHand(CardRecord card, bool animate);
    CardRecord RemoveFromComputerHand(int index);
    CardRecord MeldFromComputerHand(int index);
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
    bool ComputerForcedToTake();
    // The stock is gone and nothing is forced: the computer ends the hand.
    void EndHandForEmptyStock();
    void LayDownRedThrees(bool fromEnd);
    // Discards the family's choice, or passes with one card and too few canastas.
    void DiscardStep(const std::function<DiscardChoice()>& choose);
    // Repaint, end of hand check, and the human's turn begins.
    void FinishTurn();

protected:
    // While a decision tries cards in the hand, the hand as it was comes back
    // (and is recounted) when the trial ends.
    class HandTrial {
    public:
        explicit HandTrial(TurnFrame& turn) : turn_(turn), before_(turn.Game.Computer().Hand) {}
        ~HandTrial()
        {
            turn_.Game.Computer().Hand = before_;
            turn_.RecountForComputer();
        }
        HandTrial(const HandTrial&) = delete;
        HandTrial& operator=(const HandTrial&) = delete;

    private:
        TurnFrame& turn_;
        CardPile before_;
    };

    // Lays a card that has left the hand onto the computer's meld in that
    // column, which held before cards: points, flight, pause, canasta check.
    void PutOnComputerMeld(const CardRecord& card, int fromX, int fromY, int column, int before);
    void Animate(const CardRecord& shown, int fromX, int fromY, int toX, int toY);
    void RepaintCardAt(int x, int y);
    void RepaintHandRow();
    void RepaintDiscardPile();
    CardRecord DrawOneCard();
};

}  // namespace meldora::ai
