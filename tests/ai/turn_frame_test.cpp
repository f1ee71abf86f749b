// The card operations every computer level uses and the shared steps of its turn.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ai/computer_player.h"
#include "ai/turn_frame.h"
#include "support/table_builder.h"

using namespace meldora;
using namespace meldora::test;
using meldora::ai::ComputerSettings;
using meldora::ai::DiscardChoice;
using meldora::ai::TurnFrame;

namespace {

class PauseHost : public RecordingHost {
public:
    std::vector<int> Pauses;
    void Pause(int ms) override { Pauses.push_back(ms); }
};

struct FrameTable {
    PauseHost host;
    MemorySettings settings;
    CanastaGame game{host, &settings};
    ComputerSettings ai{meldora::ai::Expert, 50, 300, true};
    FrameTable()
    {
        game.Seed(7);
        ClearTable(game);
    }
};

// The frame's hand and meld counts, handed on to the seat by a recount, are
// those the game counts afresh from the table.
void ExpectFrameCountsOfTheTable(TurnFrame& frame, CanastaGame& game)
{
    frame.Recount();
    const ColumnCounts hand = game.Computer().HandCount;
    const ColumnCounts melds = game.Computer().MeldCount;
    game.RecountColumns();
    EXPECT_EQ(hand, game.Computer().HandCount);
    EXPECT_EQ(melds, game.Computer().MeldCount);
}

}  // namespace

TEST(ComputerHand, CardsJoinRightOfTheRightmostAndFlyAsTheirBack)
{
    FrameTable t;
    AddToHand(t.game, {CardId(Spade, 5), CardId(Heart, 9)});
    t.game.Computer().Hand.Cards[0].X = 40;  // the rightmost card is not the last one
    AddToStock(t.game, CardId(Club, 12), 1);
    TurnFrame frame(t.game, t.ai);

    frame.AddToHand(PopCard(t.game.Stock), true);
    const CardRecord& added = t.game.Computer().Hand.Cards[2];
    EXPECT_EQ(added.X, 40 + t.game.Presentation.ComputerHandSpacing);
    EXPECT_FALSE(added.FaceUp);
    ASSERT_EQ(t.host.Flights.size(), 1u);
    EXPECT_EQ(t.host.Flights[0].Card.Id, 55);  // the back of deck 1

    t.game.Presentation.ComputerHandRevealed = true;
    frame.AddToHand(MakeCard(CardId(Diamond, 7), 0), false);
    EXPECT_TRUE(t.game.Computer().Hand.Cards[3].FaceUp);
    EXPECT_EQ(t.host.Flights.size(), 1u);  // trial moves do not fly

}

TEST(ComputerHand, RemovingClosesTheGapAndABadIndexFailsLoudly)
{
    FrameTable t;
    for (int rank : {4, 5, 6, 7})
        AddToHand(t.game, CardId(Club, rank));
    TurnFrame frame(t.game, t.ai);

    const CardRecord removed = frame.RemoveFromHand(1);
    EXPECT_EQ(removed.Rank, 5);
    ASSERT_EQ(t.game.Computer().Hand.Count, 3);
    EXPECT_EQ(t.game.Computer().Hand.Cards[2].X, LeftMargin + 2 * t.game.Presentation.ComputerHandSpacing);

    EXPECT_THROW(frame.RemoveFromHand(3), std::out_of_range);
    EXPECT_THROW(frame.RemoveFromHand(-1), std::out_of_range);
    EXPECT_EQ(t.game.Computer().Hand.Count, 3);
    ASSERT_EQ(t.host.Messages.size(), 2u);
    EXPECT_EQ(t.host.Messages[0].Kind, MessageKind::Warning);
}

TEST(ComputerMelds, CardsStackUpwardsAndTheSeventhMakesACanasta)
{
    FrameTable t;
    for (int i = 0; i < 6; ++i)
        AddToComputerMelds(t.game, CardId(Spade, 12));
    AddToHand(t.game, CardId(Heart, 12));
    AddToHand(t.game, CardId(Diamond, 2));  // red three
    AddToHand(t.game, CardId(Club, 12));
    TurnFrame frame(t.game, t.ai);

    EXPECT_TRUE(frame.MeldFromHand(0).FaceUp);
    EXPECT_EQ(t.game.Computer().Canastas.Kind[12], NaturalCanasta);
    frame.MeldFromHand(0);
    EXPECT_EQ(t.game.Computer().MeldValue, 10);  // red threes score apart
    const CardRecord k = frame.MeldFromHand(0);  // onto the squared-up canasta
    EXPECT_EQ(k.Y, t.game.Layout.ComputerMeldBase - StackStep);
    EXPECT_EQ(t.game.Computer().Canastas.Count, 1);
    EXPECT_EQ(t.host.Pauses, (std::vector<int>{300, 300, 300}));
    EXPECT_EQ(t.host.Flights.size(), 3u);

    AddToHand(t.game, CardId(Heart, 9));
    t.ai.MeldDelay = 0;
    TurnFrame quick(t.game, t.ai);
    quick.MeldFromHand(0);
    EXPECT_EQ(t.host.Pauses.size(), 3u);
}

TEST(ComputerMelds, WildCardsPreferJokersAndAMissingOneIsReported)
{
    FrameTable t;
    AddToComputerMelds(t.game, CardId(Spade, 9));
    AddToComputerMelds(t.game, CardId(Heart, 9));
    AddToHand(t.game, CardId(Club, 1));  // a two before the joker
    AddToHand(t.game, JokerCard);
    TurnFrame frame(t.game, t.ai);
    const int end = t.game.Computer().Melds.ColumnEnds[9].Y;

    EXPECT_TRUE(frame.AddWildcardToMeld(9));
    const CardRecord& joker = t.game.Computer().Melds.Cards[2];
    EXPECT_EQ(joker.Id, JokerId);
    EXPECT_EQ(joker.Y, end - StackStep);
    EXPECT_EQ(t.game.Computer().MeldValue, 50);

    EXPECT_TRUE(frame.AddWildcardToMeld(9));
    EXPECT_EQ(t.game.Computer().Melds.Cards[3].Rank, 1);
    EXPECT_EQ(t.game.Computer().MeldValue, 70);

    EXPECT_FALSE(frame.AddWildcardToMeld(9));
    EXPECT_EQ(t.game.Computer().Melds.Count, 4);
    ASSERT_EQ(t.host.Messages.size(), 1u);
    EXPECT_EQ(t.host.Messages[0].Kind, MessageKind::Error);
}

// The frame keeps its counts as it moves cards instead of counting the table
// at every recount: after each kind of move, and after a card laid in without
// the frame, the counts the decisions read must be those of the table.
TEST(ComputerCounts, StayThoseOfTheTableThroughEveryMove)
{
    FrameTable t;
    t.ai.Animate = false;
    for (int id : {CardId(Spade, 9), CardId(Heart, 9), CardId(Club, 9), CardId(Club, 1), JokerCard})
        AddToHand(t.game, id);
    for (int id : {CardId(Diamond, 11), CardId(Heart, 11), CardId(Spade, 11)})
        AddToComputerMelds(t.game, id);
    // A wild card in the column counted first: each column counts its own wild cards alone.
    AddToComputerMelds(t.game, CardId(Spade, 1), Queen);
    for (int id : {CardId(Spade, 5), CardId(Heart, 9), CardId(Club, 2), CardId(Heart, 2)})
        AddToDiscardPile(t.game, id);
    AddToStock(t.game, CardId(Diamond, 6));
    TurnFrame frame(t.game, t.ai);

    const auto expectTheTable = [&](const char* after) {
        SCOPED_TRACE(after);
        ExpectFrameCountsOfTheTable(frame, t.game);
        const ColumnCounts melds = t.game.Computer().MeldCount;
        ColumnCounts pile{};
        for (int i = 0; i < t.game.DiscardPile.Count; ++i)
            ++pile[t.game.DiscardPile.Cards[i].Rank];
        EXPECT_EQ(frame.DiscardRankCount, pile);
        const CardPile& laid = t.game.Computer().Melds;
        for (int column = 0; column < ColumnCount; ++column) {
            int wilds = 0;
            for (int i = 0; i < laid.Count; ++i)
                wilds += t.game.ColumnOf(laid.Cards[i]) == column && IsWild(laid.Cards[i].Rank);
            EXPECT_EQ(frame.OwnColumnSize(column), melds[column]) << column;
            EXPECT_EQ(frame.WildsInColumn(column), wilds) << column;
        }
        EXPECT_EQ(frame.BlackThreesInHand(), CountOfCard(t.game.Computer().Hand, CardId(Club, 2)));
    };

    expectTheTable("the first count");
    frame.AddToHand(PopCard(t.game.Stock), false);
    expectTheTable("a draw");
    frame.MeldCardsOfRank(9);
    expectTheTable("a meld");
    frame.AddWildcardToMeld(9);
    expectTheTable("a wild card");
    frame.TakeRestOfPile();
    expectTheTable("the pile taken");
    AddToHand(t.game, CardId(Heart, 4));
    expectTheTable("a card laid into the hand without the frame");
}

// Card moves before a frame's first count change counts that count then
// starts again from nothing: no card may be counted twice.
TEST(ComputerCounts, AFirstCountAfterTheFramesOwnMovesCountsEveryCardOnce)
{
    FrameTable t;
    t.ai.Animate = false;
    for (int id : {CardId(Spade, 9), CardId(Heart, 9), CardId(Club, 9)})
        AddToHand(t.game, id);
    AddToDiscardPile(t.game, {CardId(Spade, 5), CardId(Heart, 6)});
    AddToStock(t.game, CardId(Diamond, 6));
    TurnFrame frame(t.game, t.ai);
    frame.AddToHand(PopCard(t.game.Stock), false);
    frame.TakeRestOfPile();
    frame.MeldFromHand(0);

    ExpectFrameCountsOfTheTable(frame, t.game);
    EXPECT_EQ(frame.DiscardRankCount, ColumnCounts{});
}

// The opponent's melds and known cards, counted again when they change, are
// each counted once.
TEST(ComputerCounts, TheOpponentCountedAgainCountsEachCardOnce)
{
    FrameTable t;
    for (int id : {CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12)})
        AddToHumanMelds(t.game, id);
    CardRecord known;
    known.Id = static_cast<std::uint8_t>(CardId(Spade, 6));
    known.Rank = Seven;
    AppendCard(t.game.Memory.KnownOpponentCards, known);
    TurnFrame frame(t.game, t.ai);
    frame.Recount();

    AddToHumanMelds(t.game, CardId(Diamond, 12));
    frame.Recount();
    EXPECT_EQ(frame.HNaturals(King), 4);
    EXPECT_EQ(frame.Known(Seven), 1);
}

// A frame on the human side knows from its own counts when its first meld
// opens the pile; red threes, worth nothing, open nothing.
TEST(ComputerCounts, TheHumanSidesPileOpensWithItsFirstMeld)
{
    FrameTable t;
    t.ai.Animate = false;
    t.ai.Seat = Side::Human;
    t.game.Rules.InitialBlock = true;
    t.game.Rules.InitialBlockForBoth = true;
    AddToHumanHand(t.game, {CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Club, 5)});
    for (int id : {CardId(Heart, 2), CardId(Diamond, 2)})
        AddToHumanMelds(t.game, id, 2);
    AddToHumanMelds(t.game, CardId(Heart, 2), 2, 1);
    AddToDiscardPile(t.game, CardId(Spade, 7));
    TurnFrame frame(t.game, t.ai);
    frame.Recount();
    EXPECT_TRUE(frame.Frozen());

    frame.MeldCardsOfRank(13);
    EXPECT_FALSE(frame.Frozen());
    EXPECT_FALSE(t.game.IsPileFrozen(Side::Human));
}

// The turn reckons the opponent's meld value from its own count of the
// opponent's melds, where a column short of three cards counts nothing and
// red threes, scored apart, add nothing.
TEST(ComputerTurnStart, TakesTheOpponentsMeldValueFromItsColumnsOfThreeOrMore)
{
    FrameTable t;
    for (int id : {CardId(Spade, 12), CardId(Heart, 12), CardId(Club, 12), CardId(Spade, 11), CardId(Heart, 11)})
        AddToHumanMelds(t.game, id);
    for (std::uint8_t deck : {0, 1})
        for (int id : {CardId(Diamond, 2), CardId(Heart, 2)})
            AddToHumanMelds(t.game, id, -1, deck);
    TurnFrame frame(t.game, t.ai);

    frame.BeginTurn();
    EXPECT_EQ(t.game.Human().MeldedBefore, 30);
    EXPECT_EQ(t.game.Human().MeldedBefore, t.game.MeldValueOnTable(Side::Human, false));
}

// Red threes replaced while the stock lasts are judged by the refereed simulator under both
// rule presets; here the rule neither preset turns off, and the stock running out.
TEST(ComputerDraw, WithoutDrawExtraARedThreeIsTheDrawAndTheLastCardEndsIt)
{
    // Two cards from a one-card stock give one.
    FrameTable u;
    u.game.Rules.DrawExtra = false;
    u.game.Rules.NumberOfCards = 2;
    AddToStock(u.game, CardId(Heart, 2));
    TurnFrame single(u.game, u.ai);
    single.DrawCards();
    EXPECT_EQ(u.game.Computer().Hand.Count, 1);
    EXPECT_TRUE(u.game.Turn.StockExhausted);
    EXPECT_EQ(u.host.StockExhaustedCalls, (std::vector<bool>{true}));

    // A red three that empties the stock ends the draw.
    FrameTable v;
    AddToStock(v.game, CardId(Diamond, 2));
    TurnFrame last(v.game, v.ai);
    last.DrawCards();
    EXPECT_EQ(v.game.Computer().Hand.Count, 1);
    EXPECT_TRUE(v.game.Turn.StockExhausted);
}

TEST(ComputerDiscard, WildCardsFreezeThePileAndOneCardWithoutCanastasPasses)
{
    FrameTable t;
    t.ai.Animate = false;
    AddToHand(t.game, CardId(Club, 1));
    AddToHand(t.game, CardId(Spade, 2));  // black three
    AddToHand(t.game, CardId(Heart, 8));
    TurnFrame frame(t.game, t.ai);

    frame.DiscardStep([] { return DiscardChoice{1, -1}; });
    ASSERT_EQ(t.game.DiscardPile.Count, 1);
    const CardRecord& top = t.game.DiscardPile.top();
    EXPECT_EQ(top.Id, CardId(Spade, 2));
    EXPECT_TRUE(top.FaceUp);
    EXPECT_FALSE(t.game.Turn.DiscardFrozen);
    EXPECT_TRUE(t.host.Flights.empty());

    frame.DiscardStep([] { return DiscardChoice{0, -1}; });
    EXPECT_TRUE(t.game.Turn.DiscardFrozen);
    EXPECT_EQ(t.game.DiscardPile.Count, 2);

    bool asked = false;
    frame.DiscardStep([&] {
        asked = true;
        return DiscardChoice{0, -1};
    });
    EXPECT_FALSE(asked);
    EXPECT_EQ(t.game.DiscardPile.Count, 2);
    EXPECT_EQ(t.game.Computer().Hand.Count, 1);
    ASSERT_EQ(t.host.Messages.size(), 1u);
    EXPECT_EQ(t.host.Messages[0].Kind, MessageKind::Information);
    EXPECT_EQ(t.host.Messages[0].Text, "The computer passes the discard.");
}

TEST(ComputerTurnEntry, NoTurnInANetworkGameOrWithoutAComputer)
{
    FrameTable t;
    AddToStock(t.game, CardId(Club, 7));
    t.host.Network = true;
    meldora::ai::RunComputerTurn(t.game, t.ai);
    t.host.Network = false;
    t.ai.Level = meldora::ai::NoComputer;
    meldora::ai::RunComputerTurn(t.game, t.ai);
    EXPECT_EQ(t.game.Stock.Count, 1);
    EXPECT_TRUE(t.host.Phases.empty());
}

TEST(ComputerTurnEnd, AnExhaustedStockEndsTheHandWithoutADiscardAndAForcedTakeKeepsTheLastCard)
{
    // The Expert's forced take lays the top card alone: see its own turn tests.
    for (const std::uint8_t level : {meldora::ai::Beginner, meldora::ai::Advanced, meldora::ai::Expert}) {
        SCOPED_TRACE(static_cast<int>(level));
        // Nothing forced: the hand ends, and the next hand's first turn, the
        // computer's, is not handed to the human.
        const bool expert = level == meldora::ai::Expert;
        FrameTable t;
        t.ai.Level = level;
        t.game.Turn.Phase = TurnPhase::Opponent;
        t.game.Match.DrawFirst = false;
        AddToHand(t.game, {CardId(Spade, 3), CardId(Spade, 5), CardId(Spade, 12)});
        AddToDiscardPile(t.game, CardId(Diamond, 5));
        for (int rank : {4, 5, 6, 7})
            AddToHumanHand(t.game, CardId(Spade, rank));
        t.game.Turn.StockExhausted = true;
        meldora::ai::RunComputerTurn(t.game, t.ai);
        EXPECT_EQ(t.host.HandScores.size(), 1u);
        EXPECT_EQ(t.game.Match.WentOut, NobodyWentOut);
        for (const RecordedFlight& f : t.host.Flights)
            EXPECT_FALSE(f.ToX == LeftMargin && f.ToY == t.game.Layout.DiscardTop);
        EXPECT_TRUE(t.game.Turn.ComputerTurn);
        EXPECT_EQ(t.host.ComputerTurns, 1);
        EXPECT_EQ(t.host.Phases.back(), TurnPhase::Opponent);
        if (expert)
            continue;

        FrameTable forced;  // the top eight and the eight in hand go onto the meld
        forced.ai.Level = level;
        forced.game.Turn.Phase = TurnPhase::Opponent;
        for (int id : {CardId(Spade, 8), CardId(Heart, 8), CardId(Club, 8)})
            AddToComputerMelds(forced.game, id);
        forced.game.Computer().MeldValue = 30;
        AddToHand(forced.game, {CardId(Diamond, 8), CardId(Spade, 12)});
        AddToDiscardPile(forced.game, CardId(Diamond, 5));
        AddToDiscardPile(forced.game, CardId(Spade, 8), 1);
        for (int rank : {4, 5, 6, 7, 9})
            AddToHumanHand(forced.game, CardId(Spade, rank));
        forced.game.Turn.StockExhausted = true;
        meldora::ai::RunComputerTurn(forced.game, forced.ai);
        EXPECT_EQ(forced.game.Computer().Melds.Count, 5);
        EXPECT_EQ(forced.game.Computer().Hand.Count, 1);
        EXPECT_EQ(forced.game.DiscardPile.Count, 1);
        ASSERT_EQ(forced.host.Messages.size(), 1u);
        EXPECT_EQ(forced.host.Messages[0].Kind, MessageKind::Information) << "the pass is announced";
        EXPECT_TRUE(forced.host.HandScores.empty());
        EXPECT_EQ(forced.host.Phases.back(), TurnPhase::Draw);
    }
}
