// Cards, piles and the per-side canasta record: the data every rule works on.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

namespace meldora {

inline constexpr int DeckSize = 108;
inline constexpr int ColumnCount = 14;
inline constexpr int JokerId = 53;
inline constexpr int LeftMargin = 3;
inline constexpr int StackStep = 12;

// The ranks, in the order the table lays their columns out: the wild cards
// first, then threes, then four to ace. A hand is counted and a meld placed by
// rank, so the rank is also the column index.
enum Rank : std::uint8_t {
    Joker = 0,
    Two = 1,
    Three = 2,
    Four = 3,
    Five = 4,
    Six = 5,
    Seven = 6,
    Eight = 7,
    Nine = 8,
    Ten = 9,
    Jack = 10,
    Queen = 11,
    King = 12,
    Ace = 13,
};

// Card identity: suit * 13 + face + 1 (suits spade, club, diamond, heart;
// faces two..ace), 53 for every joker. The four one-byte fields lead, so a
// card is 16 bytes with no padding: piles are copied and compared as plain
// bytes, and two cards alike field for field are alike byte for byte.
struct CardRecord {
    std::uint8_t Id = 0;
    std::uint8_t Rank = 0;
    bool FaceUp = false;
    std::uint8_t Deck = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Points = 0;

    bool operator==(const CardRecord&) const = default;
};
static_assert(std::has_unique_object_representations_v<CardRecord>, "a card record holds no padding");

struct ColumnEnd {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const ColumnEnd&) const = default;
};

// Only the first Count cards belong to the pile: a copy takes and a comparison
// looks at those alone, so copying a game copies the cards in play, not 108
// places per pile.
struct CardPile {
    std::array<CardRecord, DeckSize> Cards{};
    std::uint8_t Count = 0;
    std::array<ColumnEnd, ColumnCount> ColumnEnds{};

    CardPile() = default;
    CardPile(const CardPile& other) : Count(other.Count), ColumnEnds(other.ColumnEnds)
    {
        std::copy_n(other.Cards.begin(), Count, Cards.begin());
    }
    CardPile& operator=(const CardPile& other)
    {
        Count = other.Count;
        ColumnEnds = other.ColumnEnds;
        std::copy_n(other.Cards.begin(), Count, Cards.begin());
        return *this;
    }

    // The same as assigning an empty pile, without building one first.
    void Clear()
    {
        Count = 0;
        ColumnEnds = {};
    }

    const CardRecord& top() const;
    bool operator==(const CardPile& other) const
    {
        return Count == other.Count && ColumnEnds == other.ColumnEnds &&
               std::equal(Cards.begin(), Cards.begin() + Count, other.Cards.begin());
    }
};

struct CanastaState {
    std::int32_t Count = 0;
    std::array<std::uint8_t, ColumnCount> Kind{};  // 0 none, 1 mixed, 2 natural, 3 wildcard
    std::array<std::uint8_t, ColumnCount> NaturalCount{};
    bool operator==(const CanastaState&) const = default;
};

enum CanastaKind : std::uint8_t { NoCanasta = 0, MixedCanasta = 1, NaturalCanasta = 2, WildcardCanasta = 3 };

int CardRank(int id);
int CardPoints(int id);
// Asked for nearly every card the rules and the computer look at: kept inline.
inline bool IsWild(int rank) { return rank == Joker || rank == Two; }
inline bool IsRedThree(int id) { return id == 28 || id == 41; }
inline bool IsBlackThree(int id) { return id == 2 || id == 15; }
// What a card adds to its side's meld value: a red three is scored apart and
// adds nothing. Its record carries no points (CardPoints gives it none, and a
// saved game whose cards carry other points than their own is refused), so
// every card adds the points of its record, without a test of its identity.
inline int MeldPoints(const CardRecord& card) { return card.Points; }
inline bool IsBlackSuit(int id) { return id >= 1 && id <= 26; }  // spade or club; false for the joker

struct CardNameResult {
    std::string Name;  // image name such as "heartv" or "spade10"
    int Id = 0;
};
CardNameResult CardName(int suit, int face);

CardRecord MakeCard(int id, std::uint8_t deck);
// The 108 cards in the order a deal names their places in the stock: the first
// deck's suits with their faces from two to ace, its two jokers, then the second deck.
const std::array<CardRecord, DeckSize>& CardsInDealOrder();

// Pile operations. Overfilling a pile or an index out of range throws std::out_of_range.
// Every card move goes through AppendCard and PopCard: kept inline, with the
// refusals out of line.
[[noreturn]] void ThrowPileFull();
[[noreturn]] void ThrowPileEmpty();
inline void AppendCard(CardPile& pile, const CardRecord& card)
{
    if (pile.Count >= DeckSize)
        ThrowPileFull();
    pile.Cards[pile.Count] = card;
    ++pile.Count;
}
inline CardRecord PopCard(CardPile& pile)
{
    if (pile.Count == 0)
        ThrowPileEmpty();
    --pile.Count;
    return pile.Cards[pile.Count];
}
void RemoveCardById(CardPile& pile, int id);
[[noreturn]] void ThrowIndexOutsidePile();
// Takes the card at index out of the pile and closes the gap it leaves: the
// cards after it move down one place. Every card leaving a hand passes here:
// kept inline.
inline CardRecord TakeCardAt(CardPile& pile, int index)
{
    if (index < 0 || index >= pile.Count)
        ThrowIndexOutsidePile();
    const CardRecord removed = pile.Cards[index];
    const int count = pile.Count - 1;
    std::copy(pile.Cards.begin() + index + 1, pile.Cards.begin() + count + 1, pile.Cards.begin() + index);
    pile.Count = static_cast<std::uint8_t>(count);
    return removed;
}
// TakeCardAt, and unless keepColumn the cards below the taken one in its
// column (in the direction the column grows) move up one step. Every card
// leaving the human's hand passes here: kept inline.
[[noreturn]] void ThrowColumnOutsideTable();
inline CardRecord RemoveCardAt(CardPile& pile, int index, int direction, bool keepColumn, int column)
{
    if (!keepColumn && (column < 0 || column >= ColumnCount))
        ThrowColumnOutsideTable();
    // The pile closes its gap in one move; then the cards beyond the removed
    // one in its column close theirs. A column is stacked in record order (a
    // card joins its column's end as it joins the pile's end, and a column laid
    // again is laid in record order), so those cards are among the records that
    // followed the removed one. Most cards lie in other columns, so the x alone
    // turns them away.
    const CardRecord removed = TakeCardAt(pile, index);
    const int count = pile.Count;
    if (keepColumn)
        return removed;
    ColumnEnd& end = pile.ColumnEnds[column];
    // The column's end is where its deepest card lies: a card taken from there
    // leaves no card behind it to move up, as a player's last card of a rank
    // mostly is.
    const bool takenFromEnd = removed.Y == end.Y;
    end.Y -= direction * StackStep;
    if (takenFromEnd)
        return removed;
    const int removedDepth = removed.Y * direction;
    // Unrolled, the loop's own count and jump are paid once for several cards.
#pragma GCC unroll 4
    for (int j = index; j < count; ++j) {
        CardRecord& c = pile.Cards[j];
        if (c.X == removed.X && c.Y * direction > removedDepth)
            c.Y -= direction * StackStep;
    }
    return removed;
}
// Places a card at the end of its rank's column (lengthening the column unless
// hold); every card laid into a hand or a meld by rank passes here: kept inline.
[[noreturn]] void ThrowRankOutsideTable();
inline void PlaceInColumn(CardPile& pile, bool downwards, bool hold, CardRecord& card)
{
    if (card.Rank >= ColumnCount)
        ThrowRankOutsideTable();
    ColumnEnd& end = pile.ColumnEnds[card.Rank];
    card.X = end.X;
    if (!hold)
        end.Y += downwards ? StackStep : -StackStep;
    card.Y = end.Y;
}
void ResetCanastaState(CanastaState& state);

}  // namespace meldora
