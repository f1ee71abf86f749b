// Helpers for the tests of the computer's levels: a table for one level's decisions.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

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
    int ColumnSize(const CardPile& pile, int column) const { return CountInColumn(game, pile, column); }
    int WildsInColumn(const CardPile& pile, int column) const
    {
        int n = 0;
        for (int i = 0; i < pile.Count; ++i)
            n += game.ColumnOf(pile.Cards[i]) == column && IsWild(pile.Cards[i].Rank);
        return n;
    }
};

}  // namespace meldora::test
