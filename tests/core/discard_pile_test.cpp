#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int Six = 5, Seven = 6, Nine = 8, Queen = 11, King = 12, Ace = 13;
constexpr int RedThree = CardId(Diamond, 2);

int CountInPile(const CardPile& pile, int id)
{
    return static_cast<int>(std::count_if(pile.Cards.begin(), pile.Cards.begin() + pile.Count,
                                          [id](const CardRecord& c) { return c.Id == id; }));
}

class DiscardPileTest : public ::testing::Test {
protected:
    TableFixture f;
    CanastaGame& game = f.game;
    RecordingHost& host = f.host;

    // Deck 1 for the pile, so that its cards are told apart from the table's.
    void Hand(std::initializer_list<int> ids) { for (int id : ids) AddToHumanHand(game, id); }
    void Melds(std::initializer_list<int> ids) { for (int id : ids) AddToHumanMelds(game, id); }
    void Pile(std::initializer_list<int> ids) { for (int id : ids) AddToDiscardPile(game, id, 1); }
    void StartTurn()
    {
        game.MustDraw = true;
        game.HasDrawn = false;
        game.Phase = PhaseDraw;
    }
    void Meld(int id)
    {
        for (int i = game.HumanHand.Count - 1; i >= 0; --i)
            if (game.HumanHand.Cards[i].Id == id)
                return game.MeldCard(i);
        FAIL() << "card " << id << " not in hand";
    }
    bool Sent(const std::string& token) const
    {
        return std::any_of(host.Sent.begin(), host.Sent.end(), [&](const auto& m) { return m.first == token; });
    }
};

}  // namespace

TEST_F(DiscardPileTest, FreezingRules)
{
    EXPECT_TRUE(game.IsPileFrozen(Side::Human));  // initial block: the human has not opened
    EXPECT_TRUE(game.IsPileFrozen(Side::Computer));
    Melds({CardId(Spade, King), CardId(Heart, King)});
    EXPECT_TRUE(game.IsPileFrozen(Side::Human));  // two cards are no meld yet
    Melds({CardId(Club, King)});
    EXPECT_FALSE(game.IsPileFrozen(Side::Human));
    game.Rules.InitialBlockForBoth = false;
    EXPECT_FALSE(game.IsPileFrozen(Side::Computer));

    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(CardId(Club, 2), 0)));  // black three
    EXPECT_FALSE(game.DiscardFrozen);
    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(CardId(Heart, 1), 0)));  // a two
    EXPECT_TRUE(game.DiscardFrozen);
    game.DiscardFrozen = false;
    EXPECT_FALSE(game.DiscardFreezeRule(MakeCard(RedThree, 0)));
    EXPECT_FALSE(game.DiscardFrozen);
    game.Rules.ThreeBlock = true;
    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(RedThree, 0)));
    EXPECT_TRUE(game.IsPileFrozen(Side::Computer));
}

TEST_F(DiscardPileTest, FrozenPileNeedsANaturalPairEvenWithAMeld)
{
    Melds({CardId(Spade, Seven), CardId(Club, Seven), CardId(Heart, Seven)});
    Hand({CardId(Diamond, Seven), Joker, CardId(Spade, Ace)});
    Pile({CardId(Heart, Nine), CardId(Heart, Seven)});
    game.DiscardFrozen = true;
    EXPECT_FALSE(game.CanTakePile(true));
    game.DiscardFrozen = false;
    EXPECT_TRUE(game.CanTakePile(true));
    game.DiscardFrozen = true;
    Hand({CardId(Club, Seven)});
    EXPECT_TRUE(game.CanTakePile(true));
}

TEST_F(DiscardPileTest, ExistingMeldNaturalAndWildAndCanastas)
{
    Melds({CardId(Spade, King), CardId(Club, King), CardId(Heart, King)});
    Hand({CardId(Spade, Six), CardId(Spade, Queen), Joker});
    Pile({CardId(Diamond, King)});
    EXPECT_TRUE(game.CanTakePile(false));  // NaturalPair on, AddExistingMeld off
    game.Rules.AddExistingMeld = true;
    EXPECT_FALSE(game.CanTakePile(false));  // both on: only a pair from the hand will do
    game.Rules.NaturalPair = false;
    EXPECT_TRUE(game.CanTakePile(false));

    // One natural and a wild card start a new meld only without NaturalPair.
    Pile({CardId(Heart, Queen)});
    EXPECT_TRUE(game.CanTakePile(false));
    game.Rules.NaturalPair = true;
    EXPECT_FALSE(game.CanTakePile(false));
    game.Rules.NaturalPair = false;
    game.DiscardFrozen = true;
    EXPECT_FALSE(game.CanTakePile(false));

    // A closed canasta takes no more cards, not even with a pair.
    game.DiscardFrozen = false;
    Melds({CardId(Diamond, King), CardId(Spade, King), CardId(Club, King), CardId(Heart, King)});
    Hand({CardId(Diamond, King), CardId(Club, King)});
    Pile({CardId(Spade, King)});
    EXPECT_TRUE(game.CanTakePile(false));
    game.Rules.AddToCanasta = false;
    EXPECT_FALSE(game.CanTakePile(false));
}

TEST_F(DiscardPileTest, ThreesWildCardsAndShortHandsCannotTake)
{
    Hand({CardId(Spade, 2), CardId(Club, 2), Joker, Joker, CardId(Spade, 1), CardId(Heart, Ace)});
    EXPECT_FALSE(game.CanTakePile(true));  // empty pile
    for (int top : {CardId(Club, 2), Joker, CardId(Heart, 1)}) {
        Pile({top});
        EXPECT_FALSE(game.CanTakePile(true)) << top;
    }

    // A new meld of pair and top card must leave a card to discard, unless the
    // human has the canastas to go out.
    ClearTable(game);
    Hand({CardId(Spade, Ace), CardId(Club, Ace)});
    Pile({CardId(Heart, Ace)});
    EXPECT_FALSE(game.CanTakePile(false));
    game.HumanCanastas.Count = 1;
    EXPECT_TRUE(game.CanTakePile(false));
    game.HumanCanastas.Count = 0;
    game.DiscardPile = CardPile{};
    Pile({CardId(Spade, Six), CardId(Heart, Ace)});
    EXPECT_TRUE(game.CanTakePile(false));
}

TEST_F(DiscardPileTest, RefusedTakesReportErrorNineOrFive)
{
    StartTurn();
    game.HumanCanastas.Count = 1;
    Melds({CardId(Spade, Six), CardId(Club, Six), CardId(Heart, Six)});
    Hand({CardId(Spade, King)});
    Pile({CardId(Diamond, Six)});
    game.TakePile();
    EXPECT_EQ(host.LastErrorNumber(), 9);
    EXPECT_EQ(game.DiscardPile.Count, 1);
    EXPECT_TRUE(game.MustDraw);

    Pile({CardId(Heart, Queen)});
    game.TakePile();
    EXPECT_EQ(host.LastErrorText(), "Taking the discard pile is not possible now because you cannot meld the top card");
    EXPECT_EQ(game.HumanMelds.Count, 3);
}

TEST_F(DiscardPileTest, OpenPileFittingAMeldIsPickedUpAtOnce)
{
    StartTurn();
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace)});
    Hand({CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Club, Nine), CardId(Heart, 2)});
    for (int i = 0; i < 10; ++i)
        Pile({CardId(Spade, 3 + i % 5)});
    Pile({CardId(Diamond, Ace)});  // 13 cards

    game.TakePile();

    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_EQ(game.HumanHand.Count, 2 + 11);
    EXPECT_EQ(game.KnownHumanCards.Count, 11);
    EXPECT_EQ(game.HumanMelds.Count, 5);  // the top card and the red three
    EXPECT_EQ(game.ColumnOf(game.HumanMelds.Cards[4]), 2);
    EXPECT_FALSE(game.DiscardFrozen || game.TakingPile || game.TopCardOnTable || game.MustDraw);
    EXPECT_EQ(game.Phase, PhaseMeldDiscard);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::TakeHugePile});
    EXPECT_TRUE(Sent("DRAWPILETOP") && Sent("DRAWPILEREST"));
}

// A take that waits for melds from the hand, with the top card's points not
// counting towards an initial meld of 50.
class PendingTakeTest : public DiscardPileTest {
protected:
    void SetUp() override
    {
        StartTurn();
        game.Rules.TopCardCounts = false;
        game.HumanScore = 400;
        Hand({CardId(Spade, King), CardId(Club, King), CardId(Spade, Seven), CardId(Club, Seven),
              CardId(Heart, Seven), CardId(Diamond, Seven), CardId(Spade, Nine), CardId(Club, Nine),
              CardId(Heart, Nine), CardId(Spade, Six)});
        Pile({CardId(Spade, Queen), CardId(Heart, King)});
        handBefore = game.HumanHand;
        game.TakePile();
    }
    CardPile handBefore;
};

TEST_F(PendingTakeTest, NeedsTheMinimumPlusTheTopCard)
{
    EXPECT_TRUE(game.TakingPile && game.TopCardOnTable && game.TakeNeedsNaturalPair);
    EXPECT_EQ(game.Phase, PhaseTaking);
    EXPECT_EQ(game.HumanMinimumMeld, 60);
    EXPECT_EQ(game.TakeColumnBefore, 0);

    for (int id : {CardId(Spade, King), CardId(Club, King), CardId(Spade, Seven), CardId(Club, Seven),
                   CardId(Heart, Seven), CardId(Diamond, Seven), CardId(Spade, Nine), CardId(Club, Nine)})
        Meld(id);
    // 50 points, and a column of two nines: not yet.
    EXPECT_TRUE(game.TakingPile);
    Meld(CardId(Heart, Nine));

    EXPECT_FALSE(game.TakingPile || game.TopCardOnTable);
    EXPECT_EQ(game.Phase, PhaseMeldDiscard);
    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_EQ(CountInPile(game.KnownHumanCards, CardId(Spade, Queen)), 1);
    EXPECT_TRUE(game.UndoStack.empty());
    EXPECT_FALSE(host.UndoEnabledCalls.back());
    EXPECT_EQ(game.HumanMinimumMeld, 60);  // until the next deal
}

TEST_F(PendingTakeTest, UndoRestoresTheTableAndCostsFiftyPoints)
{
    Meld(CardId(Spade, King));
    Meld(CardId(Club, King));

    game.UndoTake();

    EXPECT_EQ(game.HumanMinimumMeld, 50);
    EXPECT_EQ(game.HumanScore, 350);
    EXPECT_EQ(game.HumanMelds.Count, 0);
    EXPECT_EQ(game.HumanHand, handBefore);
    ASSERT_EQ(game.DiscardPile.Count, 2);
    EXPECT_EQ(game.DiscardPile.top().Id, CardId(Heart, King));
    EXPECT_EQ(game.DiscardPile.top().Y, game.Layout.DiscardTop);
    EXPECT_FALSE(game.TakingPile || game.TopCardOnTable || game.HasDrawn);
    EXPECT_TRUE(game.MustDraw);
    EXPECT_EQ(game.Phase, PhaseDraw);
    EXPECT_TRUE(game.UndoStack.empty());  // those melds went back with the snapshot
    EXPECT_TRUE(Sent("UNDOPILE"));
}

TEST_F(PendingTakeTest, LostTopCardDealsANewHand)
{
    game.TopCard.Y += 500;
    game.UndoTake();
    ASSERT_FALSE(host.Messages.empty());
    EXPECT_EQ(host.Messages[0].Text,
              "An error occurred while undoing taking the discard pile. A new hand will be dealt.");
    EXPECT_EQ(game.HumanHand.Count, 15);
    EXPECT_EQ(game.HumanScore, 400);
}

TEST_F(DiscardPileTest, NaturalAndWildCardCompleteTheTake)
{
    StartTurn();
    game.Rules.NaturalPair = false;
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace)});
    Hand({CardId(Spade, Queen), Joker, CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Club, Nine), CardId(Heart, Queen)});
    game.TakePile();
    ASSERT_TRUE(game.TakingPile);
    Meld(CardId(Spade, Queen));  // the joker follows by itself
    EXPECT_FALSE(game.TakingPile);
    EXPECT_EQ(CountInPile(game.HumanHand, CardId(Club, Nine)), 1);
}

TEST_F(DiscardPileTest, UndoingATakeThatMadeACanastaBreaksIt)
{
    StartTurn();
    game.DiscardFrozen = true;
    for (int i = 0; i < 6; ++i)
        AddToHumanMelds(game, CardId(i % 2 ? Spade : Diamond, Queen), -1, static_cast<std::uint8_t>(i / 4));
    Hand({CardId(Heart, Queen), CardId(Club, Queen), CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Spade, Nine), CardId(Heart, Queen)});
    game.TakePile();
    ASSERT_EQ(game.HumanCanastas.Count, 1);

    game.UndoTake();

    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(game.HumanCanastas.Count, 0);
    EXPECT_EQ(game.HumanCanastas.Kind[Queen], NoCanasta);
    EXPECT_EQ(game.HumanMelds.Count, 6);
    EXPECT_EQ(game.HumanMelds.ColumnEnds[Queen].Y, game.Layout.HumanMeldBase + 72);
    EXPECT_EQ(game.DiscardPile.top().Deck, 1);
}

TEST_F(DiscardPileTest, ForcedTakeOfAnExhaustedStockTakesOnlyTheTopCard)
{
    StartTurn();
    game.Rules.AddExistingMeld = true;  // the existing meld alone would not do
    game.StockExhausted = true;
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace), CardId(Diamond, Ace)});
    Hand({CardId(Spade, Six), CardId(Club, Seven), CardId(Spade, King)});
    Pile({CardId(Spade, Nine), CardId(Heart, Ace)});
    EXPECT_FALSE(game.CanTakePile(false));

    game.EndHandClick();
    EXPECT_FALSE(game.EndHandRequested);
    ASSERT_EQ(host.Messages.size(), 1u);

    game.TakePile();
    EXPECT_EQ(game.DiscardPile.Count, 1);
    EXPECT_EQ(game.HumanMelds.Count, 5);
    EXPECT_EQ(game.HumanHand.Count, 3);
    EXPECT_FALSE(game.TakingPile || game.TopCardOnTable || game.MustDraw);
    EXPECT_EQ(game.Phase, PhaseMeldDiscard);
}

TEST_F(DiscardPileTest, ForcedToTakeLimits)
{
    Pile({CardId(Spade, Nine), CardId(Heart, Ace)});
    ColumnCounts melds{};
    for (int m = 0; m <= 9; ++m) {
        melds[Ace] = m;
        EXPECT_EQ(game.ForcedToTake(5, melds), m >= 3 && m <= 8) << m;
    }
    game.Rules.AddToCanasta = false;
    melds[Ace] = 7;
    EXPECT_FALSE(game.ForcedToTake(5, melds));
    melds[Ace] = 4;
    game.DiscardFrozen = true;
    EXPECT_FALSE(game.ForcedToTake(5, melds));
    game.DiscardFrozen = false;
    PopCard(game.DiscardPile);
    PopCard(game.DiscardPile);
    Pile({CardId(Heart, Ace)});
    EXPECT_FALSE(game.ForcedToTake(1, melds));
    EXPECT_TRUE(game.ForcedToTake(2, melds));
}

TEST_F(DiscardPileTest, BlockingWithARedThree)
{
    StartTurn();
    Melds({RedThree});
    Hand({CardId(Spade, King), CardId(Club, King), CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Heart, King)});

    game.BlockWithRedThree(0);  // ThreeBlock off
    EXPECT_EQ(game.HumanMelds.Count, 1);

    // Not while a take waits for its melds.
    game.Rules.ThreeBlock = true;
    game.TakePile();
    ASSERT_TRUE(game.TakingPile);
    game.BlockWithRedThree(0);
    EXPECT_EQ(host.LastErrorText(), "Discarding is not possible now: you have not melded the top card correctly");
    game.UndoTake();

    game.BlockWithRedThree(0);
    EXPECT_EQ(game.HumanMelds.Count, 0);
    EXPECT_EQ(game.DiscardPile.top().Id, RedThree);
    EXPECT_TRUE(game.DiscardFrozen && game.MustDraw && game.ComputerTurn);
    EXPECT_FALSE(game.HasDrawn);
    EXPECT_EQ(host.ComputerTurns, 1);
    EXPECT_TRUE(Sent("DISCARDREDTHREE"));
}
