#include "core/game.h"

#include <chrono>

#include "core/column_runs.h"
#include "core/table_host.h"

namespace meldora {

CanastaGame::CanastaGame(TableHost& host, SettingsAccess* settings)
    : Random(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())),
      host_(&host),
      settings_(settings)
{
    Match.DrawFirst = std::uniform_real_distribution<double>(0.0, 1.0)(Random) > 0.5;
}

CanastaGame::CanastaGame(const CanastaGame& other, TableHost& host) : CanastaGame(other)
{
    host_ = &host;
}

void CanastaGame::CopyTableFrom(const CanastaGame& other)
{
    TableHost* const ownHost = host_;
    *this = other;
    host_ = ownHost;
}

void CanastaGame::Seed(std::uint32_t seed)
{
    Random.seed(seed);
    reseedAtDeal_ = false;
}

void CanastaGame::MakeDeck()
{
    if (reseedAtDeal_)
        Random.seed(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    // A slot 0..107 is drawn for each card in deal order, and drawn again while
    // it is taken: a seed always gives the same deal and leaves the generator
    // in the same state for the computer's chance decisions.
    const std::array<CardRecord, DeckSize>& inOrder = CardsInDealOrder();
    std::array<bool, DeckSize> taken{};
    std::array<char, 1 + DeckSize> places;
    places[0] = Match.DrawFirst ? '1' : '0';
    std::uniform_int_distribution<int> slotOf(0, DeckSize - 1);
    GameRandom::Reader draws(Random);
    for (int i = 0; i < DeckSize; ++i) {
        int slot;
        do {
            slot = slotOf(draws);
        } while (taken[slot]);
        taken[slot] = true;
        CardRecord& card = Stock.Cards[slot];
        card = inOrder[i];
        card.X = LeftMargin;
        card.Y = Layout.StockTop;
        card.FaceUp = false;
        places[1 + i] = static_cast<char>(slot + 1);
    }
    Match.DealString.assign(places.data(), places.size());
    Stock.Count = DeckSize;
}

void CanastaGame::RecountColumns()
{
    RecountColumns(Side::Human);
    RecountColumns(Side::Computer);
}

void CanastaGame::RecountColumns(Side side)
{
    Seat& seat = SeatOf(side);
    seat.HandCount.fill(0);
    seat.MeldCount.fill(0);
    // The sizes are read once: the counts written in between could otherwise be taken to change them.
    for (int i = 0, count = seat.Hand.Count; i < count; ++i)
        ++seat.HandCount[seat.Hand.Cards[i].Rank];
    // A card outside the columns counts in none.
    ColumnRuns columnOf(Layout);
    for (int i = 0, count = seat.Melds.Count; i < count; ++i) {
        const int col = columnOf(seat.Melds.Cards[i]);
        if (col >= 0 && col < ColumnCount)
            ++seat.MeldCount[col];
    }
}

void CanastaGame::TakeSnapshot()
{
    Snapshot.Hand = Human().Hand;
    Snapshot.Melds = Human().Melds;
    Snapshot.Canastas = Human().Canastas;
    Snapshot.DiscardPile = DiscardPile;
}

void CanastaGame::RestoreSnapshot()
{
    Human().Hand = Snapshot.Hand;
    Human().Melds = Snapshot.Melds;
    Human().Canastas = Snapshot.Canastas;
    DiscardPile = Snapshot.DiscardPile;
}

int CanastaGame::MeldValueOnTable(Side side, bool allColumns) const
{
    const CardPile& melds = SeatOf(side).Melds;
    if (allColumns) {
        int value = 0;
        for (int i = 0, count = melds.Count; i < count; ++i)
            value += MeldPoints(melds.Cards[i]);
        return value;
    }
    // No column holds three cards while the side has fewer than three on the table.
    if (melds.Count < 3)
        return 0;
    // One pass: the points of each column are summed apart and added up once
    // every column's size is known; a card outside the columns counts in none.
    ColumnCounts perColumn{};
    ColumnCounts pointsPerColumn{};
    ColumnRuns columnOf(Layout);
    for (int i = 0, count = melds.Count; i < count; ++i) {
        const CardRecord& c = melds.Cards[i];
        const int col = columnOf(c);
        if (col >= 0 && col < ColumnCount) {
            ++perColumn[col];
            pointsPerColumn[col] += MeldPoints(c);
        }
    }
    int value = 0;
    for (int col = 0; col < ColumnCount; ++col)
        if (perColumn[col] >= 3)
            value += pointsPerColumn[col];
    return value;
}

int CanastaGame::CanastaCount(Side side) const { return SeatOf(side).Canastas.Count; }

}  // namespace meldora
