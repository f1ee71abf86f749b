#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <tuple>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int RedThree = CardId(Diamond, 2);
constexpr int Five = CardId(Spade, 4);
constexpr int Nine = CardId(Spade, 8);
constexpr int King = CardId(Heart, 12);
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
        AddToHumanMelds(g, i % 2 ? King : CardId(Club, 12));
    for (int i = 0; i < wilds; ++i)
        AddToHumanMelds(g, i % 2 ? Joker : CardId(Club, 1), 12);
}

class Flow : public ::testing::Test, public TableFixture {
protected:
    // The human is to draw, holding the cards given; the stock holds the others, the last on top.
    void StartHumanTurn(std::initializer_list<int> hand = {}, std::initializer_list<int> stock = {})
    {
        game.HasDrawn = false;
        game.MustDraw = true;
        game.Phase = PhaseDraw;
        for (int id : hand)
            AddToHumanHand(game, id);
        for (int id : stock)
            AddToStock(game, id);
    }
};

}  // namespace

TEST_F(Flow, DealFifteenCardsEachWithRedThreesLaidOutAndReplaced)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.HumanMelds.Count && g.ComputerMelds.Count; });
    AddToHumanHand(game, Five);
    AppendCard(game.KnownHumanCards, MakeCard(Five, 0));
    game.StockExhausted = game.EndHandRequested = game.DrawFirst = true;
    game.Seed(seed);
    game.DealHand(true);

    std::map<int, int> ids;
    for (const CardPile* p : {&game.Stock, &game.DiscardPile, &game.HumanHand, &game.ComputerHand, &game.HumanMelds,
                              &game.ComputerMelds})
        for (int i = 0; i < p->Count; ++i)
            ++ids[p->Cards[i].Id];
    for (const auto& [id, n] : ids)
        EXPECT_EQ(n, id == Joker ? 4 : 2) << "card " << id;
    ASSERT_EQ(game.HumanHand.Count, 15);
    ASSERT_EQ(game.ComputerHand.Count, 15);
    std::array<int, ColumnCount> perColumn{};
    for (int i = 0; i < 15; ++i) {
        const CardRecord& h = game.HumanHand.Cards[i];
        EXPECT_FALSE(IsRedThree(h.Id) || IsRedThree(game.ComputerHand.Cards[i].Id));
        EXPECT_EQ(h.X, game.Layout.ColumnX(h.Rank));
        EXPECT_EQ(h.Y, game.Layout.HumanHandBase + StackStep * ++perColumn[h.Rank]);
    }
    for (const auto& [pile, base, step] : {std::tuple{&game.HumanMelds, game.Layout.HumanMeldBase, StackStep},
                                           std::tuple{&game.ComputerMelds, game.Layout.ComputerMeldBase, -StackStep}})
        for (int i = 0; i < pile->Count; ++i) {
            const CardRecord& c = pile->Cards[i];
            EXPECT_TRUE(IsRedThree(c.Id) && c.FaceUp && c.X == game.Layout.ColumnX(2));
            EXPECT_EQ(c.Y, base + step * (i + 1));
        }
    EXPECT_FALSE(game.StockExhausted || game.EndHandRequested || game.HasDrawn || game.ComputerTurn || game.DrawFirst);
    EXPECT_TRUE(game.KnownHumanCards.Count == 0 && game.HumanHandBackup == game.HumanHand && game.Phase == PhaseDraw);
    EXPECT_EQ(host.Sounds, std::vector<SoundEvent>{SoundEvent::Deal});
    EXPECT_EQ(host.TurnWindows, Strings{"It's your turn to draw first."});
    EXPECT_TRUE(host.Sent.empty());
}

TEST(Deal, TheComputerOpensAndTurnedUpWildCardsAndRedThreesFreezeThePileUnderAPlainTopCard)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count >= 3; });
    TableFixture f;
    f.settings.WriteValue("Settings\\Initial Block", false);
    f.game.DrawFirst = false;
    f.host.OnComputerTurn = [&] { EXPECT_EQ(f.game.Phase, PhaseOpponent); };
    f.game.Seed(seed);
    f.game.DealHand(false);
    EXPECT_EQ(f.host.TurnWindows, Strings{"It's the computer's turn to draw first."});
    EXPECT_TRUE(f.host.ComputerTurns == 1 && f.game.ComputerTurn && f.game.DrawFirst);
    const CardPile& pile = f.game.DiscardPile;
    for (int i = 0; i < pile.Count; ++i) {
        EXPECT_EQ(i + 1 < pile.Count, IsWild(pile.Cards[i].Rank) || IsRedThree(pile.Cards[i].Id)) << i;
        EXPECT_TRUE(pile.Cards[i].FaceUp && pile.Cards[i].Y == f.game.Layout.DiscardTop);
    }
    EXPECT_TRUE(f.game.DiscardFrozen);

    // A plain first card leaves the pile as the setting says.
    f.game.Seed(FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count == 1; }));
    f.game.DealHand(false);
    EXPECT_FALSE(f.game.DiscardFrozen);
}

TEST_F(Flow, ANetworkNewGameAsksFirstAndThenAwaitsThePartner)
{
    host.Network = true;
    game.DrawFirst = false;
    game.HumanScore = 1200;
    game.GameInProgress = true;
    game.NewGame();
    EXPECT_EQ(host.Confirmations,
              Strings{"You have a network game running. Are you sure you want to start a new game?"});
    EXPECT_TRUE(game.HumanScore == 1200 && game.HumanHand.Count == 0);

    host.ConfirmAnswers = {true};
    game.NewGame();
    EXPECT_TRUE(game.HumanScore == 0 && !game.GameInProgress && game.Phase == PhaseOpponent);
    EXPECT_EQ(host.Sent, (Sent{{"NEWGAME", ""}, {"DEAL", game.DealString}}));
    EXPECT_EQ(game.DealString[0], '0');
    EXPECT_EQ(host.TurnWindows, Strings{"It's Partner's turn to draw first."});
    EXPECT_TRUE(host.ComputerTurns == 0 && host.Sounds.empty());
}

TEST_F(Flow, DrawsOfOneAndTwoCardsWithRedThreesAndTheLastCardOfTheStock)
{
    StartHumanTurn({King}, {CardId(Heart, 2), RedThree, Nine, King, RedThree, Five});
    game.DrawFromStock();
    ASSERT_EQ(game.HumanHand.Count, 2);
    const CardRecord& five = game.HumanHand.Cards[1];
    EXPECT_TRUE(five.Id == Five && five.FaceUp && five.Y == game.Layout.HumanHandBase + StackStep);
    ASSERT_EQ(host.Flights.size(), 1u);
    EXPECT_TRUE(host.Flights[0].FromY == game.Layout.StockTop && host.Flights[0].ToX == game.Layout.ColumnX(4));
    EXPECT_TRUE(game.Phase == PhaseMeldDiscard && game.HasDrawn && game.GameInProgress);
    EXPECT_EQ(game.HumanHandBackup, game.HumanHand);
    EXPECT_EQ(host.Sent, (Sent{{"DRAWNEW", ""}}));
    game.DrawFromStock();
    EXPECT_EQ(host.Errors, (std::vector<std::pair<int, std::string>>{{3, "You have already drawn"}}));
    EXPECT_EQ(game.Stock.Count, 5);

    game.Rules.NumberOfCards = 2;
    StartHumanTurn();
    game.DrawFromStock();  // a red three, laid out and replaced by a king: one card of two
    ASSERT_EQ(game.HumanMelds.Count, 1);
    EXPECT_EQ(game.HumanMelds.Cards[0].X, game.Layout.ColumnX(2));
    EXPECT_EQ(game.HumanMelds.Cards[0].Y, game.Layout.HumanMeldBase + StackStep);
    EXPECT_TRUE(game.HumanHand.Count == 3 && host.Sent.size() == 3 && game.Phase == PhaseSecondCard);
    EXPECT_FALSE(game.HasDrawn || game.MustDraw);
    game.DrawFromStock();
    EXPECT_TRUE(game.Phase == PhaseMeldDiscard && game.HasDrawn && game.HumanHand.Count == 4);

    // Without DrawExtra the red three is the card drawn.
    game.Rules.DrawExtra = false;
    game.Rules.NumberOfCards = 1;
    StartHumanTurn();
    game.DrawFromStock();
    EXPECT_TRUE(game.HumanMelds.Count == 2 && game.HumanHand.Count == 4 && game.HasDrawn);

    // The last card of the stock, a red three: laid out, nothing more to draw, the
    // draw is complete and End Hand is offered.
    game.Rules.DrawExtra = true;
    game.Rules.NumberOfCards = 2;
    StartHumanTurn();
    game.DrawFromStock();
    EXPECT_TRUE(game.HumanMelds.Count == 3 && game.HasDrawn && game.StockExhausted);
    EXPECT_EQ(host.StockExhaustedCalls, (std::vector<bool>{false, false, false, false, false, true}));
}

TEST_F(Flow, ARedThreeDrawnWithOneCardInHandForcesThePass)
{
    game.Rules.DrawExtra = false;
    StartHumanTurn({King}, {Five, RedThree});
    // The computer's turn ends as the turn frame ends it: the human is to draw.
    host.OnComputerTurn = [&] {
        EXPECT_TRUE(game.ComputerTurn && game.Phase == PhaseOpponent);
        game.ComputerTurn = false;
        game.SetPhase(PhaseDraw);
    };
    game.DrawFromStock();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(host.Messages[0].Text,
              "You only have one card left, and not enough Canastas to go out.\r You have to pass the discard.");
    EXPECT_EQ(host.Sent.back().first, "PASSDISCARD");
    EXPECT_TRUE(host.ComputerTurns == 1 && game.Phase == PhaseDraw && game.MustDraw && !game.HasDrawn);
}

TEST(ForcedPass, OnlyWhenTheLastCardCannotCompleteTheMissingCanasta)
{
    struct Case {
        const char* name;
        int card, naturals, wilds, needed;
        bool pendingTake, passes;
    };
    for (const Case& c : {Case{"natural on six", King, 6, 0, 1, false, false},
                          Case{"natural on five", King, 5, 0, 1, false, true},
                          Case{"wild, six with three wilds", Joker, 3, 3, 1, false, true},
                          Case{"wild, six with two wilds", Joker, 4, 2, 1, false, false},
                          Case{"two canastas missing", King, 6, 0, 2, false, true},
                          Case{"a take waits for its melds", King, 5, 0, 1, true, false}}) {
        SCOPED_TRACE(c.name);
        TableFixture f;
        f.host.Network = true;
        f.game.Rules.NumberOfCanastas = c.needed;
        AddHumanKings(f.game, c.naturals, c.wilds);
        AddToHumanHand(f.game, c.card);
        AddToDiscardPile(f.game, Nine);
        f.game.TopCardOnTable = c.pendingTake;
        f.game.CheckForcedPass();
        EXPECT_EQ(f.host.Messages.size(), c.passes ? 1u : 0u);
        EXPECT_EQ(f.game.ComputerTurn, c.passes);
        EXPECT_EQ(f.host.ComputerTurns, 0);
    }
}

TEST_F(Flow, DiscardRefusalsLeaveTheTableAsItWas)
{
    AddToHumanHand(game, Nine);
    AddToHumanHand(game, RedThree);
    game.HasDrawn = false;
    game.DiscardCard(0);
    EXPECT_EQ(host.Errors.back(),
              std::make_pair(2, std::string("You cannot discard before drawing; please draw first by clicking on "
                                            "the stock or the discard pile")));
    game.HasDrawn = true;
    game.DiscardCard(1);  // a red three, and ThreeBlock is off
    EXPECT_EQ(host.LastErrorText(),
              "Discarding is not possible now: red threes may not be discarded with the current rules");
    AddHumanKings(game, 2, 0);
    game.DiscardCard(0);
    EXPECT_EQ(host.Errors.back(),
              std::make_pair(4, std::string("Discarding is not possible now: every column on the table must contain "
                                            "at least three cards")));
    EXPECT_TRUE(game.HumanHand.Count == 2 && game.DiscardPile.Count == 0 && host.Sent.empty());
}

TEST_F(Flow, TheDiscardGoesOnThePileAndTheTurnPasses)
{
    AddToHumanHand(game, Nine);
    AddToHumanHand(game, Nine, 1);
    AppendCard(game.KnownHumanCards, MakeCard(Nine, 0));
    host.OnComputerTurn = [&] { EXPECT_EQ(game.Phase, PhaseOpponent); };
    game.DiscardCard(0);
    ASSERT_EQ(game.DiscardPile.Count, 1);
    EXPECT_TRUE(game.DiscardPile.top().Id == Nine && game.DiscardPile.top().Y == game.Layout.DiscardTop);
    EXPECT_EQ(game.HumanHand.Cards[0].Y, game.Layout.HumanHandBase + StackStep);  // the other nine moved up
    EXPECT_EQ(game.KnownHumanCards.Count, 0);
    EXPECT_EQ(host.Sent, (Sent{{"DISCARD", "8"}}));
    EXPECT_EQ(host.Phases, (std::vector<int>{PhaseDraw, PhaseOpponent}));
    EXPECT_TRUE(host.ComputerTurns == 1 && game.ComputerTurn && game.MustDraw && !game.HasDrawn && !game.DiscardFrozen);
}

TEST_F(Flow, EndHandIsRefusedToAForcedPlayerAndOtherwiseEndsTheHand)
{
    StartHumanTurn({Nine, Five});
    game.StockExhausted = true;
    AddHumanKings(game, 3, 0);
    AddToDiscardPile(game, King);
    game.EndHandClick();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text,
              "You cannot end this hand now, because you must \n\rmeld the top card of the pile. (You are 'forced').");
    EXPECT_FALSE(game.EndHandRequested);

    game.DiscardFrozen = true;
    game.EndHandClick();
    EXPECT_TRUE(host.Sent.front().first == "HANDOVER" && game.WentOut == NobodyWentOut);
    EXPECT_NE(std::find(host.Phases.begin(), host.Phases.end(), PhaseHandOver), host.Phases.end());
    EXPECT_EQ(game.HumanHand.Count, 15);  // the next hand is dealt at once
}

TEST(EndOfHand, OnlyAWentOutSideOrEndHandEndsItAndInANetworkGameTheWinnerDeals)
{
    TableFixture f;
    AddToComputerHand(f.game, Nine);
    EXPECT_FALSE(f.game.CheckEndOfHand());  // empty hand, but no canasta yet
    f.game.StockExhausted = true;
    EXPECT_FALSE(f.game.CheckEndOfHand());  // End Hand not pressed
    f.game.HumanCanastas.Count = 1;
    f.game.Phase = PhaseHandOver;
    EXPECT_FALSE(f.game.CheckEndOfHand());  // already over
    EXPECT_TRUE(f.host.Phases.empty());
    f.game.Phase = PhaseDraw;
    EXPECT_TRUE(f.game.CheckEndOfHand());
    EXPECT_TRUE(f.game.WentOut == HumanWentOut && f.game.HumanHand.Count == 15 && !f.game.HandEnding);

    // End Hand with nothing on either side scores 0 : 0, a tie: connection role one deals.
    // A lost hand is dealt by the partner.
    for (const bool roleOne : {false, true}) {
        TableFixture n;
        n.host.Network = true;
        n.host.RoleOne = roleOne;
        n.game.StockExhausted = n.game.EndHandRequested = true;
        EXPECT_TRUE(n.game.CheckEndOfHand());
        EXPECT_EQ(n.game.HumanHand.Count, roleOne ? 15 : 0);
    }
    TableFixture lost;
    lost.host.Network = lost.host.RoleOne = true;
    AddToHumanHand(lost.game, Nine);
    lost.game.ComputerCanastas.Count = 1;
    EXPECT_TRUE(lost.game.CheckEndOfHand());
    EXPECT_TRUE(lost.game.WentOut == ComputerWentOut && lost.game.HumanHand.Count == 1);
}
