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
#include "core/scoring.h"

namespace meldora::sim {

// Cards counted by face and deck (the two jokers of a deck are alike).
inline constexpr int CardKeyCount = 2 * (JokerId + 1);
// The deck holds at most two cards of a key: a byte each keeps the counts small.
using CardCounts = std::array<std::uint8_t, CardKeyCount>;
CardCounts CountsOf(std::span<const CardRecord> cards);
// Counts the cards into counts already made.
void AddCards(CardCounts& into, std::span<const CardRecord> cards);

// What the referee sees of the table: every pile as cards, and the meld columns.
struct TableView {
    struct SideView {
        std::vector<CardRecord> Hand;
        std::vector<CardRecord> Melds;
        std::array<std::vector<CardRecord>, ColumnCount> Columns;
    };
    std::array<SideView, 2> Sides;
    std::vector<CardRecord> Stock;
    std::vector<CardRecord> DiscardPile;

    static TableView Of(const CanastaGame& game);
    // Looks at the table again for the turn of the moving side, keeping the room
    // of the last look: only the moving side's melds are sorted into columns.
    void Read(const CanastaGame& game, Side moving);
    const SideView& Of(Side side) const { return Sides[side == Side::Human ? 0 : 1]; }

private:
    void ReadSide(const CanastaGame& game, Side side, bool withColumns);
    void ReadCommonPiles(const CanastaGame& game);
};

class Referee {
public:
    explicit Referee(const RuleOptions& rules) : rules_(rules) {}

    // A hand is dealt; the scores are the match scores it starts from, and
    // initialBlock says whether the pile starts frozen.
    void BeginHand(std::int32_t humanScore, std::int32_t computerScore, bool initialBlock);
    void BeginTurn(const CanastaGame& game, Side side);
    // Judges the turn begun last, with the table as the turn left it.
    std::vector<std::string> JudgeTurn(const CanastaGame& game);
    bool TurnOpen() const { return turnOpen_; }
    // Scores the hand from the table as it ended and compares the game's rows.
    std::vector<std::string> JudgeHandScore(const CanastaGame& game, const HandScore& score) const;

    // The points a side's first meld must reach with the given match score.
    static std::int32_t FirstMeldMinimum(std::int32_t score);

private:
    int Index(Side side) const { return side == Side::Human ? 0 : 1; }
    // Meld value over columns of three cards or more, red threes counting nothing.
    static std::int32_t CompleteMeldValue(const TableView::SideView& side);
    static int CanastaCount(const TableView::SideView& side);
    bool PileFrozen(const TableView& table, Side side) const;

    enum class Take { None, Whole, TopCard };
    // One way of explaining what happened to the discard pile in a turn.
    struct Reading {
        Take Kind = Take::None;
        std::span<const CardRecord> Taken;
        std::span<const CardRecord> Discards;
    };
    std::vector<std::string> JudgeReading(const TableView& after, const Reading& reading,
                                          const CardCounts& drawn);
    void JudgeTake(const TableView& after, bool forced, std::vector<std::string>& breaks);
    void JudgeMeldsAtTurnEnd(const TableView::SideView& after, std::vector<std::string>& breaks) const;

    RuleOptions rules_;
    std::array<std::int32_t, 2> minimum_{50, 50};
    std::array<bool, 2> meldedBefore_{};
    bool initialBlockInForce_ = true;

    bool turnOpen_ = false;
    Side side_ = Side::Human;
    TableView before_;
    // The moving side's meld value as the turn began.
    std::int32_t valueBefore_ = 0;
    TableView after_;
};

std::string SideName(Side side);

}  // namespace meldora::sim
