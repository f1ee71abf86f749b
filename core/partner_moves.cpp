// The network partner's moves, replayed on the opponent's seat of this copy's
// table. The partner's copy has already judged each move by the rules in force
// there; here a move is only checked for being possible at all, before anything
// changes, so that a faulty or hostile message cannot corrupt the table.
#include <array>
#include <string>

#include "core/game.h"
#include "core/table_host.h"

namespace meldora {

namespace {

// The last card of the pile with that id (of two cards with one id, the one
// laid last), optionally only in one meld column; -1 when there is none.
int FindLastCard(const CanastaGame& game, const CardPile& pile, int cardId, int column = -1)
{
    for (int i = pile.Count - 1; i >= 0; --i)
        if (pile.Cards[i].Id == cardId && (column < 0 || game.ColumnOf(pile.Cards[i]) == column))
            return i;
    return -1;
}

int RequireInHand(const CanastaGame& game, int cardId)
{
    const int index = FindLastCard(game, game.Computer().Hand, cardId);
    if (index < 0)
        throw ImpossibleMove("card " + std::to_string(cardId) + " is not in the opponent's hand");
    return index;
}

void RequireColumn(int column)
{
    if (column < 0 || column >= ColumnCount)
        throw ImpossibleMove("column " + std::to_string(column) + " is not a meld column");
}

// Lays a card that has left the partner's hand or the pile on the partner's meld
// in that column, flies it there and squares up a canasta it completes.
void LayOnPartnerMeld(CanastaGame& game, CardRecord card, int column)
{
    const int fromX = card.X;
    const int fromY = card.Y;
    const int before = game.ColumnSize(Side::Computer, column);
    game.PlaceOnMeld(Side::Computer, card, column, before);
    AppendCard(game.Computer().Melds, card);
    game.Host().MoveCard(card, fromX, fromY, card.X, card.Y);
    if (before >= 6)
        game.CheckCanasta(Side::Computer, column);
}

// The partner's turn has begun: both sides' tables as they stand now decide
// whether a side that goes out later goes out concealed.
void NoteTablesAtPartnersTurn(CanastaGame& game)
{
    game.Human().MeldedBefore = game.MeldValueOnTable(Side::Human, false);
    game.Computer().MeldedBefore = game.MeldValueOnTable(Side::Computer, false);
}

// The card flies face down into a hand: its back is all this copy may see.
CardRecord BackOf(const CardRecord& card)
{
    CardRecord back = card;
    back.Id = static_cast<std::uint8_t>(54 + card.Deck);
    return back;
}

}  // namespace

void CanastaGame::DealFromPartner(const std::string& deal)
{
    if (deal.size() != 1 + DeckSize || (deal[0] != '0' && deal[0] != '1'))
        throw ImpossibleMove("a deal is \"0\" or \"1\" followed by the places of the 108 cards");
    std::array<bool, DeckSize> taken{};
    CardPile stock;
    const std::array<CardRecord, DeckSize>& cards = CardsInDealOrder();
    for (int i = 0; i < DeckSize; ++i) {
        const int place = static_cast<unsigned char>(deal[1 + i]);
        if (place < 1 || place > DeckSize || taken[place - 1])
            throw ImpossibleMove("the deal does not give each of the 108 cards a place of its own");
        taken[place - 1] = true;
        CardRecord card = cards[i];
        card.X = LeftMargin;
        card.Y = Layout.StockTop;
        stock.Cards[place - 1] = card;
    }
    stock.Count = DeckSize;

    Stock = stock;
    Match.DealString = deal;
    // The dealer's "draws first" is the other way round here.
    Match.DrawFirst = deal[0] == '0';
    DealFromStock(true, Side::Human);
}

void CanastaGame::PartnerDraws()
{
    if (Stock.Count == 0)
        throw ImpossibleMove("the opponent drew from an empty stock");
    CardRecord card = PopCard(Stock);
    SetStockExhausted(Stock.Count == 0);
    if (IsRedThree(card.Id)) {
        LayOnPartnerMeld(*this, card, card.Rank);
    } else {
        const int fromX = card.X;
        const int fromY = card.Y;
        PutInHand(Side::Computer, card);
        Host().MoveCard(BackOf(card), fromX, fromY, card.X, card.Y);
    }
    NoteTablesAtPartnersTurn(*this);
    Partner.TakePending = false;
    Computer().MeldValue = MeldValueOnTable(Side::Computer, true);
}

void CanastaGame::PartnerTakesPileTop()
{
    if (DiscardPile.Count == 0)
        throw ImpossibleMove("the opponent took an empty discard pile");
    if (DiscardPile.Count > HugePileSize)
        Host().PlaySound(SoundEvent::TakeHugePile);
    // A take the exhausted stock forces is over with its top card: the rest of the
    // pile stays, and the partner may go out in the same turn.
    const bool forcedOnly = CanTakePile(Side::Computer, true) && !CanTakePile(Side::Computer, false);
    NoteTablesAtPartnersTurn(*this);
    Partner.BeforeTake = {DiscardPile, Computer().Hand, Computer().Melds, Computer().Canastas};
    const CardRecord card = PopCard(DiscardPile);
    LayOnPartnerMeld(*this, card, card.Rank);
    Partner.TakePending = !forcedOnly;
    Computer().MeldValue = MeldValueOnTable(Side::Computer, true);
}

void CanastaGame::PartnerTakesPileRest()
{
    while (DiscardPile.Count > 0) {
        CardRecord card = PopCard(DiscardPile);
        if (IsRedThree(card.Id)) {
            LayOnPartnerMeld(*this, card, card.Rank);
            continue;
        }
        const int fromX = card.X;
        const int fromY = card.Y;
        PutInHand(Side::Computer, card);
        Host().MoveCard(card, fromX, fromY, card.X, card.Y);
    }
    Turn.DiscardFrozen = false;
    Partner.TakePending = false;
    Host().RepaintTable();
}

void CanastaGame::PartnerUndoesTake()
{
    if (!Partner.TakePending)
        throw ImpossibleMove("the opponent undid a take of the pile that did not happen");
    DiscardPile = Partner.BeforeTake.DiscardPile;
    Computer().Hand = Partner.BeforeTake.Hand;
    Computer().Melds = Partner.BeforeTake.Melds;
    Computer().Canastas = Partner.BeforeTake.Canastas;
    Computer().Score -= UndoTakePenalty;
    Computer().MeldValue = MeldValueOnTable(Side::Computer, true);
    Partner.TakePending = false;
    Host().RepaintTable();
}

void CanastaGame::PartnerMelds(int cardId)
{
    const int index = RequireInHand(*this, cardId);
    PartnerMeldsFromHand(index, Computer().Hand.Cards[index].Rank);
}

void CanastaGame::PartnerMeldsWildCard(int cardId, int column)
{
    RequireColumn(column);
    const int index = RequireInHand(*this, cardId);
    if (!IsWild(Computer().Hand.Cards[index].Rank))
        throw ImpossibleMove("card " + std::to_string(cardId) + " is not a wild card");
    PartnerMeldsFromHand(index, column);
}

void CanastaGame::PartnerMeldsFromHand(int handIndex, int column)
{
    LayOnPartnerMeld(*this, TakeFromHand(Side::Computer, handIndex), column);
    Computer().MeldValue = MeldValueOnTable(Side::Computer, true);
    if (PartnerMayGoOut())
        CheckEndOfHand();
}

void CanastaGame::PartnerUndoesMeld(int column, int cardId)
{
    RequireColumn(column);
    const int index = FindLastCard(*this, Computer().Melds, cardId, column);
    if (index < 0)
        throw ImpossibleMove("card " + std::to_string(cardId) + " is not in the opponent's meld " +
                             std::to_string(column));
    BreakCanastaOfSeven(Side::Computer, column);
    const bool squared = Computer().Canastas.Kind[column] != NoCanasta;
    CardRecord card = RemoveCardAt(Computer().Melds, index, MeldDirection(Side::Computer), squared, column);
    CheckCanasta(Side::Computer, column);
    const int fromX = card.X;
    const int fromY = card.Y;
    PutInHand(Side::Computer, card);
    Host().MoveCard(BackOf(card), fromX, fromY, card.X, card.Y);
    Computer().MeldValue = MeldValueOnTable(Side::Computer, true);
    Host().RepaintTable();
}

void CanastaGame::PartnerDiscards(int cardId)
{
    CardRecord card = TakeFromHand(Side::Computer, RequireInHand(*this, cardId));
    const int fromX = card.X;
    const int fromY = card.Y;
    LayOnDiscardPile(card);
    if (IsWild(card.Rank) || IsRedThree(card.Id))
        Turn.DiscardFrozen = true;
    Host().MoveCard(card, fromX, fromY, card.X, card.Y);
    BeginOwnTurnAfterPartner();
    if (PartnerMayGoOut())
        CheckEndOfHand();
}

void CanastaGame::PartnerBlocksWithRedThree(int cardId)
{
    const int index = FindLastCard(*this, Computer().Melds, cardId);
    if (index < 0 || !IsRedThree(cardId))
        throw ImpossibleMove("card " + std::to_string(cardId) + " is not a red three of the opponent's table");
    const CardRecord before = Computer().Melds.Cards[index];
    const CardRecord card = BlockPileWithMeldedRedThree(Side::Computer, index);
    Host().MoveCard(card, before.X, before.Y, card.X, card.Y);
    BeginOwnTurnAfterPartner();
    if (PartnerMayGoOut())
        CheckEndOfHand();
}

void CanastaGame::PartnerPasses()
{
    BeginOwnTurnAfterPartner();
    Host().ShowMessage(MessageKind::Information, Host().OpponentName() + " passes the discard.");
}

void CanastaGame::PartnerEndsHand()
{
    if (!Turn.StockExhausted)
        throw ImpossibleMove("the opponent ended the hand while the stock still holds cards");
    Turn.EndHandRequested = true;
    CheckEndOfHand();
}

void CanastaGame::StartNetworkMatch()
{
    Human().Score = 0;
    Computer().Score = 0;
    Match.GameInProgress = false;
}

bool CanastaGame::PartnerMayGoOut()
{
    RecountColumns();
    const Seat& partner = Computer();
    if (partner.Hand.Count != 0 || partner.Canastas.Count < Rules.NumberOfCanastas || Partner.TakePending)
        return false;
    int blackThrees = 0;
    std::array<int, ColumnCount> wild{};
    std::array<int, ColumnCount> natural{};
    for (int i = 0; i < partner.Melds.Count; ++i) {
        const CardRecord& card = partner.Melds.Cards[i];
        const int column = ColumnOf(card);
        if (IsBlackThree(card.Id))
            ++blackThrees;
        if (column < 0 || column >= ColumnCount)
            continue;
        if (IsWild(card.Rank))
            ++wild[column];
        else if (!IsBlackThree(card.Id))
            ++natural[column];
    }
    for (int column = Four; column < ColumnCount; ++column) {
        if (partner.MeldCount[column] != 0 && partner.MeldCount[column] < 3)
            return false;
        if (wild[column] > natural[column])
            return false;
    }
    if (blackThrees != 0 && blackThrees < 3)
        return false;
    return partner.MeldCount[Two] == 0 || partner.MeldCount[Two] >= 7;
}

void CanastaGame::BeginOwnTurnAfterPartner()
{
    Partner.TakePending = false;
    Turn.ComputerTurn = false;
    Turn.MustDraw = true;
    Turn.HasDrawn = false;
    Turn.CardsDrawn = 0;
    Take.Pending = false;
    Take.TopCardOnTable = false;
    ClearUndo();
    SetPhase(TurnPhase::Draw);
    Host().PlaySound(SoundEvent::EndTurnNetwork);
    Host().RepaintTable();
}

}  // namespace meldora
