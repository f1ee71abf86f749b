// The card bookkeeping the referee judges with: cards counted by face and
// deck, piles copied and compared without allocating, and the cards that
// differ between a pile before and after a turn. It knows nothing of the rules.
//
// Everything here runs for every pile of every turn, so it lives in the header.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/card.h"

namespace meldora::sim {

// Cards counted by face and deck (the two jokers of a deck are alike).
inline constexpr int CardKeyCount = 2 * (JokerId + 1);
// The deck holds at most two cards of a key: a byte each keeps the counts small.
using CardCounts = std::array<std::uint8_t, CardKeyCount>;

// A card's face and deck. A card that is no card of the two decks counts under
// key 0, which no card has: the counts stay within their array and the card
// still fails to match. Every card counted passes here: both bounds are tested
// together, with one jump rather than one for each.
inline int CardKey(const CardRecord& card)
{
    const unsigned id = card.Id;
    const unsigned deck = card.Deck;
    return static_cast<int>(((id <= JokerId) & (deck <= 1)) ? deck * (JokerId + 1) + id : 0u);
}
inline int IdOfKey(int key) { return key % (JokerId + 1); }

// The cards of a pile; one that counts more cards than it has room for is read
// as far as its room goes.
inline std::span<const CardRecord> CardsOf(const CardPile& pile)
{
    return {pile.Cards.data(), static_cast<std::size_t>(std::min<int>(pile.Count, DeckSize))};
}

// Copies a pile's cards and count, not its column ends.
inline void CopyCards(CardPile& into, const CardPile& from)
{
    into.Count = from.Count;
    const std::span<const CardRecord> cards = CardsOf(from);
    std::copy(cards.begin(), cards.end(), into.Cards.begin());
}

inline void AddCards(CardCounts& into, std::span<const CardRecord> cards)
{
    for (const CardRecord& card : cards)
        ++into[CardKey(card)];
}

inline CardCounts CountsOf(std::span<const CardRecord> cards)
{
    CardCounts counts{};
    AddCards(counts, cards);
    return counts;
}

inline bool SameKey(const CardRecord& a, const CardRecord& b) { return a.Id == b.Id && a.Deck == b.Deck; }

// The same cards in the same order, every field alike: a card has no padding,
// so its bytes are its fields, and a pile compares in one call.
inline bool SameBytes(std::span<const CardRecord> a, std::span<const CardRecord> b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

// Two cards alike byte for byte. Cards copied from one pile to another are,
// so this settles most comparisons of a pile before and after a turn at once;
// a card has no padding, so its bytes are its fields.
inline bool SameCardBytes(const CardRecord& a, const CardRecord& b)
{
    return std::memcmp(&a, &b, sizeof(CardRecord)) == 0;
}

// How many leading cards two piles share byte for byte. A pile is drawn into
// at its end and laid from anywhere: the cards before the first one that left
// (or moved) are the very cards they were, and a walk that matches the two
// piles card by card can start after them.
inline std::size_t SameLeadingCards(std::span<const CardRecord> a, std::span<const CardRecord> b)
{
    const std::size_t shorter = std::min(a.size(), b.size());
    // Often the shorter pile is all alike (the other grew at its end): one
    // comparison of the whole says so.
    if (SameBytes(a.first(shorter), b.first(shorter)))
        return shorter;
    std::size_t alike = 0;
    while (alike < shorter && SameCardBytes(a[alike], b[alike]))
        ++alike;
    return alike;
}

// The same faces and decks in the same order.
inline bool SameKeys(std::span<const CardRecord> a, std::span<const CardRecord> b)
{
    return SameBytes(a, b) || std::equal(a.begin(), a.end(), b.begin(), b.end(), SameKey);
}

// The same cards, in whatever order: most piles a turn leaves alone are
// compared card by card and counted only when they differ.
inline bool SameCards(std::span<const CardRecord> a, std::span<const CardRecord> b)
{
    return SameKeys(a, b) || CountsOf(a) == CountsOf(b);
}

// A meld card a turn added (Sign +1) or took away (-1), with its face, its key
// and its column; the cards matched between the melds before and after are not listed.
struct MovedMeldCard {
    std::uint8_t Id = 0;
    std::uint8_t Key = 0;
    std::uint8_t Column = 0;
    std::int8_t Sign = 0;
};

// What comparing the piles as a turn began with the table after it found,
// passed on so that the next look at the same piles need not compare them again.
struct TurnPilesAlike {
    // The discard pile as the turn began lies as it lay at the bottom of the pile.
    bool DiscardPileBelow = false;
    // The moving side's melds are the cards they were, byte for byte.
    bool Melds = false;
    // When the melds changed and were matched card by card (and only then
    // MeldCardsMovedKnown): the cards that moved, and nothing else.
    bool MeldCardsMovedKnown = false;
    std::span<const MovedMeldCard> MeldCardsMoved;
};

// Walks the cards of one pile before and after a turn and hands on the keys
// of those the other lacks: what only before held to onlyBefore, what only
// after holds to onlyAfter. Like cards (face and deck) are matched in pile
// order, and any such matching leaves the difference between the two counts
// the same; a turn draws into, lays out of and discards from piles that keep
// their other cards in order, so nearly every card is matched and only the
// few that moved are handed on. Every card of after, matched or not, is handed
// to eachAfter on the way (a look at the pile as it is, without a walk of its own).
// Returns how many of before's cards were not matched.
template <typename OnlyBefore, typename OnlyAfter, typename EachAfter>
int ForEachUnmatched(std::span<const CardRecord> before, std::span<const CardRecord> after, OnlyBefore&& onlyBefore,
                     OnlyAfter&& onlyAfter, EachAfter&& eachAfter)
{
    if (SameBytes(before, after)) {
        for (const CardRecord& card : after)
            eachAfter(card);
        return 0;
    }
    // Walked by pointer: this runs over every card of the moving side's hand each turn.
    const CardRecord* b = before.data();
    const CardRecord* const beforeEnd = b + before.size();
    const CardRecord* a = after.data();
    const CardRecord* const afterEnd = a + after.size();
    int unmatched = 0;
    while (b != beforeEnd && a != afterEnd) {
        if (SameKey(*b, *a)) {
            eachAfter(*a);
            ++b;
            ++a;
        } else if (a + 1 != afterEnd && SameKey(*b, a[1])) {
            eachAfter(*a);
            onlyAfter(CardKey(*a++));
        } else {
            onlyBefore(CardKey(*b++));
            ++unmatched;
        }
    }
    for (; b != beforeEnd; ++b, ++unmatched)
        onlyBefore(CardKey(*b));
    for (; a != afterEnd; ++a) {
        eachAfter(*a);
        onlyAfter(CardKey(*a));
    }
    return unmatched;
}

template <typename OnlyBefore, typename OnlyAfter>
int ForEachUnmatched(std::span<const CardRecord> before, std::span<const CardRecord> after, OnlyBefore&& onlyBefore,
                     OnlyAfter&& onlyAfter)
{
    return ForEachUnmatched(before, after, onlyBefore, onlyAfter, [](const CardRecord&) {});
}

// Cards counted in (up) and out (down) by key in one array: the balance is
// even when every key comes to zero, which settles in one comparison what two
// counts compared key by key would. It wraps as the byte counts do.
using CardBalance = std::array<std::int8_t, CardKeyCount>;

inline void CountIn(CardBalance& balance, int key) { balance[key] = static_cast<std::int8_t>(balance[key] + 1); }
inline void CountOut(CardBalance& balance, int key) { balance[key] = static_cast<std::int8_t>(balance[key] - 1); }

inline void CountIn(CardBalance& balance, std::span<const CardRecord> cards)
{
    for (const CardRecord& card : cards)
        CountIn(balance, CardKey(card));
}

inline void CountOut(CardBalance& balance, std::span<const CardRecord> cards)
{
    for (const CardRecord& card : cards)
        CountOut(balance, CardKey(card));
}

// Every key's count in more (a CardCounts or another balance) counted in.
template <typename Counts>
void CountInEach(CardBalance& balance, const Counts& more)
{
    for (int key = 0; key < CardKeyCount; ++key)
        balance[key] = static_cast<std::int8_t>(balance[key] + more[key]);
}

// What only before held counted in, what only after holds counted out; every
// card of after handed to eachAfter.
template <typename EachAfter>
int BalanceUnmatched(std::span<const CardRecord> before, std::span<const CardRecord> after, CardBalance& balance,
                     EachAfter&& eachAfter)
{
    return ForEachUnmatched(
        before, after, [&balance](int key) { CountIn(balance, key); }, [&balance](int key) { CountOut(balance, key); },
        eachAfter);
}

inline int BalanceUnmatched(std::span<const CardRecord> before, std::span<const CardRecord> after, CardBalance& balance)
{
    return BalanceUnmatched(before, after, balance, [](const CardRecord&) {});
}

// Every key at zero. Asked once a turn, of a balance mostly even: the counts
// are looked at a word at a time, with no early way out.
inline bool Even(const CardBalance& balance)
{
    std::uint64_t any = 0;
    std::size_t key = 0;
    for (; key + sizeof any <= balance.size(); key += sizeof any) {
        std::uint64_t word;
        std::memcpy(&word, balance.data() + key, sizeof word);
        any |= word;
    }
    for (; key < balance.size(); ++key)
        any |= static_cast<std::uint8_t>(balance[key]);
    return any == 0;
}

}  // namespace meldora::sim
