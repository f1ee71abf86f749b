#include "core/saved_game_record.h"

#include <array>
#include <initializer_list>
#include <string>

#include "core/layout.h"
#include "core/scoring.h"

namespace meldora {

namespace {

// The widest a window can be: no table position lies farther right.
constexpr int WidestWindow = 32767;
// Scores far beyond any match, yet far enough from the integer limits that
// adding any hand's score can never overflow.
constexpr int HighestScore = 1'000'000;

// The points of every card of the deck together: no meld value or first-meld
// minimum goes beyond them.
int DeckPoints()
{
    int points = 0;
    for (int id = 1; id < JokerId; ++id)
        points += 2 * CardPoints(id);
    return points + 4 * CardPoints(JokerId);
}

std::string Range(long long low, long long high) { return std::to_string(low) + ".." + std::to_string(high); }

void RequireWithin(long long value, long long low, long long high, const std::string& what)
{
    if (value < low || value > high)
        throw DamagedFile(what + " is " + std::to_string(value) + ", not within " + Range(low, high));
}

// The piles together hold each suited card twice and four jokers; with
// wholeDeck false, no card more often than that.
void RequireDeck(std::initializer_list<const CardPile*> piles, bool wholeDeck, const std::string& which)
{
    std::array<int, JokerId + 1> copies{};
    int total = 0;
    for (const CardPile* pile : piles) {
        total += pile->Count;
        for (int i = 0; i < pile->Count; ++i)
            ++copies[pile->Cards[i].Id];
    }
    if (wholeDeck && total != DeckSize)
        throw DamagedFile(which + " hold " + std::to_string(total) + " cards instead of " + std::to_string(DeckSize));
    for (int id = 1; id <= JokerId; ++id) {
        const int inDeck = id == JokerId ? 4 : 2;
        if (wholeDeck ? copies[id] != inDeck : copies[id] > inDeck)
            throw DamagedFile(which + " hold card " + std::to_string(id) + " " + std::to_string(copies[id]) +
                              " times, while the deck holds it " + std::to_string(inDeck) + " times");
    }
}

void RequireCardsOnTable(const CardPile& pile, const SizeClass& size, const std::string& which)
{
    for (int i = 0; i < pile.Count; ++i) {
        const CardRecord& c = pile.Cards[i];
        const std::string card = "card " + std::to_string(i + 1) + " of " + which;
        if (c.Points != CardPoints(c.Id))
            throw DamagedFile(card + " is worth " + std::to_string(c.Points) + " points instead of " +
                              std::to_string(CardPoints(c.Id)));
        RequireWithin(c.X, -size.TableWidth, WidestWindow, "the x of " + card);
        RequireWithin(c.Y, -size.TableHeight, 2 * size.TableHeight, "the y of " + card);
    }
}

void RequireColumnEndsOnTable(const CardPile& pile, const SizeClass& size, const std::string& which)
{
    for (const ColumnEnd& end : pile.ColumnEnds) {
        RequireWithin(end.X, -size.TableWidth, WidestWindow, "a column end of " + which);
        RequireWithin(end.Y, -size.TableHeight, 2 * size.TableHeight, "a column end of " + which);
    }
}

void RequireCanastaCount(const CanastaState& state, const std::string& which)
{
    int squared = 0;
    for (int column = 1; column < ColumnCount; ++column) {
        if (state.Kind[column] != NoCanasta)
            ++squared;
        RequireWithin(state.NaturalCount[column], 0, DeckSize, "a natural count of " + which);
    }
    if (state.Count != squared)
        throw DamagedFile(which + " count " + std::to_string(state.Count) + " canastas but mark " +
                          std::to_string(squared));
}

}  // namespace

void CheckPossibleGame(const SavedGameRecord& r)
{
    RequireDeck({&r.Stock, &r.ComputerHand, &r.DiscardPile, &r.ComputerMelds, &r.HumanHand, &r.HumanMelds}, true,
                "the piles on the table");
    // The snapshot of the turn may be older than the piles around it, but it
    // never holds a card the deck does not.
    RequireDeck({&r.DiscardBackup, &r.HumanHandBackup, &r.HumanMeldsBackup}, false, "the piles at the start of the turn");
    // A save is refused while the pile is being taken, so no file can hold
    // one (nor its top card waiting on the table); only a take can bring the
    // snapshot back onto the table.
    if (r.TakingPile || r.TopCardOnTable)
        throw DamagedFile("it was saved while taking the discard pile");

    const SizeClass& size = SizeClasses.at(r.SizeIndex);
    const struct {
        const CardPile& Pile;
        bool WithColumnEnds;
        const char* Name;
    } piles[] = {
        {r.Stock, false, "the stock"},
        {r.ComputerHand, false, "the opponent's hand"},
        {r.DiscardPile, false, "the discard pile"},
        {r.DiscardBackup, false, "the discard pile at the start of the turn"},
        {r.ComputerMelds, true, "the opponent's melds"},
        {r.HumanHand, true, "your hand"},
        {r.HumanMelds, true, "your melds"},
        {r.HumanHandBackup, true, "your hand at the start of the turn"},
        {r.HumanMeldsBackup, true, "your melds at the start of the turn"},
    };
    for (const auto& p : piles) {
        RequireCardsOnTable(p.Pile, size, p.Name);
        if (p.WithColumnEnds)
            RequireColumnEndsOnTable(p.Pile, size, p.Name);
    }

    RequireCanastaCount(r.HumanCanastas, "your canastas");
    RequireCanastaCount(r.ComputerCanastas, "the opponent's canastas");
    RequireCanastaCount(r.HumanCanastasBackup, "your canastas at the start of the turn");

    RequireWithin(r.TakeColumnBefore, 0, DeckSize, "the take column");
    RequireWithin(r.TakeNaturalsBefore, 0, DeckSize, "the take naturals");
    RequireWithin(r.ComputerMeldValue, 0, DeckPoints(), "the opponent's meld value");
    RequireWithin(r.HumanMinimumMeld, 0, DeckPoints(), "your minimum meld");
    RequireWithin(r.ComputerScore, -HighestScore, HighestScore, "the opponent's score");
    RequireWithin(r.HumanScore, -HighestScore, HighestScore, "your score");
}

}  // namespace meldora
