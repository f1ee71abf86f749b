// Every level keeps the meld rules the human is held to, on tables where its
// plan alone would break them: black threes only as the last cards of a hand
// that goes out, and never a hand emptied without the canastas to go out.
#include <gtest/gtest.h>

#include "ai/advanced.h"
#include "ai/beginner.h"
#include "ai/expert.h"
#include "family_support.h"

using namespace meldora;
using namespace meldora::test;

namespace {


template <class Turn>
struct RulesTable : FamilyTable<Turn> {
    RulesTable(std::uint8_t level, const RuleOptions& rules)
    {
        this->ai.Level = level;
        this->game.Rules = rules;
        this->game.Turn.Phase = TurnPhase::Opponent;
        this->HumanHolds(11);
    }
    int BlackThreesMelded() const
    {
        int black = 0;
        for (int i = 0; i < this->game.Computer().Melds.Count; ++i)
            black += IsBlackThree(this->game.Computer().Melds.Cards[i].Id);
        return black;
    }
};

}  // namespace

TEST(MeldRules, TheExpertMeldsBlackThreesOnlyToGoOut)
{
    // Hoyle: two canastas to go out. Queens are one; the aggressive turn counts
    // them again and plans to go out with the nines, the joker drawn and the
    // black threes. With the jacks as a second canasta it does go out.
    for (const bool secondCanasta : {false, true}) {
        RulesTable<ai::ExpertTurn> t(ai::Expert, HoyleRules());
        t.ai.Aggression = 100;
        t.ComputerCanasta(Queen);
        if (secondCanasta)
            t.ComputerCanasta(Jack);
        t.Hand({CardId(Spade, King), CardId(Spade, Nine), CardId(Heart, Nine), CardId(Spade, 2), CardId(Club, 2)});
        t.Pile({CardId(Diamond, Four)});
        t.Stock(20);
        AddToStock(t.game, CardId(Spade, 2), 1);
        AddToStock(t.game, JokerCard);

        ai::PlayExpertTurn(t.game, t.ai);

        SCOPED_TRACE(secondCanasta);
        for (const RecordedMessage& m : t.host.Messages)
            ADD_FAILURE() << m.Text;
        if (secondCanasta) {
            EXPECT_EQ(t.game.Match.WentOut, ComputerWentOut);
            continue;
        }
        EXPECT_EQ(t.BlackThreesMelded(), 0);
        EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, Nine), 3);
        // The king and two threes stay; a three is the discard, not a pass.
        EXPECT_EQ(t.game.Computer().Hand.Count, 3);
        EXPECT_EQ(t.game.DiscardPile.Count, 2);
        EXPECT_EQ(t.game.DiscardPile.top().Rank, 2);
    }
}

namespace {

// Default rules, the kings a canasta of five naturals and three jokers: six
// twos find room for five, so the black threes would be melded with the sixth
// two and the ace still in hand.
template <class Turn>
void ThreesBehindWildCardsWithoutRoom(std::uint8_t level)
{
    RulesTable<Turn> t(level, RuleOptions{});
    t.Melds({CardId(Spade, Ten), CardId(Heart, Ten), CardId(Club, Ten)});
    for (int i = 0; i < 5; ++i)
        AddToComputerMelds(t.game, CardId(static_cast<Suit>(i % 4), King), -1, static_cast<std::uint8_t>(i / 4));
    for (int i = 0; i < 3; ++i)
        AddToComputerMelds(t.game, JokerCard, King, static_cast<std::uint8_t>(i % 2));
    t.game.CheckCanasta(Side::Computer, King);
    t.game.Computer().MeldValue = 30 + 50 + 150;
    for (const int id : {CardId(Spade, 1), CardId(Heart, 1), CardId(Club, 1), CardId(Diamond, 1)})
        AddToHand(t.game, id);
    AddToHand(t.game, CardId(Spade, 1), 1);
    AddToHand(t.game, CardId(Heart, 1), 1);
    t.Hand({CardId(Spade, 2), CardId(Club, 2), CardId(Club, 13)});
    AddToHand(t.game, CardId(Spade, 2), 1);
    t.Ready();
    t.turn.UseWildcardsToGoOut();
    SCOPED_TRACE(level);
    EXPECT_EQ(t.BlackThreesMelded(), 0);
    EXPECT_EQ(t.game.Computer().Hand.Count, 5);
}

}  // namespace

TEST(MeldRules, BlackThreesWaitForWildCardsThatFindNoRoom)
{
    ThreesBehindWildCardsWithoutRoom<ai::AdvancedTurn>(ai::Advanced);
    ThreesBehindWildCardsWithoutRoom<ai::ExpertTurn>(ai::Expert);
}

TEST(MeldRules, SpareWildCardsLeaveTheLastCardUnlessItGoesOut)
{
    // Default rules: one canasta to go out, none made yet.
    {
        // Three twos and a meld of three tens with room for all of them.
        RulesTable<ai::ExpertTurn> t(ai::Expert, RuleOptions{});
        t.Melds({CardId(Spade, Ten), CardId(Heart, Ten), CardId(Club, Ten)});
        t.game.Computer().MeldValue = 30;
        t.Hand({CardId(Spade, 1), CardId(Heart, 1), CardId(Club, 1)});
        t.Ready();
        t.turn.UseWildcardsToGoOut();
        EXPECT_EQ(t.game.Computer().Hand.Count, 1);
        EXPECT_EQ(t.ColumnSize(t.game.Computer().Melds, Ten), 5);
    }
    // The last two completes a canasta of six tens: out with one canasta
    // needed, kept with two.
    for (const int need : {1, 2}) {
        RuleOptions rules;
        rules.NumberOfCanastas = need;
        RulesTable<ai::ExpertTurn> t(ai::Expert, rules);
        t.Melds({CardId(Spade, Ten), CardId(Heart, Ten), CardId(Club, Ten), CardId(Diamond, Ten)});
        AddToComputerMelds(t.game, CardId(Spade, Ten), -1, 1);
        AddToComputerMelds(t.game, JokerCard, Ten);
        t.game.Computer().MeldValue = 100;
        t.Hand({CardId(Spade, 1)});
        t.Ready();
        t.turn.UseWildcardsToGoOut();
        SCOPED_TRACE(need);
        EXPECT_EQ(t.game.Computer().Hand.Count, need == 1 ? 0 : 1);
        EXPECT_EQ(t.game.Computer().Canastas.Count, need == 1 ? 1 : 0);
    }
}

namespace {

// Hoyle, the queens a canasta and four fives in hand; a five alone on the pile.
template <class Turn>
void FivesAgainstAOneCardPile(std::uint8_t level, void (*play)(CanastaGame&, const ai::ComputerSettings&))
{
    for (const bool secondCanasta : {false, true}) {
        RulesTable<Turn> t(level, HoyleRules());
        t.ComputerCanasta(Queen);
        if (secondCanasta)
            t.ComputerCanasta(Jack);
        t.Hand({CardId(Spade, Five), CardId(Heart, Five), CardId(Club, Five), CardId(Diamond, Five)});
        t.Pile({CardId(Spade, Five)});
        t.Stock(20);
        t.Ready();
        SCOPED_TRACE(secondCanasta);
        // Taking it melds all five fives: allowed only as going out.
        EXPECT_EQ(t.turn.MayTakePile(t.game.DiscardPile.top(), false), secondCanasta);
        if (secondCanasta)
            continue;

        play(t.game, t.ai);
        for (const RecordedMessage& m : t.host.Messages)
            ADD_FAILURE() << m.Text;
        EXPECT_GT(t.game.Computer().Hand.Count, 0);
        // Drew two and discarded one onto the five.
        EXPECT_EQ(t.game.Stock.Count, 18);
        EXPECT_EQ(t.game.DiscardPile.Count, 2);
    }
}

}  // namespace

TEST(MeldRules, NoLevelTakesAOneCardPileThatWouldEmptyItsHandShortOfCanastas)
{
    FivesAgainstAOneCardPile<ai::BeginnerTurn>(ai::Beginner, ai::PlayBeginnerTurn);
    FivesAgainstAOneCardPile<ai::AdvancedTurn>(ai::Advanced, ai::PlayAdvancedTurn);

    // The Expert melds only three of them once it has opened, keeping two;
    // before its initial meld all go down with the top card, and onto a frozen
    // pile's meld up to three.
    RulesTable<ai::ExpertTurn> opened(ai::Expert, HoyleRules());
    opened.ComputerCanasta(Queen);
    opened.Hand({CardId(Spade, Five), CardId(Heart, Five), CardId(Club, Five), CardId(Diamond, Five)});
    opened.Pile({CardId(Spade, Five)});
    opened.Ready();
    EXPECT_TRUE(opened.turn.MayTakePile(opened.game.DiscardPile.top(), false));

    RulesTable<ai::ExpertTurn> aces(ai::Expert, HoyleRules());
    aces.Hand({CardId(Spade, 13), CardId(Heart, 13), CardId(Club, 13), CardId(Diamond, 13)});
    aces.Pile({CardId(Spade, 13)});
    aces.Ready();
    EXPECT_FALSE(aces.turn.MayTakePile(aces.game.DiscardPile.top(), false));

    RulesTable<ai::ExpertTurn> frozen(ai::Expert, HoyleRules());
    frozen.ComputerCanasta(Queen);
    frozen.Melds({CardId(Spade, Five), CardId(Heart, Five), CardId(Club, Five)});
    frozen.Hand({CardId(Diamond, Five), CardId(Spade, Five)});
    frozen.Pile({CardId(Heart, Five)});
    frozen.Ready();
    EXPECT_FALSE(frozen.turn.MayTakePile(frozen.game.DiscardPile.top(), true));
    EXPECT_TRUE(frozen.turn.MayTakePile(frozen.game.DiscardPile.top(), false));  // only the top card goes down
}
