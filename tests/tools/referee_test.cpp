#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/table_builder.h"
#include "tools/sim/referee.h"

namespace meldora::sim {
namespace {

using namespace meldora::test;

bool Mentions(const std::vector<std::string>& texts, const std::string& part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

void MoveFromStockToHumanHand(CanastaGame& game)
{
    const CardRecord card = PopCard(game.Stock);
    AddToHumanHand(game, card.Id, card.Deck);
}

void DiscardFromHumanHand(CanastaGame& game, int id)
{
    RemoveCardById(game.Human().Hand, id);
    AddToDiscardPile(game, id);
}

// The human holds a few cards and is to move; the pile is open and the stock holds three cards.
struct RefereedTurn : ::testing::Test, TableFixture {
    Referee referee{game.Rules};

    RefereedTurn()
    {
        game.Rules.NumberOfCards = 1;
        game.Rules.InitialBlock = false;
        referee = Referee(game.Rules);
        for (const int id : {CardId(Spade, 5), CardId(Heart, 9), CardId(Club, 12), CardId(Diamond, 12)})
            AddToHumanHand(game, id);
        for (const int id : {CardId(Club, 6), CardId(Spade, 7), CardId(Heart, 8)})
            AddToStock(game, id);
        AddToDiscardPile(game, CardId(Diamond, 4));
        AddToHand(game, CardId(Club, 10));
        referee.BeginHand(0, 0, false);
        referee.BeginTurn(game, Side::Human);
    }
};

TEST_F(RefereedTurn, AOneCardDrawAndADiscardPass)
{
    MoveFromStockToHumanHand(game);
    DiscardFromHumanHand(game, CardId(Heart, 9));
    EXPECT_TRUE(referee.JudgeTurn(game).empty());
}

TEST_F(RefereedTurn, ASecondCardFromTheStockIsCaught)
{
    MoveFromStockToHumanHand(game);
    MoveFromStockToHumanHand(game);
    DiscardFromHumanHand(game, CardId(Heart, 9));
    EXPECT_TRUE(Mentions(referee.JudgeTurn(game), "drew 2 cards from the stock"));
}

TEST_F(RefereedTurn, AMeldOfTwoCardsAndAMissingDiscardAreCaught)
{
    MoveFromStockToHumanHand(game);
    for (const int id : {CardId(Club, 12), CardId(Diamond, 12)}) {
        RemoveCardById(game.Human().Hand, id);
        AddToHumanMelds(game, id);
    }
    const auto breaks = referee.JudgeTurn(game);
    EXPECT_TRUE(Mentions(breaks, "left a meld of 2 cards"));
    EXPECT_TRUE(Mentions(breaks, "ended the turn without a discard"));
}

TEST_F(RefereedTurn, ATakeOfAPileWithoutAPairIsCaught)
{
    const CardRecord top = PopCard(game.DiscardPile);
    AddToHumanMelds(game, top.Id);
    DiscardFromHumanHand(game, CardId(Heart, 9));
    EXPECT_TRUE(Mentions(referee.JudgeTurn(game), "took the open pile topped by"));
}

TEST_F(RefereedTurn, AFirstMeldBelowTheMinimumAndBlackThreesWhileHoldingCardsAreCaught)
{
    const std::vector<int> melded{CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), CardId(Spade, 2), CardId(Club, 2)};
    for (const int id : melded)
        AddToHumanHand(game, id);
    referee.BeginTurn(game, Side::Human);
    MoveFromStockToHumanHand(game);
    for (const int id : melded) {
        RemoveCardById(game.Human().Hand, id);
        AddToHumanMelds(game, id);
    }
    DiscardFromHumanHand(game, CardId(Heart, 9));
    const auto breaks = referee.JudgeTurn(game);
    EXPECT_TRUE(Mentions(breaks, "first meld worth 15 points, the minimum is 50"));
    EXPECT_TRUE(Mentions(breaks, "melded 2 black threes while holding cards"));
}

TEST_F(RefereedTurn, GoingOutWithoutACanastaIsCaught)
{
    game.Human().Hand.Count = 0;
    AddToHumanHand(game, CardId(Spade, 12));
    AddToHumanHand(game, CardId(Heart, 12));
    AddToHumanMelds(game, CardId(Club, 12));
    referee.BeginTurn(game, Side::Human);
    const CardRecord drawn = PopCard(game.Stock);
    AddToDiscardPile(game, drawn.Id, drawn.Deck);
    for (const int id : {CardId(Spade, 12), CardId(Heart, 12)}) {
        RemoveCardById(game.Human().Hand, id);
        AddToHumanMelds(game, id);
    }
    EXPECT_TRUE(Mentions(referee.JudgeTurn(game), "emptied its hand with 0 canastas; going out takes 1"));
}

TEST_F(RefereedTurn, ACardTakenBackFromTheMeldsAndACardSwappedForItsTwinAreCaught)
{
    for (const Suit suit : {Spade, Heart, Club, Diamond})
        AddToHumanMelds(game, CardId(suit, Jack));
    referee.BeginTurn(game, Side::Human);
    MoveFromStockToHumanHand(game);
    RemoveCardById(game.Human().Melds, CardId(Diamond, Jack));
    AddToHumanHand(game, CardId(Diamond, Jack));
    CardPile& hand = game.Human().Hand;
    std::find_if(hand.Cards.begin(), hand.Cards.begin() + hand.Count, [](const CardRecord& c) { return c.Id == CardId(Heart, 9); })->Deck = 1;
    DiscardFromHumanHand(game, CardId(Spade, 5));
    const auto breaks = referee.JudgeTurn(game);
    EXPECT_TRUE(Mentions(breaks, "took a card back from its melds"));
    EXPECT_TRUE(Mentions(breaks, "the human side ends with are not the cards it held, drew and took"));
}

// The melds' balance comes from the walk that brings their tally up to date:
// a card that stays in its column but is now its twin must still count as moved.
TEST_F(RefereedTurn, AMeldCardSwappedInPlaceForItsTwinIsCaught)
{
    for (const Suit suit : {Spade, Heart, Club})
        AddToHumanMelds(game, CardId(suit, Jack));
    referee.BeginTurn(game, Side::Human);
    MoveFromStockToHumanHand(game);
    DiscardFromHumanHand(game, CardId(Heart, 9));
    game.Human().Melds.Cards[1].Deck = 1;
    EXPECT_TRUE(Mentions(referee.JudgeTurn(game), "the human side ends with are not the cards it held, drew and took"));
}

TEST_F(RefereedTurn, MeldsChangedBetweenTwoTurnsAreCountedAgain)
{
    for (const Suit suit : {Spade, Heart, Club})
        AddToHumanMelds(game, CardId(suit, Jack));
    referee.BeginTurn(game, Side::Human);
    MoveFromStockToHumanHand(game);
    DiscardFromHumanHand(game, CardId(Heart, 9));
    ASSERT_TRUE(referee.JudgeTurn(game).empty());

    // As many meld cards as before, but one of them is now a ten of its own.
    RemoveCardById(game.Human().Melds, CardId(Club, Jack));
    AddToHumanMelds(game, CardId(Club, Ten));
    referee.BeginTurn(game, Side::Human);
    MoveFromStockToHumanHand(game);
    DiscardFromHumanHand(game, CardId(Spade, 5));
    const auto breaks = referee.JudgeTurn(game);
    EXPECT_TRUE(Mentions(breaks, "left a meld of 2 cards in column 10"));
    EXPECT_TRUE(Mentions(breaks, "left a meld of 1 card in column 9"));
}

// The simulator asks the game for the human side's meld value again only when
// this number moves: a swap that keeps the count of meld cards must move it.
TEST_F(RefereedTurn, TheMeldsVersionMovesWhenAMeldCardIsSwapped)
{
    for (const Suit suit : {Spade, Heart, Club})
        AddToHumanMelds(game, CardId(suit, Jack));
    referee.BeginTurn(game, Side::Human);
    const auto withJacks = referee.MeldsVersion(Side::Human);
    referee.BeginTurn(game, Side::Human);
    EXPECT_EQ(referee.MeldsVersion(Side::Human), withJacks);

    RemoveCardById(game.Human().Melds, CardId(Club, Jack));
    AddToHumanMelds(game, CardId(Diamond, Jack));
    referee.BeginTurn(game, Side::Human);
    EXPECT_NE(referee.MeldsVersion(Side::Human), withJacks);
}

// The computer side went out with a natural canasta of kings; the human side
// holds a red three and two cards and has a meld of three queens.
struct EndedHand : ::testing::Test, TableFixture {
    Referee referee{game.Rules};
    HandScore score;

    EndedHand()
    {
        for (const Suit suit : {Spade, Heart, Club, Diamond})
            AddToComputerMelds(game, CardId(suit, 12));
        for (const Suit suit : {Spade, Heart, Club})
            AddToComputerMelds(game, CardId(suit, 12), -1, 1);
        for (const Suit suit : {Spade, Heart, Club})
            AddToHumanMelds(game, CardId(suit, 11));
        AddToHumanHand(game, CardId(Heart, 2));
        AddToHumanHand(game, JokerCard);
        AddToHumanHand(game, CardId(Spade, 6));
        referee.BeginHand(0, 0, false);
        game.Computer().Canastas.Count = 1;
        game.Computer().Canastas.Kind[King] = NaturalCanasta;
        score.Human = ScoreSide({game.Human().Melds, game.Human().Hand, game.Human().Canastas, false, false}, game.Rules);
        score.Computer =
            ScoreSide({game.Computer().Melds, game.Computer().Hand, game.Computer().Canastas, true, true}, game.Rules);
    }
};

TEST_F(EndedHand, TheGamesRowsAgreeWithTheCards)
{
    EXPECT_TRUE(referee.JudgeHandScore(game, score).empty());
}

TEST_F(EndedHand, AWrongRowIsCaught)
{
    score.Human.Rows[RowHand].Value += 5;
    EXPECT_TRUE(Mentions(referee.JudgeHandScore(game, score), "the human side, cards in hand: the game scored 2 for -50"));
    score = {};
    EXPECT_TRUE(Mentions(referee.JudgeHandScore(game, score), "the computer side, canastas: the game scored 0 for 0, the cards give 1 for 500"));
}

}  // namespace
}  // namespace meldora::sim
