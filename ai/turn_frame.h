// What every computer turn shares, whatever its level: the tallies the decisions
// read, the card operations through which the computer changes the table, and the
// steps of the turn around the family's own decisions (draw, take, discard, the
// hand-over to the human).
#pragma once

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

    // ---- Tallies ------------------------------------------------------------
    void RecountForComputer();

    int Hand(int rank) const { return Game.ComputerHandCount[rank]; }
    int Melds(int column) const { return Game.ComputerMeldCount[column]; }
    int Naturals(int rank) const { return ComputerMeldRankCount[rank]; }
    int Pile(int rank) const { return Game.DiscardRankCount[rank]; }
    int HMelds(int column) const { return Game.HumanMeldCount[column]; }
    int HNaturals(int rank) const { return HumanMeldRankCount[rank]; }
    int Known(int rank) const { return KnownHumanRankCount[rank]; }
    int Wilds() const { return Hand(0) + Hand(1); }
    int Threes() const { return Hand(2); }
    int Cards() const { return Game.ComputerHand.Count; }
    int StockSize() const { return Game.Stock.Count; }
    int PileSize() const { return Game.DiscardPile.Count; }
    int HCards() const { return Game.HumanHand.Count; }
    int HMeldCards() const { return Game.HumanMelds.Count; }
    int CMeldCards() const { return Game.ComputerMelds.Count; }
    int Canastas() const { return Game.ComputerCanastas.Count; }
    int HCanastas() const { return Game.HumanCanastas.Count; }
    int Need() const { return Game.Rules.NumberOfCanastas; }
    bool Opened() const { return Game.ComputerMeldValue >= 1; }
    bool Frozen() const;
    int FrozenFlag() const { return Frozen() ? 1 : 0; }
    bool StockEmpty() const { return Game.StockExhausted || Game.Stock.Count == 0; }
    // Points of a card of that rank: 20 for aces, 10 eight..king, 5 four..seven.
    static int Value(int rank);
    // Black threes in the hand, by card identity.
    int BlackThreesInHand() const;
    // Cards in a column of the computer's melds, counted from the table.
    int ComputerColumnSize(int column) const;
    // Jokers and twos in a column of the computer's melds, counted from the table.
    int WildsInColumn(int column) const;
    // How many more wild cards a natural column takes before it would hold more
    // wild cards than naturals (the limit every meld is held to); 0 for none.
    int WildcardRoom(int column) const;

    // ---- Card operations ----------------------------------------------------
    void AddToComputerHand(CardRecord card, bool animate);
    CardRecord RemoveFromComputerHand(int index);
    CardRecord MeldFromComputerHand(int index);
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
    void Animate(const CardRecord& shown, int fromX, int fromY, int toX, int toY);
    void RepaintCardAt(int x, int y);
    void RepaintHandRow();
    void RepaintDiscardPile();
    CardRecord DrawOneCard();
};

}  // namespace meldora::ai
