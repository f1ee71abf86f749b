#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int Ace = 13, King = 12, Queen = 11, Eight = 7, Six = 5, Three = 2, Two = 1;

int handIndexOf(const CanastaGame& game, int id)
{
    for (int i = 0; i < game.HumanHand.Count; ++i)
        if (game.HumanHand.Cards[i].Id == id)
            return i;
    return -1;
}

// The cards of one meld column in pile order.
std::vector<CardRecord> column(const CanastaGame& game, const CardPile& pile, int col)
{
    std::vector<CardRecord> cards;
    for (int i = 0; i < pile.Count; ++i)
        if (game.ColumnOf(pile.Cards[i]) == col)
            cards.push_back(pile.Cards[i]);
    return cards;
}

bool allOnOneY(const std::vector<CardRecord>& cards, int y)
{
    for (const CardRecord& c : cards)
        if (c.Y != y)
            return false;
    return true;
}

// Lays the cards into the human's meld column, alternating the decks.
void meldColumn(CanastaGame& game, int col, std::initializer_list<int> ids)
{
    std::uint8_t deck = 0;
    for (int id : ids)
        AddToHumanMelds(game, id, col, deck ^= 1);
}

class Melds : public ::testing::Test, public TableFixture {};

}  // namespace

// ---- Canasta recognition ------------------------------------------------------

TEST_F(Melds, CanastasAreSquaredWithTheRightCardOnTop)
{
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King), Joker,
                            CardId(Heart, Two), CardId(Spade, Two)});
    game.CheckCanasta(Side::Human, King);

    EXPECT_EQ(game.HumanCanastas.Count, 1);
    EXPECT_EQ(game.HumanCanastas.Kind[King], MixedCanasta);
    EXPECT_EQ(game.HumanCanastas.NaturalCount[King], 4);
    const int squareY = game.Layout.HumanMeldBase + StackStep;
    auto cards = column(game, game.HumanMelds, King);
    ASSERT_EQ(cards.size(), 7u);
    EXPECT_TRUE(allOnOneY(cards, squareY));
    EXPECT_EQ(game.HumanMelds.ColumnEnds[King].Y, squareY);
    // The last black natural changes places with the column's last card.
    EXPECT_EQ(cards.back().Id, CardId(Club, King));
    EXPECT_EQ(cards[2].Id, CardId(Spade, Two));
    EXPECT_GT(host.Repaints, 0);

    // Checking again neither counts the canasta twice nor plays its sound again.
    game.CheckCanasta(Side::Human, King);
    EXPECT_EQ(game.HumanCanastas.Count, 1);

    meldColumn(game, Queen, {CardId(Heart, Queen), CardId(Diamond, Queen), CardId(Heart, Queen), CardId(Spade, Queen),
                             CardId(Club, Queen), CardId(Spade, Queen), CardId(Club, Queen)});
    game.CheckCanasta(Side::Human, Queen);
    EXPECT_EQ(game.HumanCanastas.Count, 2);
    EXPECT_EQ(game.HumanCanastas.Kind[Queen], NaturalCanasta);
    cards = column(game, game.HumanMelds, Queen);
    EXPECT_FALSE(IsBlackSuit(cards.back().Id));
    EXPECT_TRUE(allOnOneY(cards, squareY));
    EXPECT_EQ(host.Sounds, (std::vector<SoundEvent>{SoundEvent::MixedCanasta, SoundEvent::NaturalCanasta}));
}

TEST_F(Melds, FourWildCardsAtTheSeventhCardMakeNoCanasta)
{
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), Joker, Joker, Joker, Joker});
    AddToHumanHand(game, CardId(Spade, Eight));
    game.CheckCanasta(Side::Human, King);

    EXPECT_EQ(game.HumanCanastas.Count, 0);
    EXPECT_EQ(game.HumanCanastas.Kind[King], NoCanasta);
    EXPECT_EQ(game.HumanMelds.Cards[6].Y, game.Layout.HumanMeldBase + 7 * StackStep);  // still spread out
    EXPECT_FALSE(game.ValidateHumanMelds());
    EXPECT_EQ(game.MeldCheckReason, "there are too many wildcards within one column");

    // A fourth natural as the eighth card does not turn it into one.
    AddToHumanMelds(game, CardId(Diamond, King));
    game.CheckCanasta(Side::Human, King);
    EXPECT_EQ(game.HumanCanastas.Count, 0);

    // Nor is the threes column ever a canasta.
    meldColumn(game, Three, {28, 41, 28, 41, 2, 15, 2, 15});
    game.CheckCanasta(Side::Human, Three);
    EXPECT_EQ(game.HumanCanastas.Count, 0);
    EXPECT_TRUE(host.Sounds.empty());
}

TEST_F(Melds, ComputerCanastaIsSquaredAboveItsBaseWithoutSound)
{
    for (int id : {CardId(Heart, Six), CardId(Spade, Six), CardId(Diamond, Six), CardId(Heart, Six), Joker,
                   CardId(Club, Six), CardId(Diamond, Six)})
        AddToComputerMelds(game, id, Six);
    game.CheckCanasta(Side::Computer, Six);

    EXPECT_EQ(game.ComputerCanastas.Count, 1);
    EXPECT_EQ(game.ComputerCanastas.Kind[Six], MixedCanasta);
    EXPECT_EQ(game.HumanCanastas.Count, 0);
    EXPECT_TRUE(host.Sounds.empty());
    const int squareY = game.Layout.ComputerMeldBase - StackStep;
    const auto cards = column(game, game.ComputerMelds, Six);
    EXPECT_TRUE(allOnOneY(cards, squareY));
    EXPECT_EQ(game.ComputerMelds.ColumnEnds[Six].Y, squareY);
    EXPECT_EQ(cards.back().Id, CardId(Club, Six));
}

// ---- The meld check -----------------------------------------------------------

TEST_F(Melds, MeldCheckReportsTheFirstFailingReasonInOrder)
{
    enum Fault { Size = 1, Minimum = 2, Wild = 4, BlackThrees = 8, WildMeld = 16 };
    auto build = [this](int faults) {
        ClearTable(game);
        AddToHumanHand(game, CardId(Heart, Eight));
        // A sound table worth 3 * 10 + 3 * 20 = 90 points.
        meldColumn(game, Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Club, Queen)});
        meldColumn(game, Ace, {CardId(Spade, Ace), CardId(Spade, Ace), CardId(Heart, Ace)});
        if (faults & Size)
            AddToHumanMelds(game, CardId(Spade, Six));
        if (faults & Minimum)
            game.HumanMinimumMeld = 1000;
        if (faults & Wild)
            meldColumn(game, Queen, {Joker, Joker, CardId(Club, Two), CardId(Club, Two)});
        if (faults & BlackThrees)
            AddToHumanMelds(game, CardId(Club, Three));
        if (faults & WildMeld)
            AddToHumanMelds(game, CardId(Heart, Two), 1);
        return game.ValidateHumanMelds();
    };

    EXPECT_TRUE(build(0));
    EXPECT_EQ(game.MeldCheckReason, "");
    EXPECT_FALSE(build(Size | Minimum | Wild | BlackThrees | WildMeld));
    EXPECT_EQ(game.MeldCheckReason, "every column on the table must contain at least three cards");
    EXPECT_FALSE(build(Minimum | Wild | BlackThrees | WildMeld));
    EXPECT_EQ(game.MeldCheckReason, "your first meld must be at least 1000 points (currently 255 points)");
    EXPECT_FALSE(build(Wild | BlackThrees | WildMeld));
    EXPECT_EQ(game.MeldCheckReason, "there are too many wildcards within one column");
    EXPECT_FALSE(build(BlackThrees | WildMeld));
    EXPECT_EQ(game.MeldCheckReason, "the Black Threes have not been melded correctly");
    EXPECT_FALSE(build(WildMeld));
    EXPECT_EQ(game.MeldCheckReason, "wildcards must be melded as a canasta");

    // A pending top card fails the check whatever else holds, unless the caller ignores it.
    build(Size);
    game.TopCardOnTable = true;
    EXPECT_FALSE(game.ValidateHumanMelds());
    EXPECT_EQ(game.MeldCheckReason, "you have not melded the top card correctly");
    EXPECT_FALSE(game.ValidateHumanMelds(0, true));
    EXPECT_EQ(game.MeldCheckReason, "every column on the table must contain at least three cards");
}

TEST_F(Melds, FirstMeldBelowTheMinimumBlocksTheDiscard)
{
    AddToHumanHand(game, CardId(Heart, Eight));
    AddToHumanHand(game, CardId(Club, Six));
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King)});
    AddToHumanMelds(game, CardId(Heart, Three));  // red threes are worth nothing here

    EXPECT_FALSE(game.ValidateHumanMelds(1));
    EXPECT_EQ(game.MeldCheckReason, "your first meld must be at least 50 points (currently 40 points)");
    game.DiscardCard(handIndexOf(game, CardId(Club, Six)));
    EXPECT_EQ(host.LastErrorNumber(), 4);
    EXPECT_EQ(host.LastErrorText(),
              "Discarding is not possible now: your first meld must be at least 50 points (currently 40 points)");
    EXPECT_EQ(game.HumanHand.Count, 2);

    // Going out needs no minimum; nor does a canasta when bonuses count.
    EXPECT_TRUE(game.ValidateHumanMelds(2));
    game.Rules.BonusCounts = true;
    game.HumanCanastas.Count = 1;
    EXPECT_TRUE(game.ValidateHumanMelds());
}

TEST_F(Melds, BlackThreesAndTheWildcardMeld)
{
    AddToHumanHand(game, CardId(Heart, Eight));
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Club, King), CardId(Diamond, King)});
    meldColumn(game, Three, {CardId(Spade, Three), CardId(Club, Three)});
    EXPECT_FALSE(game.ValidateHumanMelds());
    EXPECT_EQ(game.MeldCheckReason, "the Black Threes have not been melded correctly");
    EXPECT_FALSE(game.ValidateHumanMelds(1));  // two are too few even when going out
    AddToHumanMelds(game, CardId(Spade, Three));
    EXPECT_FALSE(game.ValidateHumanMelds());
    EXPECT_TRUE(game.ValidateHumanMelds(1));

    meldColumn(game, 1, {Joker, Joker, CardId(Club, Two), CardId(Club, Two), CardId(Spade, Two), CardId(Spade, Two)});
    EXPECT_FALSE(game.ValidateHumanMelds(1));
    EXPECT_EQ(game.MeldCheckReason, "wildcards must be melded as a canasta");
    AddToHumanMelds(game, CardId(Heart, Two), 1);
    EXPECT_TRUE(game.ValidateHumanMelds(1));
    game.CheckCanasta(Side::Human, 1);
    EXPECT_EQ(game.HumanCanastas.Kind[1], WildcardCanasta);
    EXPECT_EQ(host.Sounds.back(), SoundEvent::NaturalCanasta);
}

TEST(MinimumMeld, FollowsTheMatchScore)
{
    EXPECT_EQ(MinimumMeld(-20), 15);
    EXPECT_EQ(MinimumMeld(0), 50);
    EXPECT_EQ(MinimumMeld(1499), 50);
    EXPECT_EQ(MinimumMeld(1500), 90);
    EXPECT_EQ(MinimumMeld(2999), 90);
    EXPECT_EQ(MinimumMeld(3000), 120);
}

// ---- Melding from the hand -------------------------------------------------------

TEST_F(Melds, MeldCardMovesTheCardAndTellsEveryone)
{
    const CardRecord inHand = AddToHumanHand(game, CardId(Heart, King));
    AddToHumanHand(game, CardId(Club, King));
    AddToHumanHand(game, CardId(Spade, Eight));
    AppendCard(game.KnownHumanCards, inHand);

    game.MeldCard(handIndexOf(game, CardId(Heart, King)));

    ASSERT_EQ(game.HumanMelds.Count, 1);
    const CardRecord& melded = game.HumanMelds.Cards[0];
    EXPECT_EQ(melded.X, game.Layout.ColumnX(King));
    EXPECT_EQ(melded.Y, game.Layout.HumanMeldBase + StackStep);
    EXPECT_EQ(game.HumanHand.Cards[0].Y, game.Layout.HumanHandBase + StackStep);  // hand column closed up
    EXPECT_EQ(game.KnownHumanCards.Count, 0);
    EXPECT_EQ(host.Sent, (std::vector<std::pair<std::string, std::string>>{{"MELD", "51"}}));
    ASSERT_EQ(host.Flights.size(), 1u);
    EXPECT_EQ(host.Flights[0].FromY, inHand.Y);
    EXPECT_EQ(host.Flights[0].ToY, melded.Y);
    ASSERT_EQ(game.UndoStack.size(), 1u);
    EXPECT_EQ(game.UndoStack.back().Card, melded);
}

TEST_F(Melds, RefusedMeldsChangeNothing)
{
    AddToHumanHand(game, CardId(Spade, Three));
    AddToHumanHand(game, CardId(Club, Three));
    AddToHumanHand(game, CardId(Spade, Three), 1);
    AddToHumanHand(game, CardId(Heart, Eight));
    game.HasDrawn = false;
    game.MeldCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 1);

    game.HasDrawn = true;
    game.MeldCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 6);
    EXPECT_EQ(game.HumanMelds.Count, 0);

    // With the canasta that is needed the threes and one card to discard may go.
    game.HumanCanastas.Count = 1;
    game.MeldCard(0);
    EXPECT_TRUE(game.BlackThreesAllowed);
    EXPECT_EQ(game.HumanMelds.Count, 1);
}

TEST_F(Melds, PairWithoutMoreOfItsRankGetsAWildCard)
{
    for (int id : {CardId(Heart, King), CardId(Club, King), CardId(Spade, Two), Joker, CardId(Spade, Eight)})
        AddToHumanHand(game, id);
    game.MeldCard(handIndexOf(game, CardId(Heart, King)));
    EXPECT_EQ(game.HumanMelds.Count, 1);
    game.MeldCard(handIndexOf(game, CardId(Club, King)));
    ASSERT_EQ(game.HumanMelds.Count, 3);
    const CardRecord& wild = game.HumanMelds.Cards[2];
    EXPECT_EQ(wild.Id, Joker);  // a joker before a two
    EXPECT_EQ(wild.X, game.Layout.ColumnX(King));
    EXPECT_EQ(wild.Y, game.Layout.HumanMeldBase + 3 * StackStep);
    EXPECT_EQ(host.Sent.back(), std::make_pair(std::string("MELDWILDCARD"), std::string("53\xFE" "12")));

    ClearTable(game);
    for (int id : {CardId(Heart, Queen), CardId(Club, Queen), CardId(Diamond, Two), CardId(Spade, Eight)})
        AddToHumanHand(game, id);
    game.MeldCard(0);
    game.MeldCard(handIndexOf(game, CardId(Club, Queen)));
    ASSERT_EQ(game.HumanMelds.Count, 3);
    EXPECT_EQ(game.HumanMelds.Cards[2].Id, CardId(Diamond, Two));

    // With only the wild card left and no canasta, it stays in the hand.
    ClearTable(game);
    for (int id : {CardId(Heart, Queen), CardId(Club, Queen), Joker})
        AddToHumanHand(game, id);
    game.MeldCard(0);
    game.MeldCard(handIndexOf(game, CardId(Club, Queen)));
    EXPECT_EQ(game.HumanMelds.Count, 2);
    EXPECT_EQ(game.HumanHand.Count, 1);
}

TEST_F(Melds, MeldRankIsShortenedSoTheHandIsNotEmptied)
{
    for (int id : {CardId(Heart, Queen), CardId(Club, Queen), CardId(Spade, Queen), CardId(Diamond, Queen)})
        AddToHumanHand(game, id);
    game.MeldRank(0, MeldRankMode::All);
    EXPECT_EQ(game.HumanMelds.Count, 3);
    EXPECT_EQ(game.HumanHand.Count, 1);

    ClearTable(game);
    AddToHumanMelds(game, CardId(Heart, Queen));
    for (int id : {CardId(Club, Queen), CardId(Spade, Queen), CardId(Diamond, Queen), CardId(Heart, Eight)})
        AddToHumanHand(game, id);
    game.MeldRank(0, MeldRankMode::UpToThree);
    EXPECT_EQ(game.HumanMelds.Count, 3);
    EXPECT_EQ(game.HumanHand.Count, 2);
}

TEST_F(Melds, EighthCardLiesOnTheSquaredCanasta)
{
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Spade, King), CardId(Heart, King),
                            CardId(Diamond, King), CardId(Diamond, King), CardId(Spade, King)});
    game.CheckCanasta(Side::Human, King);
    ASSERT_EQ(game.HumanCanastas.Count, 1);
    for (int id : {CardId(Club, King), Joker, CardId(Heart, Eight)})
        AddToHumanHand(game, id);

    game.MeldCard(0);
    const int squareY = game.Layout.HumanMeldBase + StackStep;
    EXPECT_EQ(game.HumanCanastas.Count, 1);
    EXPECT_EQ(game.HumanCanastas.Kind[King], NaturalCanasta);
    EXPECT_TRUE(allOnOneY(column(game, game.HumanMelds, King), squareY));
    EXPECT_EQ(game.HumanMelds.ColumnEnds[King].Y, squareY);

    // A wild card on a natural canasta makes it mixed, still one canasta.
    game.AddWildCard(King);
    EXPECT_EQ(game.HumanCanastas.Count, 1);
    EXPECT_EQ(game.HumanCanastas.Kind[King], MixedCanasta);
    EXPECT_TRUE(allOnOneY(column(game, game.HumanMelds, King), squareY));
    EXPECT_TRUE(IsBlackSuit(column(game, game.HumanMelds, King).back().Id));
}

TEST_F(Melds, WildcardMeldErrorsAndModes)
{
    for (int id : {Joker, Joker, Joker, CardId(Club, Two), CardId(Club, Two), CardId(Spade, Two), CardId(Heart, Eight)})
        AddToHumanHand(game, id);

    game.Rules.WildcardCanasta = false;
    game.MeldWildcards(WildMeldMode::One);
    EXPECT_EQ(host.LastErrorNumber(), 8);  // the rule is named before the count
    game.Rules.WildcardCanasta = true;
    game.MeldWildcards(WildMeldMode::UpToSeven);
    EXPECT_EQ(host.LastErrorNumber(), 7);
    EXPECT_EQ(game.HumanMelds.Count, 0);

    AddToHumanHand(game, CardId(Diamond, Two));
    game.MeldWildcards(WildMeldMode::UpToThree);
    EXPECT_EQ(game.HumanMelds.Count, 3);
    EXPECT_EQ(game.HumanMelds.Cards[0].Id, Joker);
    game.MeldWildcards(WildMeldMode::UpToSeven);
    EXPECT_EQ(game.HumanMelds.Count, 7);
    EXPECT_EQ(game.HumanCanastas.Kind[1], WildcardCanasta);
    EXPECT_TRUE(allOnOneY(column(game, game.HumanMelds, 1), game.Layout.HumanMeldBase + StackStep));
    EXPECT_EQ(game.HumanHand.Count, 1);
}

TEST_F(Melds, TheLastCardGoesOnlyIntoACanastaAndThenGoesOut)
{
    meldColumn(game, Queen, {CardId(Spade, Queen), CardId(Heart, Queen), CardId(Spade, Queen), CardId(Heart, Queen),
                             CardId(Club, Queen)});
    AddToHumanHand(game, Joker);
    game.AddWildCard(Queen);
    game.FillCanasta(Queen);  // five cards and one wild card do not reach seven
    EXPECT_EQ(game.HumanHand.Count, 1);

    AddToHumanMelds(game, CardId(Club, Queen));
    game.AddWildCard(Queen);
    EXPECT_EQ(game.WentOut, HumanWentOut);  // and the next hand is dealt
    EXPECT_EQ(host.HandScores.size(), 1u);

    ClearTable(game);
    game.WentOut = NobodyWentOut;
    meldColumn(game, King, {CardId(Spade, King), CardId(Heart, King), CardId(Spade, King), CardId(Heart, King),
                            CardId(Diamond, King), CardId(Diamond, King)});
    AddToHumanHand(game, CardId(Club, King));
    game.MeldCard(0);
    EXPECT_EQ(game.WentOut, HumanWentOut);
    EXPECT_EQ(host.HandScores.size(), 2u);
}
