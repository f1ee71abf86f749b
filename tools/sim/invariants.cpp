#include "tools/sim/invariants.h"

#include <array>
#include <cstdint>

namespace meldora::sim {

namespace {

constexpr int WildcardColumn = 1;
constexpr int ThreesColumn = 2;
constexpr int FirstNaturalColumn = 3;
constexpr int CanastaSize = 7;
// The highest slot a column's two-word mask holds; a column never holds more than the deck.
constexpr int MaxStack = 127;

using Faults = std::vector<std::string>;

struct NamedPile {
    const char* Name;
    const CardPile* Pile;
};

int CardsIn(const CardPile& pile) { return pile.Count <= DeckSize ? pile.Count : DeckSize; }

// What every identity should be, looked up once: the deck is counted after every card move.
struct CardFacts {
    std::array<std::uint8_t, JokerId + 1> Rank{};
    std::array<std::int32_t, JokerId + 1> Points{};
    // Each deck holds every suited card once and two jokers.
    std::array<std::uint8_t, JokerId + 1> CopiesPerDeck{};
    CardFacts()
    {
        for (int id = 1; id <= JokerId; ++id) {
            CopiesPerDeck[id] = id == JokerId ? 2 : 1;
            Rank[id] = static_cast<std::uint8_t>(CardRank(id));
            Points[id] = CardPoints(id);
        }
    }
};

const CardFacts& Facts()
{
    static const CardFacts facts;
    return facts;
}

int ColumnAt(const TableLayout& layout, int x) { return (x - LeftMargin) / layout.ColumnPitch; }
int ColumnLeft(const TableLayout& layout, int column) { return LeftMargin + column * layout.ColumnPitch; }

std::array<NamedPile, 6> PilesOf(const CanastaGame& game)
{
    return {{{"the stock", &game.Stock},
             {"the discard pile", &game.DiscardPile},
             {"the human's hand", &game.Human().Hand},
             {"the computer's hand", &game.Computer().Hand},
             {"the human's melds", &game.Human().Melds},
             {"the computer's melds", &game.Computer().Melds}}};
}

// The quick count for after every card move; CheckDeck tells what is wrong.
bool DeckIsWhole(const CanastaGame& game)
{
    const CardFacts& facts = Facts();
    std::array<std::array<std::uint8_t, JokerId + 1>, 2> seen{};
    int total = 0;
    for (const NamedPile& named : PilesOf(game)) {
        const CardPile& pile = *named.Pile;
        if (pile.Count > DeckSize)
            return false;
        total += pile.Count;
        for (int i = 0; i < pile.Count; ++i) {
            const CardRecord& c = pile.Cards[i];
            if (c.Deck > 1 || c.Id > JokerId)
                return false;
            ++seen[c.Deck][c.Id];
        }
    }
    return total == DeckSize && seen[0] == facts.CopiesPerDeck && seen[1] == facts.CopiesPerDeck;
}

void CheckDeck(const CanastaGame& game, CheckMoment moment, Faults& faults)
{
    const std::array<NamedPile, 6> piles = PilesOf(game);
    const CardFacts& facts = Facts();
    // A record's rank and points are fixed when the deck is made; checking them
    // between turns is enough to catch a record written over.
    const bool recordFacts = moment == CheckMoment::BetweenTurns;
    std::array<std::array<std::uint8_t, JokerId + 1>, 2> seen{};
    int total = 0;
    for (const NamedPile& named : piles) {
        const CardPile& pile = *named.Pile;
        if (pile.Count > DeckSize)
            faults.push_back(std::string(named.Name) + " counts " + std::to_string(pile.Count) + " cards");
        total += pile.Count;
        const int count = CardsIn(pile);
        for (int i = 0; i < count; ++i) {
            const CardRecord& c = pile.Cards[i];
            if (c.Id < 1 || c.Id > JokerId || c.Deck > 1) {
                faults.push_back(std::string(named.Name) + " holds a card with identity " + std::to_string(c.Id) +
                                 " of deck " + std::to_string(c.Deck));
                continue;
            }
            ++seen[c.Deck][c.Id];
            if (recordFacts && (c.Rank != facts.Rank[c.Id] || c.Points != facts.Points[c.Id]))
                faults.push_back(std::string(named.Name) + " holds " + CardLabel(c) + " with rank " +
                                 std::to_string(c.Rank) + " and " + std::to_string(c.Points) + " points");
        }
    }
    if (total != DeckSize)
        faults.push_back("the piles hold " + std::to_string(total) + " cards, not " + std::to_string(DeckSize));
    if (seen[0] == facts.CopiesPerDeck && seen[1] == facts.CopiesPerDeck)
        return;
    for (std::uint8_t deck = 0; deck < 2; ++deck) {
        for (int id = 1; id <= JokerId; ++id) {
            const int expected = facts.CopiesPerDeck[id];
            if (seen[deck][id] != expected) {
                CardRecord c = MakeCard(id, deck);
                faults.push_back(CardLabel(c) + " is on the table " + std::to_string(seen[deck][id]) +
                                 " times, not " + std::to_string(expected));
            }
        }
    }
}

void CheckStackedPile(const CardPile& pile, const char* name, int x, int y, bool faceUp, Faults& faults)
{
    for (int i = 0; i < CardsIn(pile); ++i) {
        const CardRecord& c = pile.Cards[i];
        if (c.X != x || c.Y != y || c.FaceUp != faceUp) {
            faults.push_back(std::string(name) + ": " + CardLabel(c) + " lies at (" + std::to_string(c.X) + ", " +
                             std::to_string(c.Y) + ")" + (c.FaceUp ? " face up" : " face down"));
            return;
        }
    }
}

// Slots of the cards stacked in each column: card k (1-based) of a column lies
// k steps from the base, in the pile's direction. The computer lays a card on a
// column that already holds seven on the first slot (as on a squared canasta),
// so such cards are counted apart.
struct ColumnStacks {
    std::array<int, ColumnCount> Size{};
    std::array<int, ColumnCount> HighestSlot{};
    std::array<int, ColumnCount> LaidOnFirst{};
    std::array<std::array<std::uint64_t, 2>, ColumnCount> Taken{};
    std::array<bool, ColumnCount> Misplaced{};

    void Add(int column, int offset, int direction)
    {
        ++Size[column];
        const int step = offset * direction;
        if (step <= 0 || step % StackStep != 0 || step / StackStep > MaxStack) {
            Misplaced[column] = true;
            return;
        }
        const int slot = step / StackStep;
        std::uint64_t& word = Taken[column][slot / 64];
        const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
        if (word & bit) {
            if (slot == 1)
                ++LaidOnFirst[column];
            else
                Misplaced[column] = true;
        }
        word |= bit;
        if (slot > HighestSlot[column])
            HighestSlot[column] = slot;
    }
    // Cards stacked in slots 1..n, none twice in one place, none beyond the last;
    // with layOnFull, any further cards on the first slot once seven are stacked.
    int Stacked(int column) const { return Size[column] - LaidOnFirst[column]; }
    bool Packed(int column, bool layOnFull) const
    {
        const int stacked = Stacked(column);
        return !Misplaced[column] && HighestSlot[column] <= stacked &&
               (LaidOnFirst[column] == 0 || (layOnFull && stacked == CanastaSize));
    }
};

// "y 208, 220, 244; end 244": where the cards of a column lie, for a fault report.
std::string ColumnPlaces(const CardPile& pile, const TableLayout& layout, int column)
{
    std::string places = "y";
    const char* separator = " ";
    for (int i = 0; i < CardsIn(pile); ++i) {
        if (ColumnAt(layout, pile.Cards[i].X) != column)
            continue;
        places += separator + std::to_string(pile.Cards[i].Y);
        separator = ", ";
    }
    return places + "; end " + std::to_string(pile.ColumnEnds[column].Y);
}

void CheckHumanHand(const CanastaGame& game, Faults& faults)
{
    const CardPile& hand = game.Human().Hand;
    const TableLayout& l = game.Layout;
    ColumnStacks stacks;
    for (int i = 0; i < CardsIn(hand); ++i) {
        const CardRecord& c = hand.Cards[i];
        if (c.X != ColumnLeft(l, c.Rank) || !c.FaceUp) {
            faults.push_back("the human's hand: " + CardLabel(c) + " lies outside the column of its rank");
            return;
        }
        stacks.Add(c.Rank, c.Y - l.HumanHandBase, +1);
    }
    for (int column = 0; column < ColumnCount; ++column) {
        const ColumnEnd expectedEnd{ColumnLeft(l, column), l.HumanHandBase + StackStep * stacks.Size[column]};
        if (!stacks.Packed(column, false) || hand.ColumnEnds[column] != expectedEnd)
            faults.push_back("the human's hand: column " + std::to_string(column) + " is not stacked from its base (" +
                             ColumnPlaces(hand, l, column) + ")");
    }
}

void CheckComputerHand(const CanastaGame& game, Faults& faults)
{
    const CardPile& hand = game.Computer().Hand;
    for (int i = 0; i < CardsIn(hand); ++i) {
        const CardRecord& c = hand.Cards[i];
        if (c.X != LeftMargin + i * game.Presentation.ComputerHandSpacing || c.Y != game.Layout.ComputerHandTop ||
            c.FaceUp != game.Presentation.ComputerHandRevealed) {
            faults.push_back("the computer's hand: card " + std::to_string(i) + ", " + CardLabel(c) +
                             ", is out of its place in the row");
            return;
        }
    }
}

bool BelongsInColumn(const CardRecord& c, int column)
{
    if (c.Rank == ThreesColumn)
        return column == ThreesColumn;
    if (IsWild(c.Rank))
        return column == WildcardColumn || column >= FirstNaturalColumn;
    return column == c.Rank;
}

// One side's meld pile, column by column.
struct MeldSurvey {
    MeldSurvey(const CanastaGame& game, Side side)
        : Who(side == Side::Human ? "the human" : "the computer"),
          Name(side == Side::Human ? "the human's melds" : "the computer's melds"),
          Melds(side == Side::Human ? game.Human().Melds : game.Computer().Melds),
          Canastas(side == Side::Human ? game.Human().Canastas : game.Computer().Canastas),
          Base(side == Side::Human ? game.Layout.HumanMeldBase : game.Layout.ComputerMeldBase),
          Direction(side == Side::Human ? +1 : -1)
    {
    }

    const char* Who;
    const char* Name;
    const CardPile& Melds;
    const CanastaState& Canastas;
    int Base;
    int Direction;
    ColumnStacks Stacks;
    std::array<int, ColumnCount> Wild{};
    std::array<int, ColumnCount> Squared{};
    int Points = 0;
    bool Sound = true;

    int SquareY() const { return Base + Direction * StackStep; }
    std::string Where(int column) const { return std::string(Name) + ", column " + std::to_string(column) + ": "; }
};

MeldSurvey SurveyMelds(const CanastaGame& game, Side side, Faults& faults)
{
    const TableLayout& l = game.Layout;
    MeldSurvey survey(game, side);
    for (int i = 0; i < CardsIn(survey.Melds); ++i) {
        const CardRecord& c = survey.Melds.Cards[i];
        const int column = ColumnAt(l, c.X);
        if (column < 0 || column >= ColumnCount || c.X != ColumnLeft(l, column) || !BelongsInColumn(c, column) ||
            !c.FaceUp) {
            faults.push_back(std::string(survey.Name) + ": " + CardLabel(c) + " lies at x " + std::to_string(c.X) +
                             ", outside a column it may be melded to");
            survey.Sound = false;
            return survey;
        }
        if (!IsRedThree(c.Id))
            survey.Points += c.Points;
        if (IsWild(c.Rank))
            ++survey.Wild[column];
        if (c.Y == survey.SquareY())
            ++survey.Squared[column];
        survey.Stacks.Add(column, c.Y - survey.Base, survey.Direction);
    }
    return survey;
}

// Where the cards lie, the canastas and the computer's meld value.
void CheckMelds(const CanastaGame& game, const MeldSurvey& m, Faults& faults)
{
    const TableLayout& l = game.Layout;
    int canastaColumns = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        const int size = m.Stacks.Size[column];
        const int naturals = size - m.Wild[column];
        const std::uint8_t kind = m.Canastas.Kind[column];
        const ColumnEnd& end = m.Melds.ColumnEnds[column];
        if (end.X != ColumnLeft(l, column))
            faults.push_back(m.Where(column) + "the column end is at x " + std::to_string(end.X));
        if (kind == NoCanasta) {
            if (!m.Stacks.Packed(column, true) || end.Y != m.Base + m.Direction * StackStep * m.Stacks.Stacked(column))
                faults.push_back(m.Where(column) + "the cards are not stacked from the base (" +
                                 ColumnPlaces(m.Melds, l, column) + ")");
            if (m.Canastas.NaturalCount[column] != 0)
                faults.push_back(m.Where(column) + "a canasta label without a canasta");
            continue;
        }
        ++canastaColumns;
        if (m.Squared[column] != size || end.Y != m.SquareY())
            faults.push_back(m.Where(column) + "the canasta is not squared up");
        bool kindFits = false;
        if (kind == WildcardCanasta)
            kindFits = column == WildcardColumn && naturals == 0;
        else if (kind == NaturalCanasta)
            kindFits = column >= FirstNaturalColumn && m.Wild[column] == 0;
        else if (kind == MixedCanasta)
            kindFits = column >= FirstNaturalColumn && m.Wild[column] > 0 && naturals >= 4;
        if (size < CanastaSize || !kindFits)
            faults.push_back(m.Where(column) + "canasta kind " + std::to_string(kind) + " over " +
                             std::to_string(size) + " cards with " + std::to_string(m.Wild[column]) + " wild");
        if (m.Canastas.NaturalCount[column] != naturals)
            faults.push_back(m.Where(column) + "the canasta label counts " +
                             std::to_string(m.Canastas.NaturalCount[column]) + " naturals, the column holds " +
                             std::to_string(naturals));
    }
    if (m.Canastas.Count != canastaColumns)
        faults.push_back(std::string(m.Name) + ": " + std::to_string(m.Canastas.Count) + " canastas counted, " +
                         std::to_string(canastaColumns) + " on the table");
    if (&m.Melds == &game.Computer().Melds && m.Points != game.Computer().MeldValue)
        faults.push_back("the computer's meld value is " + std::to_string(game.Computer().MeldValue) +
                         ", its melds are worth " + std::to_string(m.Points));
}

}  // namespace

std::string CardLabel(const CardRecord& card)
{
    static constexpr std::array<const char*, 13> faces{"two",  "three", "four", "five",  "six",  "seven", "eight",
                                                      "nine", "ten",   "jack", "queen", "king", "ace"};
    static constexpr std::array<const char*, 4> suits{"spades", "clubs", "diamonds", "hearts"};
    const std::string deck = " (deck " + std::to_string(card.Deck) + ")";
    if (card.Id == JokerId)
        return "a joker" + deck;
    if (card.Id < 1 || card.Id > JokerId)
        return "a card with identity " + std::to_string(card.Id) + deck;
    const int index = card.Id - 1;
    return std::string("the ") + faces[index % 13] + " of " + suits[index / 13] + deck;
}

std::vector<std::string> FindTableFaults(const CanastaGame& game, CheckMoment moment)
{
    Faults faults;
    if (game.Turn.StockExhausted != (game.Stock.Count == 0))
        faults.push_back("the stock holds " + std::to_string(game.Stock.Count) + " cards but is marked " +
                         (game.Turn.StockExhausted ? "exhausted" : "not exhausted"));
    if (moment == CheckMoment::AfterCardMove) {
        if (!DeckIsWhole(game))
            CheckDeck(game, moment, faults);
        return faults;
    }

    CheckDeck(game, moment, faults);
    CheckStackedPile(game.Stock, "the stock", LeftMargin, game.Layout.StockTop, false, faults);
    CheckStackedPile(game.DiscardPile, "the discard pile", LeftMargin, game.Layout.DiscardTop, true, faults);
    CheckHumanHand(game, faults);
    CheckComputerHand(game, faults);
    for (const Side side : {Side::Human, Side::Computer}) {
        const MeldSurvey melds = SurveyMelds(game, side, faults);
        if (melds.Sound)
            CheckMelds(game, melds, faults);
    }
    const auto known = FindKnownCardFaults(game.Memory.KnownOpponentCards, game.Human().Hand, "the computer");
    faults.insert(faults.end(), known.begin(), known.end());
    return faults;
}

std::vector<std::string> FindKnownCardFaults(const CardPile& known, const CardPile& hand, const std::string& whose)
{
    Faults faults;
    std::array<int, JokerId + 1> inHand{};
    for (int i = 0; i < CardsIn(hand); ++i)
        if (hand.Cards[i].Id <= JokerId)
            ++inHand[hand.Cards[i].Id];
    for (int i = 0; i < CardsIn(known); ++i) {
        const CardRecord& c = known.Cards[i];
        if (c.Id > JokerId || inHand[c.Id]-- <= 0)
            faults.push_back(whose + " counts " + CardLabel(c) + " as known in the other hand, which lacks it");
    }
    return faults;
}

std::vector<std::string> FindHandScoreFaults(const HandScore& score, const CanastaGame& game)
{
    Faults faults;
    int scoredCards = 0;
    for (const SideScore* side : {&score.Human, &score.Computer}) {
        int sum = 0;
        for (int row = RowTable; row < RowTotal; ++row)
            sum += side->Rows[row].Value;
        if (sum != side->Total())
            faults.push_back("a hand score's rows add up to " + std::to_string(sum) + ", its total is " +
                             std::to_string(side->Total()));
        scoredCards += side->Rows[RowTable].Number + side->Rows[RowHand].Number + side->Rows[RowRedThrees].Number;
    }
    const int elsewhere = game.Stock.Count + game.DiscardPile.Count;
    if (scoredCards + elsewhere != DeckSize)
        faults.push_back("the hand was scored for " + std::to_string(scoredCards) + " cards with " +
                         std::to_string(elsewhere) + " in the stock and the pile");
    return faults;
}

}  // namespace meldora::sim
