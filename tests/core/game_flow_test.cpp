#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int RedThree = CardId(Diamond, 2);
constexpr int FiveOfSpades = CardId(Spade, 4);
constexpr int NineOfSpades = CardId(Spade, 8);
constexpr int KingOfHearts = CardId(Heart, 12);
using Sent = std::vector<std::pair<std::string, std::string>>;
using Strings = std::vector<std::string>;

// The first seed whose deal satisfies the condition.
std::uint32_t FindDealSeed(const std::function<bool(const CanastaGame&)>& wanted)
{
    for (std::uint32_t seed = 1; seed < 20000; ++seed) {
        TableFixture f;
        f.game.Seed(seed);
        f.game.DealHand(false);
        if (wanted(f.game))
            return seed;
    }
    ADD_FAILURE() << "no seed deals the table the test needs";
    return 0;
}

void AddHumanKings(CanastaGame& g, int naturals, int wilds)
{
    for (int i = 0; i < naturals; ++i)
        AddToHumanMelds(g, i % 2 ? KingOfHearts : CardId(Club, 12));
    for (int i = 0; i < wilds; ++i)
        AddToHumanMelds(g, i % 2 ? JokerCard : CardId(Club, 1), 12);
}

class Flow : public ::testing::Test, public TableFixture {
protected:
    // The human is to draw, holding the cards given; the stock holds the others, the last on top.
    void StartHumanTurn(std::initializer_list<int> hand = {}, std::initializer_list<int> stock = {})
    {
        ReadyToDraw(game);
        for (int id : hand)
            AddToHumanHand(game, id);
        for (int id : stock)
            AddToStock(game, id);
    }
};

}  // namespace

TEST_F(Flow, DealFifteenCardsEachWithRedThreesLaidOutAndReplaced)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.Human().Melds.Count && g.Computer().Melds.Count; });
    AddToHumanHand(game, FiveOfSpades);
    AppendCard(game.Memory.KnownOpponentCards, MakeCard(FiveOfSpades, 0));
    game.Turn.StockExhausted = game.Turn.EndHandRequested = game.Match.DrawFirst = true;
    game.Seed(seed);
    game.DealHand(true);

    // No red three stays in a hand: each is laid out face up and replaced.
    ASSERT_EQ(game.Human().Hand.Count, 15);
    ASSERT_EQ(game.Computer().Hand.Count, 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_FALSE(IsRedThree(game.Human().Hand.Cards[i].Id));
        EXPECT_FALSE(IsRedThree(game.Computer().Hand.Cards[i].Id));
    }
    for (const CardPile* melds : {&game.Human().Melds, &game.Computer().Melds})
        for (int i = 0; i < melds->Count; ++i) {
            EXPECT_TRUE(IsRedThree(melds->Cards[i].Id));
            EXPECT_TRUE(melds->Cards[i].FaceUp);
        }
    EXPECT_FALSE(game.Turn.StockExhausted);
    EXPECT_FALSE(game.Turn.EndHandRequested);
    EXPECT_FALSE(game.Turn.HasDrawn);
    EXPECT_FALSE(game.Turn.ComputerTurn);
    EXPECT_FALSE(game.Match.DrawFirst);
    EXPECT_EQ(game.Memory.KnownOpponentCards.Count, 0);
    EXPECT_EQ(game.Snapshot.Hand, game.Human().Hand);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::Deal});
    EXPECT_EQ(host.TurnWindows, Strings{"It's your turn to draw first."});
    EXPECT_TRUE(host.Sent.empty());
}

TEST(Deal, TheComputerOpensAndTurnedUpWildCardsAndRedThreesFreezeThePileUnderAPlainTopCard)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count >= 3; });
    TableFixture f;
    RuleOptions rules = f.game.Rules;
    rules.InitialBlock = false;
    f.game.SetRules(rules);
    f.game.Match.DrawFirst = false;
    f.host.OnComputerTurn = [&] { EXPECT_EQ(f.game.Turn.Phase, TurnPhase::Opponent); };
    f.game.Seed(seed);
    f.game.DealHand(false);
    EXPECT_EQ(f.host.TurnWindows, Strings{"It's the computer's turn to draw first."});
    EXPECT_EQ(f.host.ComputerTurns, 1);
    EXPECT_TRUE(f.game.Turn.ComputerTurn);
    EXPECT_TRUE(f.game.Match.DrawFirst);
    const CardPile& pile = f.game.DiscardPile;
    for (int i = 0; i < pile.Count; ++i) {
        EXPECT_EQ(i + 1 < pile.Count, IsWild(pile.Cards[i].Rank) || IsRedThree(pile.Cards[i].Id)) << i;
        EXPECT_TRUE(pile.Cards[i].FaceUp);
        EXPECT_EQ(pile.Cards[i].Y, f.game.Layout.DiscardTop);
    }
    EXPECT_TRUE(f.game.Turn.DiscardFrozen);

    // A plain first card leaves the pile as the rules in force say.
    f.game.Seed(FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count == 1; }));
    f.game.DealHand(false);
    EXPECT_FALSE(f.game.Turn.DiscardFrozen);
}

TEST_F(Flow, ANetworkNewGameAsksFirstAndThenAwaitsThePartner)
{
    host.Network = true;
    game.Match.DrawFirst = false;
    game.Human().Score = 1200;
    game.Match.GameInProgress = true;
    game.NewGame();
    EXPECT_EQ(host.Confirmations,
              Strings{"You have a network game running. Are you sure you want to start a new game?"});
    EXPECT_EQ(game.Human().Score, 1200);
    EXPECT_EQ(game.Human().Hand.Count, 0);

    host.ConfirmAnswers = {true};
    game.NewGame();
    EXPECT_EQ(game.Human().Score, 0);
    EXPECT_FALSE(game.Match.GameInProgress);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Opponent);
    EXPECT_EQ(host.Sent, (Sent{{"NEWGAME", ""}, {"DEAL", game.Match.DealString}}));
    EXPECT_EQ(game.Match.DealString[0], '0');
    EXPECT_EQ(host.TurnWindows, Strings{"It's Partner's turn to draw first."});
    EXPECT_EQ(host.ComputerTurns, 0);
    EXPECT_TRUE(host.Sounds.empty());
}

TEST_F(Flow, DrawsOfOneAndTwoCardsWithRedThreesAndTheLastCardOfTheStock)
{
    StartHumanTurn({KingOfHearts}, {CardId(Heart, 2), NineOfSpades, KingOfHearts, RedThree, FiveOfSpades});
    game.DrawFromStock();
    ASSERT_EQ(game.Human().Hand.Count, 2);
    EXPECT_EQ(game.Human().Hand.Cards[1].Id, FiveOfSpades);
    EXPECT_TRUE(game.Human().Hand.Cards[1].FaceUp);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_TRUE(game.Turn.HasDrawn);
    EXPECT_TRUE(game.Match.GameInProgress);
    EXPECT_EQ(game.Snapshot.Hand, game.Human().Hand);
    EXPECT_EQ(host.Sent, (Sent{{"DRAWNEW", ""}}));
    game.DrawFromStock();
    EXPECT_EQ(host.Errors, (std::vector<std::pair<int, std::string>>{{3, "You have already drawn"}}));
    EXPECT_EQ(game.Stock.Count, 4);

    game.Rules.NumberOfCards = 2;
    StartHumanTurn();
    game.DrawFromStock();  // a red three, laid out and replaced by a king: one card of two
    ASSERT_EQ(game.Human().Melds.Count, 1);
    EXPECT_EQ(game.Human().Hand.Count, 3);
    EXPECT_EQ(host.Sent.size(), 3);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::SecondCard);
    EXPECT_FALSE(game.Turn.HasDrawn);
    EXPECT_FALSE(game.Turn.MustDraw);
    game.DrawFromStock();
    EXPECT_EQ(game.Turn.Phase, TurnPhase::MeldDiscard);
    EXPECT_TRUE(game.Turn.HasDrawn);
    EXPECT_EQ(game.Human().Hand.Count, 4);

    // The last card of the stock, a red three: laid out, nothing more to draw, the
    // draw is complete and End Hand is offered.
    StartHumanTurn();
    game.DrawFromStock();
    EXPECT_EQ(game.Human().Melds.Count, 2);
    EXPECT_TRUE(game.Turn.HasDrawn);
    EXPECT_TRUE(game.Turn.StockExhausted);
    EXPECT_EQ(host.StockExhaustedCalls, (std::vector<bool>{false, false, false, false, true}));
}

TEST_F(Flow, ARedThreeDrawnWithOneCardInHandForcesThePass)
{
    game.Rules.DrawExtra = false;
    StartHumanTurn({KingOfHearts}, {FiveOfSpades, RedThree});
    // The computer's turn ends as the turn frame ends it: the human is to draw.
    host.OnComputerTurn = [&] {
        EXPECT_TRUE(game.Turn.ComputerTurn);
        EXPECT_EQ(game.Turn.Phase, TurnPhase::Opponent);
        game.Turn.ComputerTurn = false;
        game.SetPhase(TurnPhase::Draw);
    };
    game.DrawFromStock();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(host.Sent.back().first, "PASSDISCARD");
    EXPECT_EQ(host.ComputerTurns, 1);
    EXPECT_EQ(game.Turn.Phase, TurnPhase::Draw);
    EXPECT_TRUE(game.Turn.MustDraw);
    EXPECT_FALSE(game.Turn.HasDrawn);
}

TEST(ForcedPass, OnlyWhenTheLastCardCannotCompleteTheMissingCanasta)
{
    struct Case {
        const char* name;
        int card, naturals, wilds, needed;
        bool pendingTake, passes;
    };
    for (const Case& c : {Case{"natural on six", KingOfHearts, 6, 0, 1, false, false},
                          Case{"natural on five", KingOfHearts, 5, 0, 1, false, true},
                          Case{"wild, six with three wilds", JokerCard, 3, 3, 1, false, true},
                          Case{"wild, six with two wilds", JokerCard, 4, 2, 1, false, false},
                          Case{"two canastas missing", KingOfHearts, 6, 0, 2, false, true},
                          Case{"a take waits for its melds", KingOfHearts, 5, 0, 1, true, false}}) {
        SCOPED_TRACE(c.name);
        TableFixture f;
        f.host.Network = true;
        f.game.Rules.NumberOfCanastas = c.needed;
        AddHumanKings(f.game, c.naturals, c.wilds);
        AddToHumanHand(f.game, c.card);
        AddToDiscardPile(f.game, NineOfSpades);
        f.game.Take.TopCardOnTable = c.pendingTake;
        f.game.CheckForcedPass();
        EXPECT_EQ(f.host.Messages.size(), c.passes ? 1u : 0u);
        EXPECT_EQ(f.game.Turn.ComputerTurn, c.passes);
        EXPECT_EQ(f.host.ComputerTurns, 0);
    }
}

TEST_F(Flow, DiscardRefusalsLeaveTheTableAsItWas)
{
    AddToHumanHand(game, {NineOfSpades, RedThree});
    game.Turn.HasDrawn = false;
    game.DiscardCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 2);
    game.Turn.HasDrawn = true;
    game.DiscardCard(1);  // a red three, and ThreeBlock is off
    EXPECT_EQ(host.LastErrorNumber(), 4);
    EXPECT_NE(host.LastErrorText().find("red threes"), std::string::npos);
    AddHumanKings(game, 2, 0);
    game.DiscardCard(0);
    EXPECT_EQ(host.LastErrorNumber(), 4);
    EXPECT_NE(host.LastErrorText().find("three cards"), std::string::npos);
    EXPECT_EQ(game.Human().Hand.Count, 2);
    EXPECT_EQ(game.DiscardPile.Count, 0);
    EXPECT_TRUE(host.Sent.empty());
}

TEST_F(Flow, EndHandIsRefusedToAForcedPlayerAndOtherwiseEndsTheHand)
{
    StartHumanTurn({NineOfSpades, FiveOfSpades});
    game.Turn.StockExhausted = true;
    AddHumanKings(game, 3, 0);
    AddToDiscardPile(game, KingOfHearts);
    game.EndHandClick();
    EXPECT_EQ(host.Messages.size(), 1u);
    EXPECT_FALSE(game.Turn.EndHandRequested);

    game.Turn.DiscardFrozen = true;
    game.EndHandClick();
    EXPECT_EQ(host.Sent.front().first, "HANDOVER");
    EXPECT_EQ(game.Match.WentOut, NobodyWentOut);
    EXPECT_NE(std::find(host.Phases.begin(), host.Phases.end(), TurnPhase::HandOver), host.Phases.end());
    EXPECT_EQ(game.Human().Hand.Count, 15);  // the next hand is dealt at once
}

TEST(EndOfHand, OnlyAWentOutSideOrEndHandEndsItAndInANetworkGameTheWinnerDeals)
{
    TableFixture f;
    AddToHand(f.game, NineOfSpades);
    EXPECT_FALSE(f.game.CheckEndOfHand());  // empty hand, but no canasta yet
    f.game.Turn.StockExhausted = true;
    EXPECT_FALSE(f.game.CheckEndOfHand());  // End Hand not pressed
    f.game.Human().Canastas.Count = 1;
    f.game.Turn.Phase = TurnPhase::HandOver;
    EXPECT_FALSE(f.game.CheckEndOfHand());  // already over
    EXPECT_TRUE(f.host.Phases.empty());
    f.game.Turn.Phase = TurnPhase::Draw;
    EXPECT_TRUE(f.game.CheckEndOfHand());
    EXPECT_EQ(f.game.Match.WentOut, HumanWentOut);
    EXPECT_EQ(f.game.Human().Hand.Count, 15);
    EXPECT_FALSE(f.game.Turn.HandEnding);

    // End Hand with nothing on either side scores 0 : 0, a tie: connection role one deals.
    // A lost hand is dealt by the partner.
    for (const bool roleOne : {false, true}) {
        TableFixture n;
        n.host.Network = true;
        n.host.RoleOne = roleOne;
        n.game.Turn.StockExhausted = n.game.Turn.EndHandRequested = true;
        EXPECT_TRUE(n.game.CheckEndOfHand());
        EXPECT_EQ(n.game.Human().Hand.Count, roleOne ? 15 : 0);
    }
    TableFixture lost;
    lost.host.Network = lost.host.RoleOne = true;
    AddToHumanHand(lost.game, NineOfSpades);
    lost.game.Computer().Canastas.Count = 1;
    EXPECT_TRUE(lost.game.CheckEndOfHand());
    EXPECT_EQ(lost.game.Match.WentOut, ComputerWentOut);
    EXPECT_EQ(lost.game.Human().Hand.Count, 1);
}
