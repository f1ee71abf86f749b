// An umpire at the simulated table. It knows the rules of the game, not how
// the game carries them out: it looks at the table when a turn begins and when
// it ends and judges what happened in between from the cards alone, and it
// scores every hand again from the cards and compares row by row.
//
// Each judgement is a list of sentences, empty when nothing is wrong.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/layout.h"
#include "core/scoring.h"
#include "tools/sim/card_counts.h"

namespace meldora::sim {

// What the referee copies of the table as a turn begins. The piles keep their
// cards in fixed places, so a look copies only the cards in play and allocates
// nothing; the column ends are not copied. The moving side's melds are not
// copied here: the referee keeps a copy of each side's melds already, to count
// them by (see CountedMelds), and the other side's melds are copied only when
// that copy cannot stand for them.
struct TableView {
    std::array<CardPile, 2> Hands;
    // The melds of the side that is not moving (when copied).
    CardPile OtherMelds;
    CardPile Stock;
    CardPile DiscardPile;
    TableLayout Layout;

    const CardPile& HandOf(Side side) const { return Hands[side == Side::Human ? 0 : 1]; }
    CardPile& HandOf(Side side) { return Hands[side == Side::Human ? 0 : 1]; }
};

// What one meld column holds, counted in a single pass over a side's melds.
struct ColumnTally {
    int Size = 0;
    int Naturals = 0;
    // Cards whose rank is the column's own (naturals of that rank, or twos in
    // the wild-card column, or threes among the threes).
    int OfColumnRank = 0;
    int BlackThrees = 0;
    // What the column's cards are worth, red threes counting nothing.
    std::int32_t Value = 0;
};
using MeldColumns = std::array<ColumnTally, ColumnCount>;
MeldColumns TallyColumns(const CardPile& melds, const TableLayout& layout);

class Referee {
public:
    explicit Referee(const RuleOptions& rules) : rules_(rules) {}

    // A hand is dealt; the scores are the match scores it starts from, and
    // initialBlock says whether the pile starts frozen.
    void BeginHand(std::int32_t humanScore, std::int32_t computerScore, bool initialBlock);
    void BeginTurn(const CanastaGame& game, Side side);
    // The table was changed outside any turn (by a test, say): the next turn
    // begins from a fresh copy of every pile.
    void TableChangedBetweenTurns() { carried_ = {}; }
    // Judges the turn begun last, with the table as the turn left it.
    std::vector<std::string> JudgeTurn(const CanastaGame& game);
    bool TurnOpen() const { return turnOpen_; }
    // The discard pile and the moving side's melds as the turn begun last began
    // (until the next turn of that side begins).
    const CardPile& DiscardPileAtTurnStart() const { return before_.DiscardPile; }
    const CardPile& MeldsAtTurnStart() const
    {
        const CountedMelds& counted = counted_[Index(side_)];
        return meldsChanged_ ? counted.Previous().Melds : counted.Now().Melds;
    }
    // What the judgement of the turn begun last found left as it was, and the
    // meld cards it found moved (until the next turn begins).
    const TurnPilesAlike& PilesAlikeAfterTurn() const { return alikeAfterTurn_; }
    // Scores the hand from the table as it ended and compares the game's rows.
    std::vector<std::string> JudgeHandScore(const CanastaGame& game, const HandScore& score) const;

    // Grows each time the referee finds a side's melds changed, card for card:
    // right after BeginTurn for the side, an unchanged number means the side's
    // melds are the very cards they were when the number was read last.
    std::uint64_t MeldsVersion(Side side) const { return counted_[Index(side)].Version; }

    // The points a side's first meld must reach with the given match score.
    static std::int32_t FirstMeldMinimum(std::int32_t score);

private:
    int Index(Side side) const { return side == Side::Human ? 0 : 1; }
    static Side Opponent(Side side) { return side == Side::Human ? Side::Computer : Side::Human; }
    // The other side's melds as the turn began.
    const CardPile& OtherMeldsBefore() const
    {
        return otherMeldsCounted_ ? counted_[Index(Opponent(side_))].Now().Melds : before_.OtherMelds;
    }
    static int CanastaCount(const MeldColumns& columns);

    // A side's meld columns and what the rules read off them, worked out again
    // only when the columns change, and then only for the columns that changed.
    struct MeldSummary {
        MeldColumns Columns{};
        // Meld value over columns of three cards or more, red threes counting nothing.
        std::int32_t CompleteValue = 0;
        int Canastas = 0;
        // One bit per column the end-of-turn checks find fault with when the
        // side holds no cards, or (the threes) that holds black threes.
        std::uint16_t UnsoundColumns = 0;
        // The end-of-turn checks of the columns find nothing, however many cards
        // the side holds (it has no black threes laid out).
        bool ColumnsSound() const { return UnsoundColumns == 0; }
    };
    // The summary of a side's melds, brought up to date from the melds counted
    // last for that side by the cards that differ.
    const MeldSummary& SummaryOf(Side side, const CardPile& melds, const TableLayout& layout);
    // The same, for melds known to differ from those counted last (or laid out anew).
    const MeldSummary& Recount(Side side, const CardPile& melds, const TableLayout& layout);
    // Works out what the rules read off freshly counted columns.
    void Summarise(MeldSummary& summary) const;
    // Brings a summary up to date for the columns marked in changed (a bit per
    // column), which held previous when the summary was last brought up to date.
    void Resummarise(MeldSummary& summary, const MeldColumns& previous, std::uint32_t changed) const;
    // A side's meld columns: those counted last while the melds are still those
    // cards (the hand's last turns have nearly always counted them), otherwise counted afresh.
    MeldColumns ColumnsOf(Side side, const CardPile& melds, const TableLayout& layout) const;
    // The moving side's melds as the turn left them (after JudgeTurn has looked).
    const MeldSummary& MeldsAfter() const { return counted_[Index(side_)].Now().Summary; }
    // The moving side's melds as the turn began (after JudgeTurn has looked).
    const MeldSummary& MeldsBefore() const
    {
        const CountedMelds& counted = counted_[Index(side_)];
        return meldsChanged_ ? counted.Previous().Summary : counted.Now().Summary;
    }
    bool PileFrozen(const CardPile& discardPile, const MeldSummary& melds) const;

    enum class Take { None, Whole, TopCard };
    // One way of explaining what happened to the discard pile in a turn.
    struct Reading {
        Take Kind = Take::None;
        std::span<const CardRecord> Taken;
        std::span<const CardRecord> Discards;
    };
    // The cards drawn from the stock: the top cards of the stock as it was when
    // the rest lies as it lay (nearly always), counted otherwise.
    struct Draw {
        std::span<const CardRecord> FromTop;
        bool Counted = false;
        // Filled key by key, and read, only when Counted: most turns never touch it.
        CardCounts Counts;
        int Cards = 0;
        int RedThrees = 0;
    };
    // meldsKept: the moving side's melds are as the turn found them, card for card.
    std::vector<std::string> JudgeReading(const CanastaGame& after, const Reading& reading, const Draw& drawn,
                                          bool meldsKept);
    void JudgeTake(const CanastaGame& after, bool forced, bool meldsKept, std::vector<std::string>& breaks);
    // How many more cards with the key of like the count of the moving side's
    // melds found added to the column than taken from it (when Known).
    int CopiesMovedIntoColumn(int column, const CardRecord& like) const;
    void JudgeColumns(const MeldColumns& columns, int handCount, std::vector<std::string>& breaks) const;
    void JudgeColumn(int column, const ColumnTally& cards, int handCount, std::vector<std::string>& breaks) const;
    // The checks of one column find nothing when the side holds no cards.
    bool ColumnSound(int column, const ColumnTally& cards) const;
    // Hands each fault the checks find with one column to report, as a callable
    // that words it: the wording is built only when it is wanted.
    template <typename Report>
    void ForEachColumnFault(int column, const ColumnTally& cards, int handCount, Report&& report) const;

    RuleOptions rules_;
    std::array<std::int32_t, 2> minimum_{50, 50};
    std::array<bool, 2> meldedBefore_{};
    bool initialBlockInForce_ = true;

    bool turnOpen_ = false;
    Side side_ = Side::Human;
    TableView before_;
    // The other side's melds as the turn began are the count kept for that side.
    bool otherMeldsCounted_ = false;
    // What the judgement of the last turn found alike, byte for byte, in the
    // table as that turn began and as it ended: the other side's turn, next,
    // begins from those copies instead of copying the piles again, when they
    // hold as many cards as that turn left them. (A card that moved between
    // the turns is then judged with the next turn.) The moving side's melds
    // as it left them are the count kept for that side.
    struct CarriedOver {
        bool Valid = false;
        Side NextSide = Side::Human;
        // The next side's hand (it did not move in the last turn).
        bool Hand = false;
        int HandCount = 0;
        // The stock, below the cards drawn.
        bool Stock = false;
        int StockCount = 0;
        // The next side's melds are the count kept for that side.
        bool Melds = false;
        int MeldsCount = 0;
    };
    CarriedOver carried_;
    TurnPilesAlike alikeAfterTurn_;
    // The turn changed the moving side's melds: their count as the turn began
    // is the previous one of that side (otherwise the one counted last stands for both).
    bool meldsChanged_ = false;
    // The moving side's meld value as the turn began.
    std::int32_t valueBefore_ = 0;

    // Per side, the melds last counted into columns and what the count gave:
    // most turns leave most melds as they were. The count before the last one
    // is kept beside it, so that the melds as a turn began need no copy of
    // their own: a new count takes the other place and the two swap roles.
    struct CountedMelds {
        struct Count {
            CardPile Melds;
            MeldSummary Summary;
        };
        std::array<Count, 2> Counts;
        int Latest = 0;
        int ColumnPitch = 0;
        bool Valid = false;
        std::uint64_t Version = 0;

        const Count& Now() const { return Counts[Latest]; }
        const Count& Previous() const { return Counts[1 - Latest]; }
    };
    std::array<CountedMelds, 2> counted_;
    // The meld cards a side's count brought up to date card by card last took
    // away (-1) and added (+1), by key and column: the moving side's melds need
    // no second walk for the balance of the turn's cards.
    struct MovedMeldCards {
        int TakenAway = 0;
        bool Known = false;
        std::array<MovedMeldCard, 2 * DeckSize> Cards;
        int Count = 0;
    };
    MovedMeldCards meldCardsMoved_;
};

std::string SideName(Side side);

}  // namespace meldora::sim
