// Helpers for the tests of the Advanced and Beginner levels: a table for one
// level's decisions, and whole hands against a scripted human.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/computer_player.h"
#include "support/table_builder.h"

namespace meldora::test {

// A cleared table and one level's turn on it; no flights, no pauses.
template <class Turn>
struct FamilyTable : TableFixture {
    ai::ComputerSettings ai{ai::Beginner, 50, 0, false};
    Turn turn{game, ai};

    explicit FamilyTable(std::uint8_t level = ai::Beginner) { ai.Level = level; }
    void Play() { ai::RunComputerTurn(game, ai); }

    void Hand(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToHand(game, id);
    }
    void Melds(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToComputerMelds(game, id);
    }
    void Pile(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToDiscardPile(game, id);
    }
    void Stock(int cards)
    {
        for (int i = 0; i < cards; ++i)
            AddToStock(game, CardId(Club, 3 + i % 10));
    }
    void HumanHolds(int cards)
    {
        for (int i = 0; i < cards; ++i)
            AddToHumanHand(game, CardId(Spade, 3 + i % 11));
    }
    // Seven naturals of a rank: a canasta of the computer's, opened with its points.
    void ComputerCanasta(int rank)
    {
        for (int i = 0; i < 7; ++i)
            AddToComputerMelds(game, CardId(i % 2 ? Heart : Diamond, rank));
        game.Computer().MeldValue += 7 * CardPoints(CardId(Heart, rank));
        game.CheckCanasta(Side::Computer, rank);
    }
    void Ready()
    {
        game.RecountColumns();
        turn.Recount();
    }
    int ChosenRank()
    {
        const ai::DiscardChoice choice = turn.ChooseDiscard();
        return game.Computer().Hand.Cards[choice.HandIndex].Rank;
    }
    int ColumnSize(const CardPile& pile, int column) const
    {
        int n = 0;
        for (int i = 0; i < pile.Count; ++i)
            n += game.ColumnOf(pile.Cards[i]) == column;
        return n;
    }
    int WildsInColumn(const CardPile& pile, int column) const
    {
        int n = 0;
        for (int i = 0; i < pile.Count; ++i)
            n += game.ColumnOf(pile.Cards[i]) == column && IsWild(pile.Cards[i].Rank);
        return n;
    }
};

// Whole hands against a scripted human who draws and discards its first card.
// After every move all 108 cards lie in exactly one pile, the computer's melds
// are legal, and its first meld of a hand reaches the minimum unless it goes out
// or holds a canasta while canastas count for the opening.
class SoakHost : public RecordingHost {
public:
    std::function<void()> OnHandScored;
    void ShowHandScore(const HandScore& score) override
    {
        RecordingHost::ShowHandScore(score);
        if (OnHandScored)
            OnHandScored();
    }
};

class ScriptedSoak {
public:
    SoakHost host;
    MemorySettings settings;
    CanastaGame game{host, &settings};
    ai::ComputerSettings ai;
    std::vector<std::string> Faults;
    int ComputerTurns = 0;

    ScriptedSoak(std::uint8_t level, std::uint32_t seed, const RuleOptions& rules)
    {
        game.Seed(seed);
        game.Rules = rules;
        game.Match.DrawFirst = seed % 2 == 0;
        ai = {level, 50, 0, false};
        host.OnComputerTurn = [this] {
            // A turn that ends the hand may deal into another computer turn: a stack.
            turns_.push_back({host.HandScores.size(), game.Computer().MeldValue, MinimumMeld(game.Computer().Score)});
            ai::RunComputerTurn(game, ai);
            const TurnWatch turn = turns_.back();
            turns_.pop_back();
            ++ComputerTurns;
            CheckFirstMeld(turn);
            Check("after a computer turn");
        };
        host.OnHandScored = [this] {
            for (TurnWatch& turn : turns_) {
                if (!turn.HandEnded && turn.Hand + 1 == host.HandScores.size()) {
                    turn.HandEnded = true;
                    turn.Value = game.Computer().MeldValue;
                    turn.Exempt = game.Match.WentOut == ComputerWentOut || CanastaCountsForOpening();
                }
            }
            Check("at the end of a hand");
        };
    }

    // False when the table stopped moving before that many hands were scored.
    bool PlayHands(std::size_t hands)
    {
        game.NewGame();
        for (int moves = 0; moves < 5000 * static_cast<int>(hands); ++moves) {
            if (host.HandScores.size() >= hands)
                return true;
            HumanMove();
        }
        return false;
    }

private:
    struct TurnWatch {
        std::size_t Hand = 0;  // hands scored when the turn began
        std::int32_t Before = 0;
        std::int32_t Minimum = 0;
        bool HandEnded = false;  // then Value and Exempt are taken as the hand ended
        std::int32_t Value = 0;
        bool Exempt = false;
    };
    std::vector<TurnWatch> turns_;

    bool CanastaCountsForOpening() const { return game.Rules.BonusCounts && game.Computer().Canastas.Count >= 1; }

    void CheckFirstMeld(TurnWatch turn)
    {
        if (!turn.HandEnded) {
            turn.Value = game.Computer().MeldValue;
            turn.Exempt = CanastaCountsForOpening();
        }
        if (turn.Before == 0 && turn.Value > 0 && turn.Value < turn.Minimum && !turn.Exempt)
            Fault("in its turn", "first meld of " + std::to_string(turn.Value) + " points below the minimum "
                                     + std::to_string(turn.Minimum));
    }

    void HumanMove()
    {
        if (game.Turn.Phase == TurnPhase::Draw && game.Turn.StockExhausted)
            game.EndHandClick();
        else if (game.Turn.Phase == TurnPhase::Draw || game.Turn.Phase == TurnPhase::SecondCard)
            game.DrawFromStock();
        else if (game.Turn.Phase == TurnPhase::MeldDiscard && game.Human().Hand.Count > 0)
            game.DiscardCard(0);
        Check("after a human move");
    }

    void Fault(const std::string& when, const std::string& what)
    {
        if (Faults.size() < 20)
            Faults.push_back(what + " " + when + " (computer turn " + std::to_string(ComputerTurns) + ")");
    }

    void Check(const std::string& when)
    {
        std::array<std::array<int, JokerId + 1>, 2> seen{};
        int total = 0;
        for (const CardPile* pile : {&game.Stock, &game.DiscardPile, &game.Computer().Hand, &game.Human().Hand,
                                     &game.Computer().Melds, &game.Human().Melds}) {
            for (int i = 0; i < pile->Count; ++i) {
                const CardRecord& c = pile->Cards[i];
                if (c.Deck < 2 && c.Id >= 1 && c.Id <= JokerId)
                    ++seen[c.Deck][c.Id];
                else
                    Fault(when, "card " + std::to_string(c.Id) + "/" + std::to_string(c.Deck) + " on the table");
            }
            total += pile->Count;
        }
        if (total != DeckSize)
            Fault(when, std::to_string(total) + " cards on the table");
        for (int deck = 0; deck < 2; ++deck) {
            for (int id = 1; id <= JokerId; ++id) {
                const int expected = id == JokerId ? 2 : 1;
                if (seen[deck][id] != expected)
                    Fault(when, "card " + std::to_string(id) + "/" + std::to_string(deck) + " seen "
                                    + std::to_string(seen[deck][id]) + " times");
            }
        }
        for (int column = 3; column < ColumnCount; ++column) {
            int naturals = 0;
            int wild = 0;
            for (int i = 0; i < game.Computer().Melds.Count; ++i) {
                const CardRecord& c = game.Computer().Melds.Cards[i];
                if (game.ColumnOf(c) != column)
                    continue;
                if (IsWild(c.Rank))
                    ++wild;
                else if (c.Rank == column)
                    ++naturals;
                else
                    Fault(when, "a card of rank " + std::to_string(c.Rank) + " in column " + std::to_string(column));
            }
            if (naturals + wild > 0 && (naturals + wild < 3 || wild > naturals))
                Fault(when, "computer meld " + std::to_string(column) + " of " + std::to_string(naturals)
                                + " naturals and " + std::to_string(wild) + " wild cards");
        }
        for (const RecordedMessage& m : host.Messages)
            if (m.Kind == MessageKind::Error || m.Kind == MessageKind::Warning)
                Fault(when, "message \"" + m.Text + "\"");
        host.Messages.clear();
    }
};

inline std::string Describe(const std::vector<std::string>& faults)
{
    std::ostringstream out;
    for (const std::string& f : faults)
        out << f << "\n";
    return out.str();
}

// Two canastas required, the top card not counting, no natural pair, red threes block.
inline RuleOptions TwoRequiredRules()
{
    RuleOptions r;
    r.CanastaRequired = true;
    r.NumberOfCanastas = 2;
    r.TopCardCounts = false;
    r.NaturalPair = false;
    r.ThreeBlock = true;
    return r;
}

// Ten hands under each of the defaults, Hoyle's rules and TwoRequiredRules.
inline void ExpectCleanSoak(std::uint8_t level)
{
    const RuleOptions variants[] = {RuleOptions{}, HoyleRules(), TwoRequiredRules()};
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        ScriptedSoak soak(level, seed, variants[seed - 1]);
        bool finished = false;
        EXPECT_NO_THROW(finished = soak.PlayHands(10));
        EXPECT_TRUE(finished) << "seed " << seed;
        EXPECT_TRUE(soak.Faults.empty()) << "seed " << seed << "\n" << Describe(soak.Faults);
        EXPECT_GT(soak.ComputerTurns, 100);
    }
}

}  // namespace meldora::test
