// The simulator's own pieces: the table checks and what each side knows of
// the other's hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/table_builder.h"
#include "tools/sim/invariants.h"
#include "tools/sim/known_cards.h"
#include "tools/sim/referee.h"
#include "tools/sim/match_runner.h"
#include "tools/sim/options.h"
#include "tools/sim/rule_settings.h"

namespace meldora::sim {
namespace {

using namespace meldora::test;

std::vector<int> Identities(const CardPile& pile)
{
    std::vector<int> ids;
    for (int i = 0; i < pile.Count; ++i)
        ids.push_back(pile.Cards[i].Id * 2 + pile.Cards[i].Deck);
    return ids;
}

bool Mentions(const std::vector<std::string>& faults, const std::string& text)
{
    return std::any_of(faults.begin(), faults.end(),
                       [&](const std::string& f) { return f.find(text) != std::string::npos; });
}

struct DealtTable : ::testing::Test {
    TableFixture f;
    CanastaGame& g = f.game;
    void SetUp() override
    {
        f.game.Match.DrawFirst = true;
        f.game.DealHand(false);
        ASSERT_TRUE(FindTableFaults(g, CheckMoment::BetweenTurns).empty());
        ASSERT_TRUE(FindTableFaults(g, CheckMoment::AfterCardMove).empty());
    }
};

// The first card of a pile that is not a joker: a suited card exists once per deck.
CardRecord& FirstSuited(CardPile& pile)
{
    for (int i = 0; i < pile.Count; ++i)
        if (pile.Cards[i].Id != JokerId)
            return pile.Cards[i];
    throw std::logic_error("a pile of jokers");
}

TEST_F(DealtTable, ADuplicatedOrAMissingCardIsCaught)
{
    CardRecord& overwritten = FirstSuited(g.Stock);
    const CardRecord lost = overwritten;
    const CardRecord copied = FirstSuited(g.Human().Hand);
    overwritten.Id = copied.Id;
    overwritten.Deck = copied.Deck;
    overwritten.Rank = copied.Rank;
    overwritten.Points = copied.Points;
    for (const CheckMoment moment : {CheckMoment::AfterCardMove, CheckMoment::BetweenTurns}) {
        const auto faults = FindTableFaults(g, moment);
        EXPECT_TRUE(Mentions(faults, CardLabel(copied) + " is on the table 2 times"));
        EXPECT_TRUE(Mentions(faults, CardLabel(lost) + " is on the table 0 times"));
    }

    overwritten = lost;
    const CardRecord gone = PopCard(g.Stock);
    for (const CheckMoment moment : {CheckMoment::AfterCardMove, CheckMoment::BetweenTurns}) {
        const auto faults = FindTableFaults(g, moment);
        EXPECT_TRUE(Mentions(faults, "the piles hold 107 cards"));
        EXPECT_TRUE(Mentions(faults, CardLabel(gone) + " is on the table 0 times"));
        EXPECT_FALSE(Mentions(faults, "2 times"));
    }
}

TEST(TableChecks, BetweenTurnsTheLayoutCountsAndValuesAreChecked)
{
    const std::pair<void (*)(CanastaGame&), const char*> plants[] = {
        {[](CanastaGame& g) { g.Human().Hand.Cards[3].Y += StackStep; }, "is not stacked from its base"},
        {[](CanastaGame& g) { g.Computer().Hand.Cards[3].X += 1; }, "out of its place in the row"},
        {[](CanastaGame& g) { g.Computer().Canastas.Count = 1; }, "1 canastas counted, 0 on the table"},
        {[](CanastaGame& g) { g.Computer().MeldValue = 15; }, "the computer's meld value is 15"},
        {[](CanastaGame& g) { g.Turn.StockExhausted = true; }, "marked exhausted"},
        {[](CanastaGame& g) { g.DiscardPile.Cards[0].Points = 99; }, "99 points"},
    };
    for (const auto& [plant, fault] : plants) {
        TableFixture dealt;
        dealt.game.Match.DrawFirst = true;
        dealt.game.DealHand(false);
        plant(dealt.game);
        EXPECT_TRUE(Mentions(FindTableFaults(dealt.game, CheckMoment::BetweenTurns), fault)) << fault;
    }
}

TEST(TableChecks, KnownCardsMustBeInTheHandTheyDescribe)
{
    TableFixture f;
    AddToHumanHand(f.game, CardId(Spade, 9));
    const CardRecord eight = AddToHand(f.game, CardId(Heart, 7));
    AppendCard(f.game.Memory.KnownOpponentCards, MakeCard(CardId(Spade, 9), 1));
    EXPECT_TRUE(FindKnownCardFaults(f.game.Memory.KnownOpponentCards, f.game.Human().Hand, "the computer").empty());
    AppendCard(f.game.Memory.KnownOpponentCards, eight);
    const auto faults = FindKnownCardFaults(f.game.Memory.KnownOpponentCards, f.game.Human().Hand, "the computer");
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_TRUE(Mentions(faults, "the eight of hearts"));
}

TEST(TableChecks, CardsLaidOnAFullColumnByTheComputerAreAccepted)
{
    TableFixture f;
    CanastaGame& g = f.game;
    // Two red threes and five black threes, then one more three laid on the full column.
    for (const int id : {CardId(Diamond, 2), CardId(Heart, 2), CardId(Spade, 2), CardId(Club, 2)})
        AddToComputerMelds(g, id, 2);
    for (const int id : {CardId(Diamond, 2), CardId(Heart, 2), CardId(Spade, 2)})
        AddToComputerMelds(g, id, 2, 1);
    CardRecord laid = MakeCard(CardId(Club, 2), 1);
    laid.FaceUp = true;
    laid.X = g.Layout.ColumnX(2);
    laid.Y = g.Layout.ComputerMeldBase - StackStep;
    AppendCard(g.Computer().Melds, laid);
    g.Computer().MeldValue = 20;
    StockTheRestOfTheDeck(g);
    EXPECT_TRUE(FindTableFaults(g, CheckMoment::BetweenTurns).empty());

    // On a column of six it is out of place.
    RemoveCardById(g.Computer().Melds, CardId(Spade, 2));
    EXPECT_TRUE(Mentions(FindTableFaults(g, CheckMoment::BetweenTurns), "column 2: the cards are not stacked"));
}

TEST(KnownCards, ATakenPileIsKnownUntilItsCardsAreMeldedOrDiscardedAForcedTakeOnlyItsTopCard)
{
    TableFixture f;
    CanastaGame& g = f.game;
    const CardRecord four = AddToDiscardPile(g, CardId(Club, 4));
    AddToDiscardPile(g, CardId(Diamond, 2));  // a red three: laid out, never held
    const CardRecord king = AddToDiscardPile(g, CardId(Spade, 12));
    const CardRecord queen = AddToDiscardPile(g, CardId(Heart, 11));
    AddToDiscardPile(g, CardId(Heart, 9));
    // The discard pile and the side's melds as a turn begins.
    struct TurnStart {
        CardPile DiscardPile, Melds;
    };
    const auto turnStart = [&g](Side side) { return TurnStart{g.DiscardPile, g.SeatOf(side).Melds}; };
    const auto update = [&g](const TurnStart& start, Side side, CardPile& known) {
        UpdateKnownCards(start.DiscardPile, start.Melds, g, side, known);
    };
    const TurnStart start = turnStart(Side::Computer);

    // The computer takes the pile, melds the nine with two of its own, and discards the king.
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(g, CardId(Heart, 9), -1, static_cast<std::uint8_t>(i % 2));
    g.DiscardPile = CardPile{};
    AddToDiscardPile(g, king.Id, king.Deck);
    CardPile known;
    update(start, Side::Computer, known);
    EXPECT_EQ(Identities(known), (std::vector<int>{four.Id * 2, queen.Id * 2}));

    // Next turn it melds a queen (any queen counts) and only draws. The meld
    // cards the referee found moved tell the same as comparing the melds.
    const TurnStart next = turnStart(Side::Computer);
    Referee referee(g.Rules);
    referee.BeginTurn(g, Side::Computer);
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(g, CardId(Heart, 11), -1, 1);
    CardPile knownFromReferee = known;
    referee.JudgeTurn(g);
    ASSERT_TRUE(referee.PilesAlikeAfterTurn().MeldCardsMovedKnown);
    UpdateKnownCards(next.DiscardPile, next.Melds, g, Side::Computer, knownFromReferee, referee.PilesAlikeAfterTurn());
    update(next, Side::Computer, known);
    EXPECT_EQ(Identities(known), (std::vector<int>{four.Id * 2}));
    EXPECT_EQ(Identities(knownFromReferee), Identities(known));

    // A forced take makes only the top card known.
    AddToDiscardPile(g, CardId(Spade, 8));
    const TurnStart forced = turnStart(Side::Human);
    PopCard(g.DiscardPile);
    CardPile humanKnown;
    update(forced, Side::Human, humanKnown);
    EXPECT_EQ(Identities(humanKnown), (std::vector<int>{CardId(Spade, 8) * 2}));
}

TEST(RuleSettings, AnswerTheGameWithTheChosenRules)
{
    RuleOptions rules = HoyleRules();
    rules.InitialBlock = false;
    RuleSettings settings(rules);
    EXPECT_EQ(LoadRuleOptions(settings), rules);
    // The deal reads the initial freeze of the pile from the settings.
    EXPECT_FALSE(settings.ReadBool("Settings\\Initial Block", true));
    EXPECT_TRUE(settings.ReadBool("Settings\\Show Turns", true));
}

TEST(CommandLine, ReadsEveryOption)
{
    const auto parsed = ParseCommandLine({"--human", "Beginner", "--computer", "advanced", "--matches", "40", "--seed",
                                          "4294967295", "--rules", "hoyle", "--aggression", "80", "--duplicate",
                                          "--check-turns", "--hand-cap", "300"});
    ASSERT_TRUE(parsed.Ok) << parsed.Error;
    const SimOptions& o = parsed.Options;
    EXPECT_EQ(o.FirstLevel, ai::Beginner);
    EXPECT_EQ(o.SecondLevel, ai::Advanced);
    EXPECT_EQ(o.Matches, 40);
    EXPECT_EQ(o.Seed, 4294967295u);
    EXPECT_EQ(o.Rules, HoyleRules());
    EXPECT_EQ(o.Aggression, 80);
    EXPECT_TRUE(o.Duplicate);
    EXPECT_EQ(o.Checks, TableChecks::BetweenTurns);
    EXPECT_EQ(o.HandTurnCap, 300);

    const auto saving = ParseCommandLine({"--save", "a.meldora", "--save-turn", "3"});
    ASSERT_TRUE(saving.Ok);
    EXPECT_EQ(saving.Options.SaveFile, "a.meldora");
    EXPECT_EQ(saving.Options.SaveTurn, 3);
    EXPECT_TRUE(ParseCommandLine({"--help"}).HelpWanted);

    EXPECT_EQ(ParseCommandLine({}).Options.Checks, TableChecks::AtHandEnd);
    EXPECT_EQ(ParseCommandLine({"--strict", "--check-turns"}).Options.Checks, TableChecks::AfterEveryMove);
}

TEST(CommandLine, RefusesBadArgumentsWithAReason)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--human", "grandmaster"}, "is not a level"},
        {{"--matches"}, "needs a value"},
        {{"--matches", "0"}, "1 or more"},
        {{"--matches", "12x"}, "is not a number"},
        {{"--seed", "-1"}, "is not a seed"},
        {{"--seed", "4294967296"}, "is not a seed"},
        {{"--rules", "house"}, "default or hoyle"},
        {{"--aggression", "101"}, "0..100"},
        {{"--duplicate", "--matches", "5"}, "must be even"},
        {{"--save-turn", "2"}, "needs --save"},
        {{"--save", "a", "--load", "b"}, "cannot be combined"},
        {{"--fast"}, "unknown option"},
    };
    for (const auto& [args, reason] : cases) {
        const auto parsed = ParseCommandLine(args);
        EXPECT_FALSE(parsed.Ok) << args[0];
        EXPECT_NE(parsed.Error.find(reason), std::string::npos) << parsed.Error;
    }
}

}  // namespace
}  // namespace meldora::sim
