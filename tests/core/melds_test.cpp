#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {


class Melds : public ::testing::Test, public TableFixture {
protected:
    int HandIndexOf(int id) const { return IndexOfCard(game.Human().Hand, id); }
    void Hand(std::initializer_list<int> ids)
    {
        for (int id : ids)
            AddToHumanHand(game, id);
    }
    // Lays the cards into the human's meld column, alternating the decks.
    void MeldColumn(int col, std::initializer_list<int> ids)
    {
        std::uint8_t deck = 0;
        for (int id : ids)
            AddToHumanMelds(game, id, col, deck ^= 1);
    }
    // The cards of one meld column in pile order.
    std::vector<CardRecord> Column(const CardPile& pile, int col) const
    {
        std::vector<CardRecord> cards;
        for (int i = 0; i < pile.Count; ++i)
            if (game.ColumnOf(pile.Cards[i]) == col)
                cards.push_back(pile.Cards[i]);
        return cards;
    }
    // The column's cards and its end lie one step off the base, as a canasta does.
    bool Squared(int col) const
    {
        const CardPile& pile = game.Human().Melds;
        const int y = game.Layout.HumanMeldBase + StackStep;
        const auto cards = Column(pile, col);
        return pile.ColumnEnds[col].Y == y &&
               std::all_of(cards.begin(), cards.end(), [y](const CardRecord& c) { return c.Y == y; });
    }
};

}  // namespace

TEST_F(Melds, CanastasAreSquaredWithTheRightCardOnTop)
{
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King), JokerCard,
                      CardId(Heart, Two), CardId(Spade, Two)});
    game.CheckCanasta(Side::Human, King);
    EXPECT_EQ(game.Human().Canastas.Count, 1);
    EXPECT_EQ(game.Human().Canastas.Kind[King], MixedCanasta);
    EXPECT_TRUE(Squared(King));
    EXPECT_EQ(game.Human().Canastas.NaturalCount[King], 4);
    // A mixed canasta shows its last black natural, which changes places with the column's last card.
    auto cards = Column(game.Human().Melds, King);
    EXPECT_EQ(cards.back().Id, CardId(Club, King));
    EXPECT_EQ(cards[2].Id, CardId(Spade, Two));
    game.CheckCanasta(Side::Human, King);  // counted once only
    EXPECT_EQ(game.Human().Canastas.Count, 1);

    MeldColumn(Queen, {CardId(Heart, Queen), CardId(Diamond, Queen), CardId(Heart, Queen), CardId(Spade, Queen),
                       CardId(Club, Queen), CardId(Spade, Queen), CardId(Club, Queen)});
    game.CheckCanasta(Side::Human, Queen);
    EXPECT_EQ(game.Human().Canastas.Count, 2);
    EXPECT_EQ(game.Human().Canastas.Kind[Queen], NaturalCanasta);
    EXPECT_TRUE(Squared(Queen));
    EXPECT_FALSE(IsBlackSuit(Column(game.Human().Melds, Queen).back().Id));
    EXPECT_EQ(host.Sounds, (std::vector<SoundEvent>{SoundEvent::MixedCanasta, SoundEvent::NaturalCanasta}));
}

TEST_F(Melds, AColumnBecomesACanastaWhateverTheOrderOfItsCards)
{
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), JokerCard, JokerCard, JokerCard, JokerCard});
    AddToHumanHand(game, CardId(Spade, Eight));
    game.CheckCanasta(Side::Human, King);
    EXPECT_EQ(game.Human().Canastas.Count, 0);  // four wild cards to three naturals

    // A fourth natural as the eighth card makes the same mixed canasta as laid before the fourth wild card.
    AddToHumanMelds(game, CardId(Diamond, King));
    game.CheckCanasta(Side::Human, King);
    EXPECT_EQ(game.Human().Canastas.Count, 1);
    EXPECT_EQ(game.Human().Canastas.Kind[King], MixedCanasta);
    EXPECT_EQ(game.Human().Canastas.NaturalCount[King], 4);
    EXPECT_TRUE(Squared(King));

    // Nor is the threes column ever one.
    MeldColumn(Three, {28, 41, 28, 41, 2, 15, 2, 15});
    game.CheckCanasta(Side::Human, Three);
    EXPECT_EQ(game.Human().Canastas.Count, 1);
}

TEST_F(Melds, MeldCheckReportsTheFirstFailingReasonInOrder)
{
    enum Fault { Size = 1, Minimum = 2, Wild = 4, BlackThrees = 8, WildMeld = 16 };
    auto build = [this](int faults) {
        ClearTable(game);
        AddToHumanHand(game, CardId(Heart, Eight));
        // A sound table worth 3 * 10 + 3 * 20 = 90 points.
        MeldColumn(Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Club, Queen)});
        MeldColumn(Ace, {CardId(Spade, Ace), CardId(Spade, Ace), CardId(Heart, Ace)});
        // The short column lies right of the overloaded one: the first fault is
        // the first check's, not the first column's.
        if (faults & Size)
            AddToHumanMelds(game, CardId(Spade, King));
        if (faults & Minimum)
            game.Human().MinimumMeld = 1000;
        if (faults & Wild)
            MeldColumn(Queen, {JokerCard, JokerCard, CardId(Club, Two), CardId(Club, Two)});
        if (faults & BlackThrees)
            AddToHumanMelds(game, CardId(Club, Three));
        if (faults & WildMeld)
            AddToHumanMelds(game, CardId(Heart, Two), 1);
        return game.ValidateMelds(Side::Human);
    };

    // Every fault from the i-th on: the i-th reason is reported.
    const char* reasons[] = {"every column on the table must contain at least three cards",
                             "your first meld must be at least 1000 points (currently 255 points)",
                             "there are too many wildcards within one column",
                             "the Black Threes have not been melded correctly", "wildcards must be melded as a canasta",
                             ""};
    for (int i = 0; i < 6; ++i) {
        const int faults = (Size | Minimum | Wild | BlackThrees | WildMeld) & ~((1 << i) - 1);
        EXPECT_EQ(build(faults), faults == 0);
        EXPECT_EQ(game.Turn.MeldCheckReason, reasons[i]);
    }

    // A pending top card fails the check whatever else holds, unless the caller ignores it.
    build(Size);
    game.Take.TopCardOnTable = true;
    EXPECT_FALSE(game.ValidateMelds(Side::Human));
    EXPECT_EQ(game.Turn.MeldCheckReason, "you have not melded the top card correctly");
    EXPECT_FALSE(game.ValidateMelds(Side::Human, 0, true));
    EXPECT_EQ(game.Turn.MeldCheckReason, "every column on the table must contain at least three cards");
}

TEST_F(Melds, TheMeldCheckCountsTheColumnsAsARecountDoes)
{
    Hand({CardId(Heart, Eight)});
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King)});
    MeldColumn(Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Club, Queen)});
    MeldColumn(King, {CardId(Diamond, King)});  // the column's cards no longer lie together
    // Cards off either edge of the table lie in no column.
    AddToHumanMelds(game, CardId(Spade, Nine));
    game.Human().Melds.Cards[game.Human().Melds.Count - 1].X = game.Layout.ColumnX(ColumnCount);
    AddToHumanMelds(game, JokerCard);
    game.Human().Melds.Cards[game.Human().Melds.Count - 1].X = -4 * game.Layout.ColumnPitch;

    EXPECT_TRUE(game.ValidateMelds(Side::Human));
    const ColumnCounts checked = game.Human().MeldCount;
    EXPECT_EQ(checked[King], 4);
    game.RecountColumns(Side::Human);
    EXPECT_EQ(checked, game.Human().MeldCount);
}

TEST_F(Melds, FirstMeldBelowTheMinimumBlocksTheDiscard)
{
    Hand({CardId(Heart, Eight), CardId(Club, Six)});
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King)});
    AddToHumanMelds(game, CardId(Heart, Three));  // red threes are worth nothing here
    game.DiscardCard(HandIndexOf(CardId(Club, Six)));
    EXPECT_EQ(host.Errors.back(), std::make_pair(4, std::string("Discarding is not possible now: your first meld "
                                                                "must be at least 50 points (currently 40 points)")));
    EXPECT_EQ(game.Human().Hand.Count, 2);

    // Emptying the hand needs the canastas to go out, and then no minimum; nor
    // does a canasta need the minimum when bonuses count.
    EXPECT_FALSE(game.ValidateMelds(Side::Human, 2));
    EXPECT_EQ(game.Turn.MeldCheckReason, "you need a canasta before you can go out");
    game.Human().Canastas.Count = 1;
    EXPECT_TRUE(game.ValidateMelds(Side::Human, 2));
    game.Rules.BonusCounts = true;
    EXPECT_TRUE(game.ValidateMelds(Side::Human));

    for (const auto& [score, minimum] : {std::pair{-20, 15}, {0, 50}, {1499, 50}, {1500, 90}, {2999, 90}, {3000, 120}})
        EXPECT_EQ(MinimumMeld(score), minimum) << score;
}

TEST_F(Melds, BlackThreesAndTheWildcardMeld)
{
    // Black threes leave the hand only to go out, with the canasta that is needed.
    Hand({CardId(Spade, Three), CardId(Club, Three), CardId(Spade, Three), CardId(Heart, Eight)});
    game.Turn.HasDrawn = false;
    game.MeldCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 1);
    game.Turn.HasDrawn = true;
    game.MeldCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 6);
    EXPECT_EQ(game.Human().Melds.Count, 0);
    game.Human().Canastas.Count = 1;
    game.MeldCard(0);
    EXPECT_TRUE(game.Turn.BlackThreesAllowed);
    EXPECT_EQ(game.Human().Melds.Count, 1);

    // The meld check: none on the table while cards are in hand, and three or more to go out.
    ClearTable(game);
    AddToHumanHand(game, CardId(Heart, Eight));
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King)});
    MeldColumn(Three, {CardId(Spade, Three), CardId(Club, Three)});
    game.Human().Canastas.Count = 1;
    EXPECT_FALSE(game.ValidateMelds(Side::Human));
    EXPECT_EQ(game.Turn.MeldCheckReason, "the Black Threes have not been melded correctly");
    EXPECT_FALSE(game.ValidateMelds(Side::Human, 1));  // two are too few even when going out
    AddToHumanMelds(game, CardId(Spade, Three));
    EXPECT_FALSE(game.ValidateMelds(Side::Human));
    EXPECT_TRUE(game.ValidateMelds(Side::Human, 1));

    MeldColumn(1, {JokerCard, JokerCard, CardId(Club, Two), CardId(Club, Two), CardId(Spade, Two), CardId(Spade, Two)});
    EXPECT_FALSE(game.ValidateMelds(Side::Human, 1));
    EXPECT_EQ(game.Turn.MeldCheckReason, "wildcards must be melded as a canasta");
    AddToHumanMelds(game, CardId(Heart, Two), 1);
    EXPECT_TRUE(game.ValidateMelds(Side::Human, 1));
    game.CheckCanasta(Side::Human, 1);
    EXPECT_EQ(game.Human().Canastas.Kind[1], WildcardCanasta);
    EXPECT_EQ(host.Sounds.back(), SoundEvent::NaturalCanasta);
}

TEST_F(Melds, MeldCardMovesTheCardAPairGetsAWildCardAndTheHandIsNotEmptied)
{
    Hand({CardId(Heart, King), CardId(Club, King), CardId(Spade, Two), JokerCard, CardId(Spade, Eight)});
    AppendCard(game.Memory.KnownOpponentCards, game.Human().Hand.Cards[0]);
    game.MeldCard(0);
    ASSERT_EQ(game.Human().Melds.Count, 1);
    const CardRecord melded = game.Human().Melds.Cards[0];
    EXPECT_EQ(game.ColumnOf(melded), King);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 0);
    EXPECT_EQ(host.Sent, (std::vector<std::pair<std::string, std::string>>{{"MELD", "51"}}));
    EXPECT_EQ(game.Undo.Stack.size(), 1);
    EXPECT_EQ(game.Undo.Stack.back().Card, melded);

    game.MeldCard(HandIndexOf(CardId(Club, King)));
    ASSERT_EQ(game.Human().Melds.Count, 3);
    const CardRecord& wild = game.Human().Melds.Cards[2];
    EXPECT_EQ(wild.Id, JokerCard);  // a joker before a two
    EXPECT_EQ(game.ColumnOf(wild), King);
    EXPECT_EQ(host.Sent.back(), std::make_pair(std::string("MELDWILDCARD"), std::string("53\xFE" "12")));

    // With only the wild card left and no canasta, it stays in the hand.
    ClearTable(game);
    Hand({CardId(Heart, Queen), CardId(Club, Queen), JokerCard});
    game.MeldCard(0);
    game.MeldCard(HandIndexOf(CardId(Club, Queen)));
    EXPECT_EQ(game.Human().Melds.Count, 2);
    EXPECT_EQ(game.Human().Hand.Count, 1);
    // Nor does melding a whole rank empty the hand.
    ClearTable(game);
    Hand({CardId(Heart, Queen), CardId(Club, Queen), CardId(Spade, Queen), CardId(Diamond, Queen)});
    game.MeldRank(0, MeldRankMode::All);
    EXPECT_EQ(game.Human().Melds.Count, 3);
    EXPECT_EQ(game.Human().Hand.Count, 1);
}

TEST_F(Melds, AnEighthCardLiesOnTheSquaredCanastaAndAWildCardMakesItMixed)
{
    MeldColumn(King, {CardId(Spade, King), CardId(Heart, King), CardId(Spade, King), CardId(Heart, King),
                      CardId(Diamond, King), CardId(Diamond, King), CardId(Spade, King)});
    game.CheckCanasta(Side::Human, King);
    ASSERT_EQ(game.Human().Canastas.Count, 1);
    Hand({CardId(Club, King), JokerCard, CardId(Heart, Eight)});

    game.MeldCard(0);
    EXPECT_EQ(game.Human().Canastas.Count, 1);
    EXPECT_EQ(game.Human().Canastas.Kind[King], NaturalCanasta);
    EXPECT_TRUE(Squared(King));
    game.AddWildCard(King);
    EXPECT_EQ(game.Human().Canastas.Count, 1);
    EXPECT_EQ(game.Human().Canastas.Kind[King], MixedCanasta);
    EXPECT_TRUE(Squared(King));
    EXPECT_TRUE(IsBlackSuit(Column(game.Human().Melds, King).back().Id));
}

TEST_F(Melds, WildcardMeldErrorsAndModes)
{
    Hand({JokerCard, JokerCard, JokerCard, CardId(Club, Two), CardId(Club, Two), CardId(Spade, Two), CardId(Heart, Eight)});
    game.Rules.WildcardCanasta = false;
    game.MeldWildcards(WildMeldMode::One);
    EXPECT_EQ(host.LastErrorNumber(), 8);  // the rule is named before the count
    game.Rules.WildcardCanasta = true;
    game.MeldWildcards(WildMeldMode::UpToSeven);
    EXPECT_EQ(host.LastErrorNumber(), 7);
    EXPECT_EQ(game.Human().Melds.Count, 0);

    AddToHumanHand(game, CardId(Diamond, Two));
    game.MeldWildcards(WildMeldMode::UpToThree);
    EXPECT_EQ(game.Human().Melds.Count, 3);
    EXPECT_EQ(game.Human().Melds.Cards[0].Id, JokerCard);
    game.MeldWildcards(WildMeldMode::UpToSeven);
    EXPECT_EQ(game.Human().Melds.Count, 7);
    EXPECT_EQ(game.Human().Canastas.Kind[1], WildcardCanasta);
    EXPECT_TRUE(Squared(1));
    EXPECT_EQ(game.Human().Hand.Count, 1);
}

TEST_F(Melds, TheLastCardGoesOnlyIntoACanastaAndThenGoesOut)
{
    MeldColumn(Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Spade, Queen), CardId(Heart, Queen),
                       CardId(Club, Queen)});
    AddToHumanHand(game, JokerCard);
    game.AddWildCard(Queen);
    game.FillCanasta(Queen);  // five cards and one wild card do not reach seven
    EXPECT_EQ(game.Human().Hand.Count, 1);

    AddToHumanMelds(game, CardId(Club, Queen));
    game.AddWildCard(Queen);
    EXPECT_EQ(game.Match.WentOut, HumanWentOut);
    EXPECT_EQ(host.HandScores.size(), 1u);  // and the next hand is dealt
}

// The meld value counts a column only from its third card on, red threes never,
// although they make up the threes column's size; all columns count every card.
TEST_F(Melds, MeldValueCountsColumnsOfThreeAndLeavesRedThreesOut)
{
    MeldColumn(Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Club, Queen)});
    MeldColumn(Ace, {CardId(Spade, Ace), CardId(Heart, Ace)});
    MeldColumn(Three, {CardId(Heart, Three), CardId(Diamond, Three), CardId(Club, Three)});
    EXPECT_EQ(game.ColumnSize(Side::Human, Three), 3);
    EXPECT_EQ(game.MeldValueOnTable(Side::Human, false), 30 + 5);
    EXPECT_EQ(game.MeldValueOnTable(Side::Human, true), 30 + 40 + 5);

    // A card lying right of the last column belongs to no column.
    AddToHumanMelds(game, CardId(Spade, King));
    game.Human().Melds.Cards[game.Human().Melds.Count - 1].X = game.Layout.ColumnX(ColumnCount);
    EXPECT_EQ(game.MeldValueOnTable(Side::Human, false), 30 + 5);
    EXPECT_EQ(game.MeldValueOnTable(Side::Human, true), 30 + 40 + 5 + 10);
    EXPECT_EQ(game.MeldValueOnTable(Side::Computer, false), 0);
}
