#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "core/game.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;

namespace {

constexpr int RedThree = CardId(Diamond, 2);
constexpr int Five = CardId(Spade, 4);
constexpr int Nine = CardId(Spade, 8);
constexpr int King = CardId(Heart, 12);
constexpr int Two = CardId(Club, 1);
using Sent = std::vector<std::pair<std::string, std::string>>;

void StartHumanTurn(CanastaGame& g)
{
    g.HasDrawn = false;
    g.MustDraw = true;
    g.Phase = PhaseDraw;
}

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
        AddToHumanMelds(g, i % 2 ? Joker : Two, 12);
}

}  // namespace

TEST(Deal, FifteenCardsEachWithRedThreesLaidOutAndReplaced)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.HumanMelds.Count && g.ComputerMelds.Count; });
    TableFixture f;
    CanastaGame& g = f.game;
    AddToHumanHand(g, Five);
    AppendCard(g.KnownHumanCards, MakeCard(Five, 0));
    g.StockExhausted = g.EndHandRequested = true;
    g.DrawFirst = true;
    g.Seed(seed);
    g.DealHand(true);

    std::map<int, int> ids;
    for (const CardPile* p : {&g.Stock, &g.DiscardPile, &g.HumanHand, &g.ComputerHand, &g.HumanMelds, &g.ComputerMelds})
        for (int i = 0; i < p->Count; ++i)
            ++ids[p->Cards[i].Id];
    for (const auto& [id, n] : ids)
        EXPECT_EQ(n, id == Joker ? 4 : 2) << "card " << id;
    ASSERT_EQ(g.HumanHand.Count, 15);
    ASSERT_EQ(g.ComputerHand.Count, 15);
    std::array<int, ColumnCount> perColumn{};
    for (int i = 0; i < 15; ++i) {
        const CardRecord& h = g.HumanHand.Cards[i];
        EXPECT_FALSE(IsRedThree(h.Id) || IsRedThree(g.ComputerHand.Cards[i].Id));
        EXPECT_EQ(h.X, g.Layout.ColumnX(h.Rank));
        EXPECT_EQ(h.Y, g.Layout.HumanHandBase + StackStep * ++perColumn[h.Rank]);
        EXPECT_EQ(g.ComputerHand.Cards[i].X, LeftMargin + i * g.ComputerHandSpacing);
    }
    for (int i = 0; i < g.HumanMelds.Count; ++i) {
        EXPECT_TRUE(IsRedThree(g.HumanMelds.Cards[i].Id));
        EXPECT_EQ(g.HumanMelds.Cards[i].X, g.Layout.ColumnX(2));
        EXPECT_EQ(g.HumanMelds.Cards[i].Y, g.Layout.HumanMeldBase + StackStep * (i + 1));
    }
    for (int i = 0; i < g.ComputerMelds.Count; ++i) {
        EXPECT_TRUE(IsRedThree(g.ComputerMelds.Cards[i].Id) && g.ComputerMelds.Cards[i].FaceUp);
        EXPECT_EQ(g.ComputerMelds.Cards[i].Y, g.Layout.ComputerMeldBase - StackStep * (i + 1));
    }

    EXPECT_EQ(g.KnownHumanCards.Count, 0);
    EXPECT_FALSE(g.StockExhausted || g.EndHandRequested || g.HasDrawn || g.ComputerTurn);
    EXPECT_EQ(g.HumanHandBackup, g.HumanHand);
    EXPECT_EQ(g.HumanMinimumMeld, 50);
    EXPECT_EQ(g.Phase, PhaseDraw);
    EXPECT_FALSE(g.DrawFirst);
    EXPECT_EQ(f.host.Sounds, std::vector<SoundEvent>{SoundEvent::Deal});
    EXPECT_EQ(f.host.TurnWindows, std::vector<std::string>{"It's your turn to draw first."});
    EXPECT_EQ(f.host.UndoEnabledCalls, std::vector<bool>{false});
    EXPECT_TRUE(f.host.Sent.empty());
}

TEST(Deal, TurnedUpWildCardsAndRedThreesStayUnderAPlainTopCardAndFreezeThePile)
{
    const auto seed = FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count >= 3; });
    TableFixture f;
    f.settings.WriteValue("Settings\\Initial Block", false);
    f.game.Seed(seed);
    f.game.DealHand(false);
    const CardPile& pile = f.game.DiscardPile;
    for (int i = 0; i < pile.Count; ++i) {
        EXPECT_EQ(i + 1 < pile.Count, IsWild(pile.Cards[i].Rank) || IsRedThree(pile.Cards[i].Id)) << i;
        EXPECT_TRUE(pile.Cards[i].FaceUp && pile.Cards[i].Y == f.game.Layout.DiscardTop);
    }
    EXPECT_TRUE(f.game.DiscardFrozen);

    // A plain first card leaves the pile as the setting says; without a store the default freezes it.
    const auto plainSeed = FindDealSeed([](const CanastaGame& g) { return g.DiscardPile.Count == 1; });
    TableFixture plain;
    plain.settings.WriteValue("Settings\\Initial Block", false);
    plain.game.Seed(plainSeed);
    plain.game.DealHand(false);
    EXPECT_FALSE(plain.game.DiscardFrozen);
    RecordingHost host;
    CanastaGame noStore(host, nullptr);
    noStore.Seed(plainSeed);
    noStore.DiscardFrozen = false;
    noStore.DealHand(false);
    EXPECT_TRUE(noStore.DiscardFrozen);
}

TEST(Deal, TheComputerOpensAtOnceButThePartnerIsAwaited)
{
    TableFixture f;
    f.game.DrawFirst = false;
    f.host.OnComputerTurn = [&] { EXPECT_EQ(f.game.Phase, PhaseOpponent); };
    f.game.DealHand(false);
    EXPECT_EQ(f.host.TurnWindows, std::vector<std::string>{"It's the computer's turn to draw first."});
    EXPECT_EQ(f.host.ComputerTurns, 1);
    EXPECT_TRUE(f.game.ComputerTurn && f.game.DrawFirst);

    TableFixture net;
    net.host.Network = true;
    net.game.DrawFirst = false;
    net.settings.WriteValue("Settings\\Show Turns", true);
    net.game.DealHand(false);
    EXPECT_EQ(net.host.TurnWindows, std::vector<std::string>{"It's Partner's turn to draw first."});
    EXPECT_EQ(net.host.ComputerTurns, 0);
    EXPECT_EQ(net.game.Phase, PhaseOpponent);
    EXPECT_EQ(net.host.Sent, (Sent{{"DEAL", net.game.DealString}}));
    EXPECT_EQ(net.game.DealString.substr(0, 1), "0");

    TableFixture quiet;
    quiet.settings.WriteValue("Settings\\Show Turns", false);
    quiet.game.DealHand(false);
    EXPECT_TRUE(quiet.host.TurnWindows.empty());
}

TEST(NewGame, ANetworkGameAsksFirstThenScoresStartAtZero)
{
    TableFixture f;
    f.host.Network = true;
    f.game.HumanScore = 1200;
    f.game.GameInProgress = true;
    f.game.NewGame();
    EXPECT_EQ(f.host.Confirmations,
              std::vector<std::string>{"You have a network game running. Are you sure you want to start a new game?"});
    EXPECT_EQ(f.game.HumanScore, 1200);
    EXPECT_EQ(f.game.HumanHand.Count, 0);

    f.host.ConfirmAnswers = {true};
    f.game.NewGame();
    EXPECT_EQ(f.game.HumanScore, 0);
    EXPECT_FALSE(f.game.GameInProgress);
    EXPECT_EQ(f.game.HumanHand.Count, 15);
    ASSERT_EQ(f.host.Sent.size(), 2u);
    EXPECT_EQ(f.host.Sent[0].first, "NEWGAME");
    EXPECT_TRUE(f.host.Sounds.empty());
}

TEST(Draw, OneCardCompletesTheDrawAndASecondClickIsRefused)
{
    TableFixture f;
    CanastaGame& g = f.game;
    StartHumanTurn(g);
    AddToHumanHand(g, King);
    AddToHumanHand(g, King, 1);
    AddToStock(g, Nine);
    AddToStock(g, Five);
    g.DrawFromStock();
    ASSERT_EQ(g.HumanHand.Count, 3);
    const CardRecord& five = g.HumanHand.Cards[2];
    EXPECT_TRUE(five.Id == Five && five.FaceUp);
    EXPECT_EQ(five.Y, g.Layout.HumanHandBase + StackStep);
    ASSERT_EQ(f.host.Flights.size(), 1u);
    EXPECT_EQ(f.host.Flights[0].FromY, g.Layout.StockTop);
    EXPECT_EQ(f.host.Flights[0].ToX, g.Layout.ColumnX(4));
    EXPECT_EQ(g.Phase, PhaseMeldDiscard);
    EXPECT_TRUE(g.HasDrawn && g.GameInProgress);
    EXPECT_EQ(g.HumanHandBackup, g.HumanHand);
    EXPECT_EQ(f.host.Sent, (Sent{{"DRAWNEW", ""}}));

    g.DrawFromStock();
    EXPECT_EQ(f.host.Errors, (std::vector<std::pair<int, std::string>>{{3, "You have already drawn"}}));
    EXPECT_EQ(g.Stock.Count, 1);
}

TEST(Draw, TwoCardsPerTurnAndTheLastCardOfTheStock)
{
    TableFixture f;
    CanastaGame& g = f.game;
    g.Rules.NumberOfCards = 2;
    StartHumanTurn(g);
    AddToHumanHand(g, King);
    for (int id : {King, Nine, Five})
        AddToStock(g, id);
    g.DrawFromStock();
    EXPECT_EQ(g.Phase, PhaseSecondCard);
    EXPECT_FALSE(g.HasDrawn || g.MustDraw);
    g.DrawFromStock();
    EXPECT_EQ(g.Phase, PhaseMeldDiscard);
    EXPECT_TRUE(g.HasDrawn);

    // One card left: it completes the draw, and End Hand is offered.
    StartHumanTurn(g);
    g.DrawFromStock();
    EXPECT_TRUE(g.HasDrawn && g.StockExhausted);
    EXPECT_EQ(f.host.StockExhaustedCalls, (std::vector<bool>{false, false, true}));
}

TEST(Draw, RedThreesAreLaidOutAndReplacedOnlyWithDrawExtra)
{
    TableFixture f;
    CanastaGame& g = f.game;
    StartHumanTurn(g);
    AddToHumanHand(g, King);
    AddToHumanHand(g, King, 1);
    for (int id : {Five, Nine, RedThree})
        AddToStock(g, id);
    g.DrawFromStock();
    ASSERT_EQ(g.HumanMelds.Count, 1);
    EXPECT_EQ(g.HumanMelds.Cards[0].X, g.Layout.ColumnX(2));
    EXPECT_EQ(g.HumanMelds.Cards[0].Y, g.Layout.HumanMeldBase + StackStep);
    EXPECT_EQ(g.HumanHand.Count, 3);
    EXPECT_EQ(g.Phase, PhaseMeldDiscard);
    EXPECT_EQ(f.host.Sent.size(), 2u);

    g.Rules.DrawExtra = false;
    StartHumanTurn(g);
    AddToStock(g, RedThree, 1);
    g.DrawFromStock();
    EXPECT_EQ(g.HumanMelds.Count, 2);
    EXPECT_EQ(g.Stock.Count, 1);
    EXPECT_TRUE(g.HasDrawn);

    // The last card of the stock: laid out, nothing more to draw, the draw is complete.
    g.Rules.DrawExtra = true;
    g.Rules.NumberOfCards = 2;
    StartHumanTurn(g);
    g.Stock = CardPile{};
    AddToStock(g, CardId(Heart, 2));
    g.DrawFromStock();
    EXPECT_EQ(g.HumanMelds.Count, 3);
    EXPECT_TRUE(g.HasDrawn && g.StockExhausted);
}

TEST(ForcedPass, ARedThreeDrawnWithOneCardInHandPassesTheDiscard)
{
    TableFixture f;
    CanastaGame& g = f.game;
    g.Rules.DrawExtra = false;
    StartHumanTurn(g);
    AddToHumanHand(g, King);
    AddToStock(g, Five);
    AddToStock(g, RedThree);
    // The computer's turn ends as the turn frame ends it: the human is to draw.
    f.host.OnComputerTurn = [&] {
        EXPECT_TRUE(g.ComputerTurn && g.Phase == PhaseOpponent);
        g.ComputerTurn = false;
        g.SetPhase(PhaseDraw);
    };
    g.DrawFromStock();
    EXPECT_EQ(g.Phase, PhaseDraw);
    ASSERT_EQ(f.host.Messages.size(), 1u);
    EXPECT_EQ(f.host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(f.host.Messages[0].Text,
              "You only have one card left, and not enough Canastas to go out.\r You have to pass the discard.");
    EXPECT_EQ(f.host.Sent.back().first, "PASSDISCARD");
    EXPECT_EQ(f.host.ComputerTurns, 1);
    EXPECT_FALSE(g.HasDrawn);
    EXPECT_TRUE(g.MustDraw);
}

TEST(ForcedPass, OnlyWhenTheLastCardCannotCompleteTheMissingCanasta)
{
    struct Case {
        const char* name;
        int card, naturals, wilds, needed;
        bool passes;
    };
    for (const Case& c : {Case{"natural on six", King, 6, 0, 1, false}, Case{"natural on five", King, 5, 0, 1, true},
                          Case{"wild, six with three wilds", Joker, 3, 3, 1, true},
                          Case{"wild, six with two wilds", Joker, 4, 2, 1, false},
                          Case{"two canastas missing", King, 6, 0, 2, true}}) {
        TableFixture f;
        f.host.Network = true;
        f.game.Rules.NumberOfCanastas = c.needed;
        AddHumanKings(f.game, c.naturals, c.wilds);
        AddToHumanHand(f.game, c.card);
        f.game.CheckForcedPass();
        EXPECT_EQ(f.host.Messages.size(), c.passes ? 1u : 0u) << c.name;
        EXPECT_EQ(f.game.ComputerTurn, c.passes) << c.name;
        EXPECT_EQ(f.host.ComputerTurns, 0) << c.name;
    }

    // Not while a take waits for its melds, nor on a table the meld check refuses.
    TableFixture taking, broken;
    AddToHumanHand(taking.game, King);
    AddToDiscardPile(taking.game, Nine);
    taking.game.TopCardOnTable = true;
    taking.game.CheckForcedPass();
    AddHumanKings(broken.game, 2, 0);
    AddToHumanHand(broken.game, Nine);
    broken.game.CheckForcedPass();
    EXPECT_TRUE(taking.host.Messages.empty() && broken.host.Messages.empty());
}

TEST(Discard, RefusalsLeaveTheTableAsItWas)
{
    TableFixture f;
    CanastaGame& g = f.game;
    AddToHumanHand(g, Nine);
    AddToHumanHand(g, RedThree);
    g.HasDrawn = false;
    g.DiscardCard(0);
    EXPECT_EQ(f.host.Errors.back(),
              std::make_pair(2, std::string("You cannot discard before drawing; please draw first by clicking on "
                                            "the stock or the discard pile")));
    g.HasDrawn = true;
    g.DiscardCard(1);  // a red three, and ThreeBlock is off
    EXPECT_EQ(f.host.LastErrorNumber(), 4);

    AddHumanKings(g, 2, 0);
    g.DiscardCard(0);
    EXPECT_EQ(f.host.LastErrorText(),
              "Discarding is not possible now: every column on the table must contain at least three cards");
    EXPECT_EQ(g.HumanHand.Count, 2);
    EXPECT_EQ(g.DiscardPile.Count, 0);
    EXPECT_TRUE(f.host.Sent.empty());
}

TEST(Discard, TheCardGoesOnThePileAndTheTurnPasses)
{
    TableFixture f;
    CanastaGame& g = f.game;
    AddToHumanHand(g, Nine);
    AddToHumanHand(g, Nine, 1);
    AddToHumanHand(g, Two);
    AppendCard(g.KnownHumanCards, MakeCard(Nine, 1));
    f.host.OnComputerTurn = [&] { EXPECT_EQ(g.Phase, PhaseOpponent); };
    g.DiscardCard(0);
    ASSERT_EQ(g.DiscardPile.Count, 1);
    EXPECT_EQ(g.DiscardPile.top().Id, Nine);
    EXPECT_EQ(g.DiscardPile.top().Y, g.Layout.DiscardTop);
    EXPECT_EQ(g.HumanHand.Cards[0].Y, g.Layout.HumanHandBase + StackStep);  // the other nine moved up
    EXPECT_EQ(g.KnownHumanCards.Count, 0);
    EXPECT_EQ(f.host.Sent, (Sent{{"DISCARD", "8"}}));
    EXPECT_EQ(f.host.Phases, (std::vector<int>{PhaseDraw, PhaseOpponent}));
    EXPECT_EQ(f.host.ComputerTurns, 1);
    EXPECT_TRUE(g.ComputerTurn && g.MustDraw && !g.HasDrawn && !g.DiscardFrozen);

    // A wild card freezes the pile; in a network game the partner plays the reply.
    f.host.Network = true;
    g.ComputerTurn = false;
    g.HasDrawn = true;
    g.DiscardCard(1);
    EXPECT_TRUE(g.DiscardPile.top().Id == Two && g.DiscardFrozen);
    EXPECT_EQ(f.host.ComputerTurns, 1);
}

TEST(EndOfHand, EndHandIsRefusedToAForcedPlayerAndOtherwiseEndsTheHand)
{
    TableFixture f;
    CanastaGame& g = f.game;
    StartHumanTurn(g);
    g.StockExhausted = true;
    AddHumanKings(g, 3, 0);
    AddToHumanHand(g, Nine);
    AddToHumanHand(g, Five);
    AddToDiscardPile(g, King);
    g.EndHandClick();
    ASSERT_EQ(f.host.Messages.size(), 1u);
    EXPECT_EQ(f.host.Messages[0].Text,
              "You cannot end this hand now, because you must \n\rmeld the top card of the pile. (You are 'forced').");
    EXPECT_FALSE(g.EndHandRequested);

    g.DiscardFrozen = true;
    g.EndHandClick();
    EXPECT_EQ(f.host.Sent.front().first, "HANDOVER");
    EXPECT_EQ(g.WentOut, NobodyWentOut);
    EXPECT_NE(std::find(f.host.Phases.begin(), f.host.Phases.end(), PhaseHandOver), f.host.Phases.end());
    EXPECT_EQ(g.HumanHand.Count, 15);  // the next hand is dealt at once
}

TEST(EndOfHand, OnlyAWentOutSideOrEndHandEndsIt)
{
    TableFixture f;
    CanastaGame& g = f.game;
    AddToComputerHand(g, Nine);
    EXPECT_FALSE(g.CheckEndOfHand());  // empty hand, but no canasta yet
    g.StockExhausted = true;
    EXPECT_FALSE(g.CheckEndOfHand());  // End Hand not pressed
    g.HumanCanastas.Count = 1;
    g.Phase = PhaseHandOver;
    EXPECT_FALSE(g.CheckEndOfHand());  // already over
    EXPECT_TRUE(f.host.Phases.empty());

    g.Phase = PhaseDraw;
    EXPECT_TRUE(g.CheckEndOfHand());
    EXPECT_EQ(g.WentOut, HumanWentOut);
    EXPECT_EQ(g.HumanHand.Count, 15);
    EXPECT_FALSE(g.HandEnding);
}

TEST(EndOfHand, InANetworkGameTheWinnerOfTheHandDeals)
{
    // End Hand with nothing on either side scores 0 : 0, a tie.
    for (const bool roleOne : {false, true}) {
        TableFixture f;
        f.host.Network = true;
        f.host.RoleOne = roleOne;
        f.game.StockExhausted = f.game.EndHandRequested = true;
        EXPECT_TRUE(f.game.CheckEndOfHand());
        EXPECT_EQ(f.game.HumanHand.Count, roleOne ? 15 : 0);
        EXPECT_NE(f.game.Phase, roleOne ? PhaseHandOver : PhaseDraw);
    }
    TableFixture lost;
    lost.host.Network = true;
    lost.host.RoleOne = true;
    AddToHumanHand(lost.game, Nine);
    lost.game.ComputerCanastas.Count = 1;
    EXPECT_TRUE(lost.game.CheckEndOfHand());
    EXPECT_EQ(lost.game.WentOut, ComputerWentOut);
    EXPECT_TRUE(lost.host.Sent.empty());
    EXPECT_FALSE(lost.game.HandEnding);
}
