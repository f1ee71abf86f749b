#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/card.h"
#include "core/game.h"
#include "support/recording_host.h"

using namespace meldora;

TEST(Cards, RanksAndPoints)
{
    for (int ace : {13, 26, 39, 52})
        EXPECT_EQ(CardRank(ace), 13);
    for (int two : {1, 14, 27, 40})
        EXPECT_EQ(CardRank(two), 1);
    EXPECT_EQ(CardRank(JokerId), 0);
    EXPECT_EQ(CardRank(2), 2);
    EXPECT_EQ(CardRank(12), 12);  // king of spades

    EXPECT_EQ(CardPoints(JokerId), 50);
    EXPECT_EQ(CardPoints(1), 20);   // two
    EXPECT_EQ(CardPoints(13), 20);  // ace
    EXPECT_EQ(CardPoints(2), 5);    // black threes
    EXPECT_EQ(CardPoints(15), 5);
    EXPECT_EQ(CardPoints(28), 0);   // red threes
    EXPECT_EQ(CardPoints(41), 0);
    EXPECT_EQ(CardPoints(6), 5);    // seven
    EXPECT_EQ(CardPoints(7), 10);   // eight
    EXPECT_EQ(CardPoints(12), 10);  // king
}

TEST(Cards, NamesFollowSuitAndFace)
{
    EXPECT_EQ(CardName(0, 0).Name, "spade2");
    EXPECT_EQ(CardName(0, 0).Id, 1);
    EXPECT_EQ(CardName(3, 10).Name, "heartv");
    EXPECT_EQ(CardName(2, 8).Name, "diamond10");
    EXPECT_EQ(CardName(1, 12).Name, "cluba");
    EXPECT_EQ(CardName(1, 12).Id, 26);
    EXPECT_THROW(CardName(4, 0), std::out_of_range);
}

TEST(Piles, AppendPopAndOverflow)
{
    CardPile p;
    for (int i = 0; i < DeckSize; ++i)
        AppendCard(p, MakeCard(1 + i % 52, 0));
    EXPECT_EQ(p.Count, 108);
    EXPECT_THROW(AppendCard(p, MakeCard(1, 0)), std::out_of_range);
    EXPECT_EQ(PopCard(p).Id, 1 + 107 % 52);
    EXPECT_EQ(p.Count, 107);
    CardPile empty;
    EXPECT_THROW(PopCard(empty), std::out_of_range);
}

TEST(Piles, RemoveCardByIdTakesTheLowestIndex)
{
    CardPile p;
    CardRecord a = MakeCard(5, 0), b = MakeCard(9, 0), c = MakeCard(5, 1);
    AppendCard(p, a);
    AppendCard(p, b);
    AppendCard(p, c);
    RemoveCardById(p, 5);
    ASSERT_EQ(p.Count, 2);
    EXPECT_EQ(p.Cards[0].Id, 9);
    EXPECT_EQ(p.Cards[1].Deck, 1);
    RemoveCardById(p, 40);  // absent: nothing happens
    EXPECT_EQ(p.Count, 2);
}

namespace {
// A column of cards laid downwards from base 100 at column x.
CardPile columnPile(int x, int count, int otherX)
{
    CardPile p;
    p.ColumnEnds[4] = {x, 100};
    for (int i = 0; i < count; ++i) {
        CardRecord c = MakeCard(4, 0);  // five of spades, rank 4
        PlaceInColumn(p, true, false, c);
        AppendCard(p, c);
    }
    CardRecord other = MakeCard(8, 0);
    other.X = otherX;
    other.Y = 136;
    AppendCard(p, other);
    return p;
}
}  // namespace

TEST(Piles, PlaceInColumnStepsTwelvePixels)
{
    CardPile p = columnPile(183, 3, 300);
    EXPECT_EQ(p.Cards[0].X, 183);
    EXPECT_EQ(p.Cards[0].Y, 112);
    EXPECT_EQ(p.Cards[2].Y, 136);
    EXPECT_EQ(p.ColumnEnds[4].Y, 136);

    CardPile up;
    up.ColumnEnds[4] = {183, 100};
    CardRecord c = MakeCard(4, 0);
    PlaceInColumn(up, false, false, c);
    EXPECT_EQ(c.Y, 88);
    CardRecord held = MakeCard(4, 0);
    PlaceInColumn(up, false, true, held);
    EXPECT_EQ(held.Y, 88);
    EXPECT_EQ(up.ColumnEnds[4].Y, 88);
}

TEST(Piles, RemoveCardAtClosesTheGapInItsColumnOnly)
{
    CardPile p = columnPile(183, 4, 300);  // y 112, 124, 136, 148; other column card at y 136
    const CardRecord removed = RemoveCardAt(p, 1, +1, false, 4);
    EXPECT_EQ(removed.Y, 124);
    ASSERT_EQ(p.Count, 4);
    EXPECT_EQ(p.Cards[0].Y, 112);
    EXPECT_EQ(p.Cards[1].Y, 124);
    EXPECT_EQ(p.Cards[2].Y, 136);
    EXPECT_EQ(p.Cards[3].X, 300);
    EXPECT_EQ(p.Cards[3].Y, 136);  // other column untouched
    EXPECT_EQ(p.ColumnEnds[4].Y, 136);

    // Upward piles: cards above the removed one move down.
    CardPile up;
    up.ColumnEnds[4] = {183, 200};
    for (int i = 0; i < 3; ++i) {
        CardRecord c = MakeCard(4, 0);
        PlaceInColumn(up, false, false, c);
        AppendCard(up, c);
    }  // y 188, 176, 164
    RemoveCardAt(up, 0, -1, false, 4);
    EXPECT_EQ(up.Cards[0].Y, 188);
    EXPECT_EQ(up.Cards[1].Y, 176);
    EXPECT_EQ(up.ColumnEnds[4].Y, 176);

    // A squared canasta keeps its place.
    CardPile kept = columnPile(183, 3, 300);
    RemoveCardAt(kept, 0, +1, true, 4);
    EXPECT_EQ(kept.Cards[0].Y, 124);
    EXPECT_EQ(kept.ColumnEnds[4].Y, 136);

    EXPECT_THROW(RemoveCardAt(kept, 9, +1, false, 4), std::out_of_range);
}

TEST(Deck, TwoDecksAndFourJokersWithItsDealString)
{
    test::RecordingHost host;
    CanastaGame game(host, nullptr);
    game.Seed(7);
    game.DrawFirst = true;
    game.MakeDeck();
    ASSERT_EQ(game.Stock.Count, 108);

    std::map<int, int> perId;
    std::map<int, int> perDeck;
    for (int i = 0; i < 108; ++i) {
        const CardRecord& c = game.Stock.Cards[i];
        ++perId[c.Id];
        ++perDeck[c.Deck];
        EXPECT_EQ(c.Rank, CardRank(c.Id));
        EXPECT_EQ(c.Points, CardPoints(c.Id));
        EXPECT_FALSE(c.FaceUp);
        EXPECT_EQ(c.X, LeftMargin);
        EXPECT_EQ(c.Y, game.Layout.StockTop);
    }
    for (int id = 1; id <= 52; ++id)
        EXPECT_EQ(perId[id], 2) << id;
    EXPECT_EQ(perId[JokerId], 4);
    EXPECT_EQ(perDeck[0], 54);
    EXPECT_EQ(perDeck[1], 54);

    // "1", then the slot + 1 of every card in the order it was made:
    // deck 0 spade two..heart ace, two jokers, then deck 1 the same.
    ASSERT_EQ(game.DealString.size(), 109u);
    EXPECT_EQ(game.DealString[0], '1');
    std::set<int> slots;
    for (std::size_t i = 1; i < game.DealString.size(); ++i) {
        const int slot = static_cast<unsigned char>(game.DealString[i]) - 1;
        slots.insert(slot);
        const CardRecord& c = game.Stock.Cards[slot];
        const int made = static_cast<int>(i) - 1;
        const int withinDeck = made % 54;
        EXPECT_EQ(c.Deck, made / 54);
        EXPECT_EQ(c.Id, withinDeck < 52 ? withinDeck + 1 : JokerId);
    }
    EXPECT_EQ(slots.size(), 108u);
}

TEST(Layout, DefaultSizeClass)
{
    const TableLayout l = ApplyLayout(0, 640);
    EXPECT_EQ(l.ColumnPitch, 45);
    EXPECT_EQ(l.MiddleLine, 202);
    EXPECT_EQ(l.StockTop, 135);
    EXPECT_EQ(l.DiscardTop, 204);
    EXPECT_EQ(l.HumanMeldBase, 196);
    EXPECT_EQ(l.ComputerMeldBase, 146);
    EXPECT_EQ(l.HumanHandBase, 323);
    EXPECT_EQ(l.ColumnOf(LeftMargin + 5 * 45 + 10), 5);
    const TableLayout big = ApplyLayout(3, 1272);
    EXPECT_EQ(big.CardHeight, 104);
    EXPECT_EQ(big.MiddleLine, 474);
}
