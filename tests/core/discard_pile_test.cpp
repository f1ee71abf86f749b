#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int RedThree = CardId(Diamond, 2);

class DiscardPileTest : public ::testing::Test, public TableFixture {
protected:
    void Hand(const std::vector<int>& ids) { for (int id : ids) AddToHumanHand(game, id); }
    void Melds(const std::vector<int>& ids) { for (int id : ids) AddToHumanMelds(game, id); }
    // Deck 1 for the pile, so that its cards are told apart from the table's.
    void Pile(const std::vector<int>& ids) { for (int id : ids) AddToDiscardPile(game, id, 1); }
    // The human is to draw.
    void SetUp() override { ReadyToDraw(game); }
    void Meld(int id)
    {
        ASSERT_GE(IndexOfCard(game.Human().Hand, id), 0) << "card " << id << " not in hand";
        game.MeldCard(IndexOfCard(game.Human().Hand, id));
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
    Melds({RedThree, CardId(Heart, 2), RedThree});
    EXPECT_TRUE(game.IsPileFrozen(Side::Human));  // red threes are worth nothing
    Melds({CardId(Spade, King), CardId(Heart, King)});
    EXPECT_TRUE(game.IsPileFrozen(Side::Human));  // two cards are no meld yet
    Melds({CardId(Club, King)});
    EXPECT_FALSE(game.IsPileFrozen(Side::Human));
    EXPECT_TRUE(game.IsPileFrozen(Side::Computer));
    game.Rules.InitialBlockForBoth = false;
    EXPECT_FALSE(game.IsPileFrozen(Side::Computer));

    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(CardId(Club, 2), 0)));  // a black three may go, no freeze
    EXPECT_FALSE(game.DiscardFreezeRule(MakeCard(RedThree, 0)));      // a red three may not
    EXPECT_FALSE(game.Turn.DiscardFrozen);
    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(CardId(Heart, 1), 0)));  // a two freezes
    EXPECT_TRUE(game.Turn.DiscardFrozen);
    game.Turn.DiscardFrozen = false;
    game.Rules.ThreeBlock = true;
    EXPECT_TRUE(game.DiscardFreezeRule(MakeCard(RedThree, 0)));
    EXPECT_TRUE(game.IsPileFrozen(Side::Computer));
}

// The threes column is worth nothing while it holds red threes alone, and
// opens the side once a black three lies among them, whatever the order.
TEST_F(DiscardPileTest, ABlackThreeAfterThreeRedThreesOpensTheSide)
{
    Melds({RedThree, CardId(Heart, 2), RedThree});
    EXPECT_TRUE(game.IsPileFrozen(Side::Human));
    Melds({CardId(Spade, 2)});
    EXPECT_FALSE(game.IsPileFrozen(Side::Human));
}

// Every way to take the pile, and every refusal, under the rule options that decide it.
TEST(DiscardPileTake, AllowedOrRefusedWithErrorFiveOrNine)
{
    enum Rule { Frozen = 1, NoNaturalPair = 2, ExistingMeld = 4, NoAddToCanasta = 8, HasCanasta = 16 };
    struct Case {
        const char* name;
        std::vector<int> melds, hand, pile;
        int rules, error;
    };
    const int S7 = CardId(Spade, Seven), C7 = CardId(Club, Seven), H7 = CardId(Heart, Seven), S6 = CardId(Spade, Six);
    const int D7 = CardId(Diamond, Seven), SQ = CardId(Spade, Queen), HQ = CardId(Heart, Queen);
    const int SK = CardId(Spade, King), CK = CardId(Club, King), HK = CardId(Heart, King), DK = CardId(Diamond, King);
    const int SA = CardId(Spade, Ace), CA = CardId(Club, Ace), HA = CardId(Heart, Ace);
    const std::vector<int> sevens{S7, C7, H7}, kings{SK, CK, HK}, canasta{SK, CK, HK, DK, SK, CK, HK};
    const Case cases[] = {
        {"frozen: a meld is not enough", sevens, {D7, JokerCard, SA}, {S6, H7}, Frozen, 5},
        {"open: onto the meld", sevens, {D7, JokerCard, SA}, {S6, H7}, 0, 0},
        {"frozen: a natural pair", sevens, {D7, C7, JokerCard, SA}, {S6, H7}, Frozen, 0},
        {"existing meld", kings, {S6, SQ, JokerCard}, {DK}, 0, 0},
        {"existing meld, pair required", kings, {S6, SQ, JokerCard}, {DK}, ExistingMeld, 5},
        {"existing meld, no natural pair", kings, {S6, SQ, JokerCard}, {DK}, ExistingMeld | NoNaturalPair, 0},
        {"natural and wild", kings, {S6, SQ, JokerCard}, {HQ}, NoNaturalPair, 0},
        {"natural and wild, natural pair", kings, {S6, SQ, JokerCard}, {HQ}, 0, 5},
        {"natural and wild, frozen", kings, {S6, SQ, JokerCard}, {HQ}, NoNaturalPair | Frozen, 5},
        {"pair onto a canasta", canasta, {DK, CK}, {SK}, 0, 0},
        {"pair onto a closed canasta", canasta, {DK, CK}, {SK}, NoAddToCanasta, 5},
        {"empty pile", kings, {SK, CK}, {}, 0, 5},
        {"three on top", {}, {CardId(Club, 2), CardId(Club, 2), SA}, {CardId(Club, 2)}, 0, 5},
        {"joker on top", {}, {JokerCard, JokerCard, SA}, {JokerCard}, 0, 5},
        {"two on top", {}, {CardId(Spade, 1), CardId(Spade, 1), SA}, {CardId(Heart, 1)}, 0, 5},
        {"new meld leaves no card", {}, {SA, CA}, {HA}, 0, 5},
        {"new meld, canasta to go out", {}, {SA, CA}, {HA}, HasCanasta, 0},
        {"new meld leaves a card", {}, {SA, CA}, {S6, HA}, 0, 0},
        {"one-card pile, one-card hand", sevens, {SK}, {D7}, HasCanasta, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TableFixture f;
        CanastaGame& g = f.game;
        for (int id : c.melds)
            AddToHumanMelds(g, id);
        for (int id : c.hand)
            AddToHumanHand(g, id);
        for (int id : c.pile)
            AddToDiscardPile(g, id, 1);
        g.Turn.DiscardFrozen = c.rules & Frozen;
        g.Rules.NaturalPair = !(c.rules & NoNaturalPair);
        g.Rules.AddExistingMeld = c.rules & ExistingMeld;
        g.Rules.AddToCanasta = !(c.rules & NoAddToCanasta);
        g.Human().Canastas.Count = (c.rules & HasCanasta) ? 1 : 0;
        g.Turn.MustDraw = true;
        EXPECT_EQ(g.CanTakePile(Side::Human, false), c.error == 0);
        g.TakePile();
        EXPECT_EQ(f.host.LastErrorNumber(), c.error);
        if (c.error) {
            EXPECT_EQ(g.DiscardPile.Count, c.pile.size());
            EXPECT_TRUE(g.Turn.MustDraw);
        } else {
            EXPECT_TRUE(g.Take.TopCardOnTable || g.DiscardPile.Count == 0);
        }
    }
}

TEST_F(DiscardPileTest, OpenPileFittingAMeldIsPickedUpAtOnce)
{
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace)});
    Hand({CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Club, Nine), CardId(Heart, 2)});
    for (int i = 0; i < 10; ++i)
        Pile({CardId(Spade, 3 + i % 5)});
    Pile({CardId(Diamond, Ace)});  // 13 cards
    game.TakePile();
    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_EQ(game.Human().Hand.Count, 2 + 11);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 11);
    EXPECT_EQ(game.Human().Melds.Count, 5);  // the top card and the red three
    EXPECT_EQ(game.ColumnOf(game.Human().Melds.Cards[4]), 2);
    EXPECT_FALSE(game.Turn.DiscardFrozen);
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_FALSE(game.Take.TopCardOnTable);
    EXPECT_FALSE(game.Turn.MustDraw);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::TakeHugePile});
    EXPECT_TRUE(Sent("DRAWPILETOP"));
    EXPECT_TRUE(Sent("DRAWPILEREST"));
}

// A take that waits for melds from the hand, with the top card's points not
// counting towards an initial meld of 50.
class PendingTakeTest : public DiscardPileTest {
protected:
    void SetUp() override
    {
        DiscardPileTest::SetUp();
        game.Rules.TopCardCounts = false;
        game.Human().Score = 400;
        Hand({CardId(Spade, King), CardId(Club, King), CardId(Spade, Seven), CardId(Club, Seven),
              CardId(Heart, Seven), CardId(Diamond, Seven), CardId(Spade, Nine), CardId(Club, Nine),
              CardId(Heart, Nine), CardId(Spade, Six)});
        Pile({CardId(Spade, Queen), CardId(Heart, King)});
        handBefore = game.Human().Hand;
        game.TakePile();
    }
    CardPile handBefore;
};

TEST_F(PendingTakeTest, UndoCostsFiftyAndRestoresTheMinimumThenTheTakeIsCompleted)
{
    EXPECT_TRUE(game.Take.Pending);
    EXPECT_TRUE(game.Take.TopCardOnTable);
    EXPECT_TRUE(game.Take.NeedsNaturalPair);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Taking);
    EXPECT_EQ(game.Human().MinimumMeld, 60);
    Meld(CardId(Spade, King));
    Meld(CardId(Club, King));
    game.UndoTake();
    EXPECT_EQ(game.Human().MinimumMeld, 50);
    EXPECT_EQ(game.Human().Score, 350);
    EXPECT_EQ(game.Human().Melds.Count, 0);
    EXPECT_EQ(game.Human().Hand, handBefore);
    ASSERT_EQ(game.DiscardPile.Count, 2);
    EXPECT_EQ(game.DiscardPile.top().Id, CardId(Heart, King));
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_TRUE(game.Turn.MustDraw);
    EXPECT_TRUE(game.Undo.Stack.empty());
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw);
    EXPECT_TRUE(Sent("UNDOPILE"));

    game.TakePile();
    for (int id : {CardId(Spade, King), CardId(Club, King), CardId(Spade, Seven), CardId(Club, Seven),
                   CardId(Heart, Seven), CardId(Diamond, Seven), CardId(Spade, Nine), CardId(Club, Nine)})
        Meld(id);
    EXPECT_TRUE(game.Take.Pending);  // 50 points, and a column of two nines: not yet
    Meld(CardId(Heart, Nine));
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_EQ(CountOfCard(game.Memory.KnownOpponentCards, CardId(Spade, Queen)), 1);
    EXPECT_TRUE(game.Undo.Stack.empty());
    EXPECT_FALSE(host.UndoEnabledCalls.back());
    EXPECT_EQ(game.Human().MinimumMeld, 60);  // until the next deal
}

TEST_F(DiscardPileTest, NaturalAndWildCardCompleteTheTake)
{
    game.Rules.NaturalPair = false;
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace)});
    Hand({CardId(Spade, Queen), JokerCard, CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Club, Nine), CardId(Heart, Queen)});
    game.TakePile();
    ASSERT_TRUE(game.Take.Pending);
    Meld(CardId(Spade, Queen));  // the joker follows by itself
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_EQ(CountOfCard(game.Human().Hand, CardId(Club, Nine)), 1);
}

TEST_F(DiscardPileTest, UndoingATakeThatMadeACanastaBreaksIt)
{
    game.Turn.DiscardFrozen = true;
    for (int i = 0; i < 6; ++i)
        AddToHumanMelds(game, CardId(i % 2 ? Spade : Diamond, Queen), -1, static_cast<std::uint8_t>(i / 4));
    Hand({CardId(Heart, Queen), CardId(Club, Queen), CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Spade, Nine), CardId(Heart, Queen)});
    game.TakePile();
    ASSERT_EQ(game.Human().Canastas.Count, 1);
    game.UndoTake();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(game.Human().Canastas.Count, 0);
    EXPECT_EQ(game.Human().Canastas.Kind[Queen], NoCanasta);
    EXPECT_EQ(game.Human().Melds.Count, 6);
    EXPECT_EQ(game.Human().Melds.ColumnEnds[Queen].Y, game.Layout.HumanMeldBase + 72);  // spread out again
    EXPECT_EQ(game.DiscardPile.top().Deck, 1);
}

TEST_F(DiscardPileTest, ForcedTakeOfAnExhaustedStockTakesOnlyTheTopCard)
{
    game.Rules.AddExistingMeld = true;  // the existing meld alone would not do
    game.Turn.StockExhausted = true;
    Melds({CardId(Spade, Ace), CardId(Club, Ace), CardId(Heart, Ace), CardId(Diamond, Ace)});
    Hand({CardId(Spade, Six), CardId(Club, Seven), CardId(Spade, King)});
    Pile({CardId(Spade, Nine), CardId(Heart, Ace)});
    EXPECT_FALSE(game.CanTakePile(Side::Human, false));
    game.TakePile();
    EXPECT_EQ(game.DiscardPile.Count, 1);
    EXPECT_EQ(game.Human().Melds.Count, 5);
    EXPECT_EQ(game.Human().Hand.Count, 3);
    EXPECT_FALSE(game.Take.Pending);
    EXPECT_FALSE(game.Take.TopCardOnTable);
    EXPECT_FALSE(game.Turn.MustDraw);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);

    // Forced from three cards of the rank on the table, up to eight with AddToCanasta; never
    // onto a frozen pile, nor a one-card pile with one card in hand.
    game.DiscardPile = CardPile{};
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
    game.Turn.DiscardFrozen = true;
    EXPECT_FALSE(game.ForcedToTake(5, melds));
    game.Turn.DiscardFrozen = false;
    game.DiscardPile = CardPile{};
    Pile({CardId(Heart, Ace)});
    EXPECT_FALSE(game.ForcedToTake(1, melds));
    EXPECT_TRUE(game.ForcedToTake(2, melds));
}

TEST_F(DiscardPileTest, BlockingWithARedThree)
{
    Melds({RedThree});
    Hand({CardId(Spade, King), CardId(Club, King), CardId(Spade, Six), CardId(Club, Seven)});
    Pile({CardId(Heart, King)});
    game.BlockWithRedThree(0);  // ThreeBlock off
    EXPECT_EQ(game.Human().Melds.Count, 1);

    // Not while a take waits for its melds.
    game.Rules.ThreeBlock = true;
    game.TakePile();
    ASSERT_TRUE(game.Take.Pending);
    game.BlockWithRedThree(0);
    EXPECT_EQ(host.LastErrorText(), "Discarding is not possible now: you have not melded the top card correctly");
    game.UndoTake();

    game.BlockWithRedThree(0);
    EXPECT_EQ(game.Human().Melds.Count, 0);
    EXPECT_EQ(game.DiscardPile.top().Id, RedThree);
    EXPECT_TRUE(game.Turn.DiscardFrozen);
    EXPECT_TRUE(game.Turn.MustDraw);
    EXPECT_TRUE(game.Turn.ComputerTurn);
    EXPECT_FALSE(game.Turn.HasDrawn);
    EXPECT_EQ(host.ComputerTurns, 1);
    EXPECT_TRUE(Sent("DISCARDREDTHREE"));
}
