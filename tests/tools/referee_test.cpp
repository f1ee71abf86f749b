#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
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

// The human holds a few cards and is to move; the pile is open and the stock holds three cards.
struct RefereedTurn : TableFixture {
    Referee referee{game.Rules};

    RefereedTurn()
    {
        game.Rules.NumberOfCards = 1;
        game.Rules.InitialBlock = false;
        referee = Referee(game.Rules);
        AddToHumanHand(game, {CardId(Spade, 5), CardId(Heart, 9), CardId(Club, 12), CardId(Diamond, 12)});
        AddToStock(game, {CardId(Club, 6), CardId(Spade, 7), CardId(Heart, 8)});
        AddToDiscardPile(game, CardId(Diamond, 4));
        AddToHand(game, CardId(Club, 10));
        referee.BeginHand(0, 0, false);
        referee.BeginTurn(game, Side::Human);
    }
    void Draw()
    {
        const CardRecord card = PopCard(game.Stock);
        AddToHumanHand(game, card.Id, card.Deck);
    }
    void Meld(std::initializer_list<int> ids)
    {
        for (const int id : ids) {
            RemoveCardById(game.Human().Hand, id);
            AddToHumanMelds(game, id);
        }
    }
    void Discard(int id)
    {
        RemoveCardById(game.Human().Hand, id);
        AddToDiscardPile(game, id);
    }
    // Lays a jack of each suit on the human's melds and begins the turn from there.
    void BeginWithJacksMelded(std::initializer_list<Suit> suits)
    {
        for (const Suit suit : suits)
            AddToHumanMelds(game, CardId(suit, Jack));
        referee.BeginTurn(game, Side::Human);
    }
};

// A card of neither deck, or beyond the jokers, counts under key 0, which no
// card of the decks has; the last joker of the second deck takes the last key.
TEST(CardBalance, KeysStayWithinTheCountsForAnyRecord)
{
    CardRecord card;
    card.Id = JokerId;
    card.Deck = 1;
    EXPECT_EQ(CardKey(card), CardKeyCount - 1);
    card.Deck = 2;
    EXPECT_EQ(CardKey(card), 0);
    card.Deck = 0;
    card.Id = JokerId + 1;
    EXPECT_EQ(CardKey(card), 0);
}

// The balance is looked at a word at a time: a count left over at any key,
// the last ones past the last whole word included, makes it uneven.
TEST(CardBalance, IsEvenOnlyWithEveryKeyAtZero)
{
    EXPECT_TRUE(Even(CardBalance{}));
    for (const int key : {0, 7, 8, CardKeyCount - 6, CardKeyCount - 1}) {
        CardBalance balance{};
        CountOut(balance, key);
        EXPECT_FALSE(Even(balance)) << key;
    }
}

TEST(Referee, JudgesTheDrawEachMeldTheDiscardAndGoingOut)
{
    const int nine = CardId(Heart, 9);
    struct Case {
        const char* name;
        std::function<void(RefereedTurn&)> play;
        std::vector<std::string> breaks;
    };
    const Case cases[] = {
        {"one card drawn, one discarded", [&](RefereedTurn& t) { t.Draw(); t.Discard(nine); }, {}},
        {"a second card from the stock", [&](RefereedTurn& t) { t.Draw(); t.Draw(); t.Discard(nine); },
         {"drew 2 cards from the stock"}},
        {"a meld of two and no discard", [](RefereedTurn& t) { t.Draw(); t.Meld({CardId(Club, 12), CardId(Diamond, 12)}); },
         {"left a meld of 2 cards", "ended the turn without a discard"}},
        {"the open pile taken without a pair",
         [&](RefereedTurn& t) {
             AddToHumanMelds(t.game, PopCard(t.game.DiscardPile).Id);
             t.Discard(nine);
         },
         {"took the open pile topped by"}},
        {"a small first meld with black threes",
         [&](RefereedTurn& t) {
             const auto melded = {CardId(Spade, 4), CardId(Heart, 4), CardId(Club, 4), CardId(Spade, 2), CardId(Club, 2)};
             for (const int id : melded)
                 AddToHumanHand(t.game, id);
             t.referee.BeginTurn(t.game, Side::Human);
             t.Draw();
             t.Meld(melded);
             t.Discard(nine);
         },
         {"first meld worth 15 points, the minimum is 50", "melded 2 black threes while holding cards"}},
        {"going out without a canasta",
         [](RefereedTurn& t) {
             t.game.Human().Hand.Count = 0;
             AddToHumanHand(t.game, {CardId(Spade, 12), CardId(Heart, 12)});
             AddToHumanMelds(t.game, CardId(Club, 12));
             t.referee.BeginTurn(t.game, Side::Human);
             const CardRecord drawn = PopCard(t.game.Stock);
             AddToDiscardPile(t.game, drawn.Id, drawn.Deck);
             t.Meld({CardId(Spade, 12), CardId(Heart, 12)});
         },
         {"emptied its hand with 0 canastas; going out takes 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RefereedTurn t;
        c.play(t);
        const auto breaks = t.referee.JudgeTurn(t.game);
        EXPECT_EQ(breaks.empty(), c.breaks.empty());
        for (const std::string& expected : c.breaks)
            EXPECT_TRUE(Mentions(breaks, expected)) << expected;
    }
}

TEST(Referee, ACardTakenBackFromTheMeldsAndACardSwappedForItsTwinAreCaught)
{
    RefereedTurn t;
    t.BeginWithJacksMelded({Spade, Heart, Club, Diamond});
    t.Draw();
    RemoveCardById(t.game.Human().Melds, CardId(Diamond, Jack));
    AddToHumanHand(t.game, CardId(Diamond, Jack));
    CardPile& hand = t.game.Human().Hand;
    hand.Cards[IndexOfCard(hand, CardId(Heart, 9))].Deck = 1;
    t.Discard(CardId(Spade, 5));
    const auto breaks = t.referee.JudgeTurn(t.game);
    EXPECT_TRUE(Mentions(breaks, "took a card back from its melds"));
    EXPECT_TRUE(Mentions(breaks, "the human side ends with are not the cards it held, drew and took"));
}

// The melds' balance comes from the walk that brings their tally up to date:
// a card that stays in its column but is now its twin must still count as moved.
TEST(Referee, AMeldCardSwappedInPlaceForItsTwinIsCaught)
{
    RefereedTurn t;
    t.BeginWithJacksMelded({Spade, Heart, Club});
    t.Draw();
    t.Discard(CardId(Heart, 9));
    t.game.Human().Melds.Cards[1].Deck = 1;
    EXPECT_TRUE(Mentions(t.referee.JudgeTurn(t.game), "the human side ends with are not the cards it held, drew and took"));
}

// Whether the pile's top card was melded is read off the meld cards the turn
// moved: a twin of the top card melded in its place does not count.
TEST(Referee, ThePileTakenOntoAMeldNeedsItsTopCardMeldedNotItsTwin)
{
    const int jack = CardId(Diamond, Jack);
    for (const std::uint8_t meldedDeck : {0, 1}) {
        SCOPED_TRACE(meldedDeck);
        RefereedTurn t;
        AddToHumanHand(t.game, jack, 1);
        AddToDiscardPile(t.game, jack, 0);
        t.BeginWithJacksMelded({Spade, Heart, Club});
        while (t.game.DiscardPile.Count > 0) {
            const CardRecord taken = PopCard(t.game.DiscardPile);
            AddToHumanHand(t.game, taken.Id, taken.Deck);
        }
        CardPile& hand = t.game.Human().Hand;
        for (int i = 0; i < hand.Count; ++i)
            if (hand.Cards[i].Id == jack && hand.Cards[i].Deck == meldedDeck) {
                RemoveCardAt(hand, i, 0, false, 0);
                break;
            }
        AddToHumanMelds(t.game, jack, -1, meldedDeck);
        t.Discard(CardId(Heart, 9));
        EXPECT_EQ(Mentions(t.referee.JudgeTurn(t.game), "did not meld"), meldedDeck == 1);
    }
}

TEST(Referee, MeldsChangedBetweenTwoTurnsAreCountedAgain)
{
    RefereedTurn t;
    t.BeginWithJacksMelded({Spade, Heart, Club});
    t.Draw();
    t.Discard(CardId(Heart, 9));
    ASSERT_TRUE(t.referee.JudgeTurn(t.game).empty());

    // As many meld cards as before, but one of them is now a ten of its own.
    RemoveCardById(t.game.Human().Melds, CardId(Club, Jack));
    AddToHumanMelds(t.game, CardId(Club, Ten));
    t.referee.BeginTurn(t.game, Side::Human);
    t.Draw();
    t.Discard(CardId(Spade, 5));
    const auto breaks = t.referee.JudgeTurn(t.game);
    EXPECT_TRUE(Mentions(breaks, "left a meld of 2 cards in column 10"));
    EXPECT_TRUE(Mentions(breaks, "left a meld of 1 card in column 9"));
}

// The simulator asks the game for the human side's meld value again only when
// this number moves: a swap that keeps the count of meld cards must move it.
TEST(Referee, TheMeldsVersionMovesWhenAMeldCardIsSwapped)
{
    RefereedTurn t;
    t.BeginWithJacksMelded({Spade, Heart, Club});
    const auto withJacks = t.referee.MeldsVersion(Side::Human);
    t.referee.BeginTurn(t.game, Side::Human);
    EXPECT_EQ(t.referee.MeldsVersion(Side::Human), withJacks);

    RemoveCardById(t.game.Human().Melds, CardId(Club, Jack));
    AddToHumanMelds(t.game, CardId(Diamond, Jack));
    t.referee.BeginTurn(t.game, Side::Human);
    EXPECT_NE(t.referee.MeldsVersion(Side::Human), withJacks);
}

// The record of known cards trusts these findings instead of comparing the
// piles again: they must describe the turn judged last, never an earlier one.
TEST(Referee, PassesOnWhatTheTurnJudgedLastLeftAlone)
{
    RefereedTurn t;
    t.Draw();
    t.Discard(CardId(Heart, 9));
    t.referee.JudgeTurn(t.game);
    EXPECT_TRUE(t.referee.PilesAlikeAfterTurn().DiscardPileBelow);
    EXPECT_TRUE(t.referee.PilesAlikeAfterTurn().Melds);

    t.referee.BeginTurn(t.game, Side::Human);
    while (t.game.DiscardPile.Count > 0) {
        const CardRecord taken = PopCard(t.game.DiscardPile);
        AddToHumanHand(t.game, taken.Id, taken.Deck);
    }
    t.Meld({CardId(Club, 12), CardId(Diamond, 12)});
    t.Discard(CardId(Spade, 5));
    t.referee.JudgeTurn(t.game);
    EXPECT_FALSE(t.referee.PilesAlikeAfterTurn().DiscardPileBelow);
    EXPECT_FALSE(t.referee.PilesAlikeAfterTurn().Melds);
}

// The next side's turn begins from the copies the last turn left where the
// piles still hold as many cards; a pile that changed size between the turns
// is read again.
TEST(Referee, AfterCardsMovedBetweenTurnsTheNextTurnIsJudgedFromTheTableAsItIs)
{
    RefereedTurn t;
    t.Draw();
    t.Discard(CardId(Heart, 9));
    ASSERT_TRUE(t.referee.JudgeTurn(t.game).empty());
    // Between the turns the bottom card of the stock goes to the computer's hand.
    const CardRecord bottom = RemoveCardAt(t.game.Stock, 0, 0, true, 0);
    AddToHand(t.game, bottom.Id, bottom.Deck);

    t.referee.BeginTurn(t.game, Side::Computer);
    const CardRecord drawn = PopCard(t.game.Stock);
    AddToHand(t.game, drawn.Id, drawn.Deck);
    RemoveCardById(t.game.Computer().Hand, CardId(Club, 10));
    AddToDiscardPile(t.game, CardId(Club, 10));
    const auto breaks = t.referee.JudgeTurn(t.game);
    EXPECT_TRUE(breaks.empty()) << breaks.front();

    // Then a meld of kings appears on the human's side; the stock is empty.
    for (const Suit suit : {Spade, Heart, Club})
        AddToHumanMelds(t.game, CardId(suit, King));
    t.referee.BeginTurn(t.game, Side::Human);
    t.Discard(CardId(Spade, 5));
    const auto next = t.referee.JudgeTurn(t.game);
    EXPECT_TRUE(next.empty()) << next.front();
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
        // A card alone in its column still counts on the table.
        AddToHumanMelds(game, CardId(Diamond, 5));
        AddToHumanHand(game, {CardId(Heart, 2), JokerCard, CardId(Spade, 6)});
        referee.BeginHand(0, 0, false);
        game.Computer().Canastas.Count = 1;
        game.Computer().Canastas.Kind[King] = NaturalCanasta;
        score.Human = ScoreSide({game.Human().Melds, game.Human().Hand, game.Human().Canastas, false, false}, game.Rules);
        score.Computer =
            ScoreSide({game.Computer().Melds, game.Computer().Hand, game.Computer().Canastas, true, true}, game.Rules);
    }
};

TEST_F(EndedHand, TheRowsAreRecomputedFromTheCards)
{
    EXPECT_TRUE(referee.JudgeHandScore(game, score).empty());
    score.Human.Rows[RowHand].Value += 5;
    EXPECT_TRUE(Mentions(referee.JudgeHandScore(game, score), "the human side, cards in hand: the game scored 2 for -50"));
    score = {};
    EXPECT_TRUE(Mentions(referee.JudgeHandScore(game, score), "the computer side, canastas: the game scored 0 for 0, the cards give 1 for 500"));
}

}  // namespace
}  // namespace meldora::sim
