// The score of an ended hand and the result of an ended match, and the pure
// rules that compute them from the table. CanastaGame::ScoreHand and
// EndMatchIfOver apply them to the game and show them through the host.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/card.h"
#include "core/rule_options.h"

namespace meldora {

inline constexpr int MatchTarget = 5000;
inline constexpr int GoingOutBonus = 100;
inline constexpr int ConcealedGoingOutBonus = 200;
inline constexpr int MixedCanastaBonus = 300;
inline constexpr int NaturalCanastaBonus = 500;
inline constexpr int WildcardCanastaBonus = 1000;
inline constexpr int RedThreeOnTable = 100;
inline constexpr int RedThreeInHand = -500;

// The rows of a side's hand score, in the order the details window shows them.
enum ScoreRow { RowTable = 0, RowHand, RowCanastas, RowRedThrees, RowFinish, RowTotal, ScoreRowCount };

struct ScoreLine {
    std::int32_t Number = 0;
    std::int32_t Value = 0;
    bool operator==(const ScoreLine&) const = default;
};

struct SideScore {
    std::array<ScoreLine, ScoreRowCount> Rows{};
    // Scored with its melds and red threes negative and without canasta bonuses.
    bool Penalised = false;

    std::int32_t Total() const { return Rows[RowTotal].Value; }
};

struct HandScore {
    SideScore Human;
    SideScore Computer;
    // Headings of the two sides: the selected player's name or "Player";
    // "Computer" or the network partner's name.
    std::string PlayerName;
    std::string OpponentName;

    std::int32_t Difference() const { return Human.Total() - Computer.Total(); }
};

struct MatchResult {
    std::int32_t HumanScore = 0;
    std::int32_t ComputerScore = 0;
    std::string Comment;
    // "Computer" or the network partner's name, as in labels.
    std::string OpponentName;

    std::int32_t Difference() const { return HumanScore - ComputerScore; }
};

// What a side has on the table and in its hand when the hand ends.
struct SideAtHandEnd {
    const CardPile& Melds;
    const CardPile& Hand;
    const CanastaState& Canastas;
    bool WentOut = false;
    // The side had melded nothing by the end of its previous turn.
    bool MeldedNothingBefore = false;
};

SideScore ScoreSide(const SideAtHandEnd& side, const RuleOptions& rules);

bool MatchIsOver(std::int32_t humanScore, std::int32_t computerScore);

// The game-over comment. playerName is the selected player's name or "Player";
// opponentInSentence is "the computer" or the network partner's name.
std::string MatchComment(std::int32_t difference, const std::string& playerName,
                         const std::string& opponentInSentence);

}  // namespace meldora
