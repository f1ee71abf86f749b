#include <gtest/gtest.h>

#include <set>

#include "core/card.h"
#include "core/column_runs.h"
#include "core/game.h"
#include "support/recording_host.h"

using namespace meldora;

TEST(Piles, AppendPopRemoveAndOverflow)
{
    CardPile p;
    for (int i = 0; i < DeckSize; ++i)
        AppendCard(p, MakeCard(1 + i % 52, i / 52 % 2));
    EXPECT_THROW(AppendCard(p, MakeCard(1, 0)), std::out_of_range);
    EXPECT_EQ(PopCard(p).Id, 1 + 107 % 52);
    RemoveCardById(p, 5);  // the lowest index goes: the deck-0 five of spades
    ASSERT_EQ(p.Count, 106);
    EXPECT_EQ(p.Cards[4].Id, 6);
    EXPECT_EQ(p.Cards[51].Id, 1);
    EXPECT_EQ(p.Cards[51].Deck, 1);
    RemoveCardById(p, 99);  // absent: nothing happens
    EXPECT_EQ(p.Count, 106);
    CardPile empty;
    EXPECT_THROW(PopCard(empty), std::out_of_range);
    // A removal refused for its column leaves the pile as it was.
    EXPECT_THROW(RemoveCardAt(p, 0, 1, false, ColumnCount), std::out_of_range);
    EXPECT_EQ(p.Count, 106);
}

TEST(Piles, ACardTakenFromAColumnClosesItsGapThere)
{
    // Two columns stacked downwards, interleaved in the pile: column 1 holds
    // records 0, 1 and 3, column 2 holds record 2.
    CardPile p;
    for (const int column : {1, 1, 2, 1}) {
        CardRecord c = MakeCard(1 + p.Count, 0);
        c.X = 100 * column;
        p.ColumnEnds[column].Y += StackStep;
        c.Y = p.ColumnEnds[column].Y;
        AppendCard(p, c);
    }
    const CardPile before = p;

    const CardRecord removed = RemoveCardAt(p, 0, +1, false, 1);
    EXPECT_EQ(removed.Id, before.Cards[0].Id);
    ASSERT_EQ(p.Count, 3);
    EXPECT_EQ(p.Cards[0].Y, before.Cards[1].Y - StackStep);
    EXPECT_EQ(p.Cards[1], before.Cards[2]);  // the other column stays
    EXPECT_EQ(p.Cards[2].Y, before.Cards[3].Y - StackStep);
    EXPECT_EQ(p.ColumnEnds[1].Y, before.ColumnEnds[1].Y - StackStep);
}

TEST(Deck, TwoDecksAndFourJokersWithItsDealString)
{
    test::RecordingHost host;
    CanastaGame game(host, nullptr);
    game.Seed(7);
    game.Match.DrawFirst = true;
    game.MakeDeck();
    ASSERT_EQ(game.Stock.Count, 108);

    // Every card once: "1", then the slot + 1 of every card in the order it was made:
    // deck 0 spade two..heart ace, two jokers, then deck 1 the same.
    ASSERT_EQ(game.Match.DealString.size(), 109u);
    EXPECT_EQ(game.Match.DealString[0], '1');
    std::set<int> slots;
    for (int made = 0; made < 108; ++made) {
        const int slot = static_cast<unsigned char>(game.Match.DealString[made + 1]) - 1;
        slots.insert(slot);
        const CardRecord& c = game.Stock.Cards[slot];
        EXPECT_EQ(c.Deck, made / 54);
        EXPECT_EQ(c.Id, made % 54 < 52 ? made % 54 + 1 : JokerId);
        EXPECT_FALSE(c.FaceUp);
    }
    EXPECT_EQ(slots.size(), 108u);
}


// A column's range of x must agree with the division it replaces everywhere,
// also left of the margin, where the division truncates towards zero.
TEST(ColumnSpan, HoldsExactlyTheCardsColumnOfPutsInTheColumn)
{
    for (const int pitch : {1, 45, 57, 91}) {
        TableLayout layout;
        layout.ColumnPitch = pitch;
        for (int column = -2; column <= ColumnCount + 1; ++column) {
            const ColumnSpan span(layout, column);
            int disagreements = 0;
            for (int x = -300; x <= 1600; ++x) {
                CardRecord card;
                card.X = x;
                disagreements += span.Holds(card) != (layout.ColumnOf(x) == column) ? 1 : 0;
            }
            EXPECT_EQ(disagreements, 0) << "pitch " << pitch << ", column " << column;
        }
    }
}
