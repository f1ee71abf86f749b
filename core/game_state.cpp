#include "core/game.h"

#include <chrono>

#include "core/table_host.h"

namespace meldora {

CanastaGame::CanastaGame(TableHost& host, SettingsAccess* settings)
    : Random(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())),
      host_(host),
      settings_(settings)
{
    DrawFirst = std::uniform_real_distribution<double>(0.0, 1.0)(Random) > 0.5;
}

void CanastaGame::Seed(std::uint32_t seed)
{
    Random.seed(seed);
    ReseedAtDeal = false;
}

void CanastaGame::MakeDeck()
{
    if (ReseedAtDeal)
        Random.seed(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    bool taken[DeckSize] = {};
    std::uniform_int_distribution<int> slotOf(0, DeckSize - 1);
    DealString.assign(1, DrawFirst ? '1' : '0');

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
        DealString.push_back(static_cast<char>(slot + 1));
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
    HumanMeldCount.fill(0);
    HumanHandCount.fill(0);
    ComputerHandCount.fill(0);
    ComputerMeldCount.fill(0);
    auto countByColumn = [this](const CardPile& pile, ColumnCounts& counts) {
        for (int i = 0; i < pile.Count; ++i) {
            const int col = ColumnOf(pile.Cards[i]);
            if (col >= 0 && col < ColumnCount)
                ++counts[col];
        }
    };
    for (int i = 0; i < HumanHand.Count; ++i)
        ++HumanHandCount[HumanHand.Cards[i].Rank];
    for (int i = 0; i < ComputerHand.Count; ++i)
        ++ComputerHandCount[ComputerHand.Cards[i].Rank];
    countByColumn(HumanMelds, HumanMeldCount);
    countByColumn(ComputerMelds, ComputerMeldCount);
}

void CanastaGame::TakeSnapshot()
{
    HumanHandBackup = HumanHand;
    HumanMeldsBackup = HumanMelds;
    HumanCanastasBackup = HumanCanastas;
    DiscardBackup = DiscardPile;
}

void CanastaGame::RestoreSnapshot()
{
    HumanHand = HumanHandBackup;
    HumanMelds = HumanMeldsBackup;
    HumanCanastas = HumanCanastasBackup;
    DiscardPile = DiscardBackup;
}

int CanastaGame::HumanMeldValue(bool allColumns) const
{
    ColumnCounts perColumn{};
    for (int i = 0; i < HumanMelds.Count; ++i) {
        const int col = ColumnOf(HumanMelds.Cards[i]);
        if (col >= 0 && col < ColumnCount)
            ++perColumn[col];
    }
    int value = 0;
    for (int i = 0; i < HumanMelds.Count; ++i) {
        const CardRecord& c = HumanMelds.Cards[i];
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
    return side == Side::Human ? HumanCanastas.Count : ComputerCanastas.Count;
}

}  // namespace meldora
