#include "tools/netsim/scripted_player.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace meldora::netsim {

namespace {

int FindInHand(const CanastaGame& game, int rank)
{
    const CardPile& hand = game.Human().Hand;
    for (int i = hand.Count - 1; i >= 0; --i)
        if (hand.Cards[i].Rank == rank)
            return i;
    return -1;
}

int CountInHand(const CanastaGame& game, int rank)
{
    int count = 0;
    for (int i = 0; i < game.Human().Hand.Count; ++i)
        if (game.Human().Hand.Cards[i].Rank == rank)
            ++count;
    return count;
}

}  // namespace

ScriptedPlayer::ScriptedPlayer(std::uint32_t seed, std::function<void()> afterMove)
    : random_(seed), afterMove_(std::move(afterMove))
{
}

bool ScriptedPlayer::TurnIsOver(const CanastaGame& game) const
{
    return game.Turn.ComputerTurn || game.Turn.Phase == TurnPhase::HandOver || game.Match.DealString != dealAtStart_;
}

bool ScriptedPlayer::PlayTurn(CanastaGame& game)
{
    dealAtStart_ = game.Match.DealString;
    // A take that cannot be completed is undone and the turn begins again.
    for (int attempt = 0; attempt < 3 && game.Turn.Phase == TurnPhase::Draw; ++attempt) {
        Draw(game, attempt == 0);
        if (TurnIsOver(game))
            return true;
        CompleteOrUndoTake(game);
        if (TurnIsOver(game))
            return true;
    }
    Meld(game);
    if (TurnIsOver(game))
        return true;
    if (game.Rules.ThreeBlock && Chance(8) == 0) {
        for (int i = 0; i < game.Human().Melds.Count; ++i) {
            if (IsRedThree(game.Human().Melds.Cards[i].Id)) {
                game.BlockWithRedThree(i);
                Moved();
                break;
            }
        }
        if (TurnIsOver(game))
            return true;
    }
    if (TryDiscard(game))
        return true;
    game.UndoAll();
    Moved();
    return TryDiscard(game) || TurnIsOver(game);
}

void ScriptedPlayer::Draw(CanastaGame& game, bool mayTakePile)
{
    if (game.Turn.Phase != TurnPhase::Draw)
        return;
    if (game.Stock.Count == 0) {
        game.EndHandClick();
        Moved();
        if (!TurnIsOver(game)) {
            game.TakePile();
            Moved();
        }
        return;
    }
    if (mayTakePile && Chance(3) == 0 && game.CanTakePile(Side::Human, false)) {
        game.TakePile();
        Moved();
        return;
    }
    while (!TurnIsOver(game) && (game.Turn.Phase == TurnPhase::Draw || game.Turn.Phase == TurnPhase::SecondCard) &&
           game.Stock.Count > 0) {
        game.DrawFromStock();
        Moved();
    }
}

void ScriptedPlayer::CompleteOrUndoTake(CanastaGame& game)
{
    if (!game.Take.Pending)
        return;
    const int rank = game.Take.TopCardRank;
    for (int index = FindInHand(game, rank); index >= 0 && game.Take.Pending && !TurnIsOver(game);
         index = FindInHand(game, rank)) {
        game.MeldCard(index);
        Moved();
    }
    for (int wild : {Joker, Two}) {
        if (!game.Take.Pending || TurnIsOver(game) || FindInHand(game, wild) < 0)
            continue;
        game.AddWildCard(rank);
        Moved();
    }
    if (game.Take.Pending && !TurnIsOver(game)) {
        game.UndoTake();
        Moved();
    }
}

void ScriptedPlayer::Meld(CanastaGame& game)
{
    for (int rank = Four; rank <= Ace && !TurnIsOver(game); ++rank) {
        const bool onTable = game.ColumnSize(Side::Human, rank) >= 3;
        if (!onTable && CountInHand(game, rank) < 3)
            continue;
        // Mostly a card is kept back to discard; now and then the last card is melded
        // too, which goes out when the table allows it.
        const int keep = Chance(4) == 0 ? 0 : 1;
        while (!TurnIsOver(game) && game.Human().Hand.Count > keep && FindInHand(game, rank) >= 0) {
            const int before = game.Human().Hand.Count;
            game.MeldCard(FindInHand(game, rank));
            Moved();
            if (game.Human().Hand.Count == before)
                break;
        }
    }
    if (TurnIsOver(game))
        return;
    if (Chance(3) == 0) {
        for (int rank = Four; rank <= Ace; ++rank) {
            if (game.ColumnSize(Side::Human, rank) < 3 || game.Human().Hand.Count < 2)
                continue;
            if (FindInHand(game, Two) < 0 && FindInHand(game, Joker) < 0)
                break;
            game.AddWildCard(rank);
            Moved();
            break;
        }
    }
    if (!TurnIsOver(game) && Chance(6) == 0 && !game.Undo.Stack.empty()) {
        game.UndoMeld();
        Moved();
    }
}

bool ScriptedPlayer::TryDiscard(CanastaGame& game)
{
    std::vector<int> order(game.Human().Hand.Count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random_);
    // Wild cards freeze the pile: they go last.
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return !IsWild(game.Human().Hand.Cards[i].Rank); });
    for (int index : order) {
        if (TurnIsOver(game))
            return true;
        if (index >= game.Human().Hand.Count)
            continue;
        game.DiscardCard(index);
        Moved();
        if (TurnIsOver(game))
            return true;
    }
    return TurnIsOver(game);
}

}  // namespace meldora::netsim
