#include "core/game.h"

#include <chrono>

#include "core/table_host.h"

namespace meldora {

CanastaGame::CanastaGame(TableHost& host, SettingsAccess* settings)
    : Random(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())),
      host_(host),
      settings_(settings)
{
    Match.DrawFirst = std::uniform_real_distribution<double>(0.0, 1.0)(Random) > 0.5;
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

    bool taken[DeckSize] = {};
    std::uniform_int_distribution<int> slotOf(0, DeckSize - 1);
    Match.DealString.assign(1, Match.DrawFirst ? '1' : '0');

    auto place = [&](int id, std::uint8_t deck) {
        int slot;
        do {
            slot = slotOf(Random);
        } while (taken[slot]);
        taken[slot] = true;
        CardRecord c = MakeCard(id, deck);
        c.X = LeftMargin;
        c.Y = Layout.StockTop;
        c.FaceUp = false;
        Stock.Cards[slot] = c;
        Match.DealString.push_back(static_cast<char>(slot + 1));
    };

    for (std::uint8_t deck = 0; deck < 2; ++deck) {
        for (int suit = 0; suit < 4; ++suit)
            for (int face = 0; face < 13; ++face)
                place(suit * 13 + face + 1, deck);
        place(JokerId, deck);
        place(JokerId, deck);
    }
    Stock.Count = DeckSize;
}

void CanastaGame::RecountColumns()
{
    Human().MeldCount.fill(0);
    Human().HandCount.fill(0);
    Computer().HandCount.fill(0);
    Computer().MeldCount.fill(0);
    auto countByColumn = [this](const CardPile& pile, ColumnCounts& counts) {
        for (int i = 0; i < pile.Count; ++i) {
            const int col = ColumnOf(pile.Cards[i]);
            if (col >= 0 && col < ColumnCount)
                ++counts[col];
        }
    };
    for (int i = 0; i < Human().Hand.Count; ++i)
        ++Human().HandCount[Human().Hand.Cards[i].Rank];
    for (int i = 0; i < Computer().Hand.Count; ++i)
        ++Computer().HandCount[Computer().Hand.Cards[i].Rank];
    countByColumn(Human().Melds, Human().MeldCount);
    countByColumn(Computer().Melds, Computer().MeldCount);
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

int CanastaGame::HumanMeldValue(bool allColumns) const
{
    ColumnCounts perColumn{};
    for (int i = 0; i < Human().Melds.Count; ++i) {
        const int col = ColumnOf(Human().Melds.Cards[i]);
        if (col >= 0 && col < ColumnCount)
            ++perColumn[col];
    }
    int value = 0;
    for (int i = 0; i < Human().Melds.Count; ++i) {
        const CardRecord& c = Human().Melds.Cards[i];
        if (IsRedThree(c.Id))
            continue;
        const int col = ColumnOf(c);
        if (allColumns || (col >= 0 && col < ColumnCount && perColumn[col] >= 3))
            value += c.Points;
    }
    return value;
}

int CanastaGame::CanastaCount(Side side) const
{
    return side == Side::Human ? Human().Canastas.Count : Computer().Canastas.Count;
}

}  // namespace meldora
