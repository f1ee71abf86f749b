// The changes of state the window asks the game for, outside the moves of play.
#include <cstdint>
#include <random>

#include "core/game.h"

namespace meldora {

namespace {

// A revealed hand is spread 12 apart so each card can be read; a hidden one
// overlaps at 10. Toggling swaps one for the other.
constexpr int RevealSpacingSum = 22;

}  // namespace

void CanastaGame::ChooseFirstDrawerAtRandom()
{
    Match.DrawFirst = std::uniform_real_distribution<double>(0.0, 1.0)(Random) > 0.5;
}

void CanastaGame::SetTableSize(int sizeIndex, int clientWidth) { Layout = ApplyLayout(sizeIndex, clientWidth); }

void CanastaGame::ChangeTableSize(int sizeIndex, int clientWidth)
{
    const TableLayout old = Layout;
    Layout = ApplyLayout(sizeIndex, clientWidth);
    auto convert = [&](CardPile& pile, int oldBase, int newBase) {
        auto x = [&](int v) { return (v - LeftMargin) / old.ColumnPitch * Layout.ColumnPitch + LeftMargin; };
        auto y = [&](int v) { return (v - oldBase) / StackStep * StackStep + newBase; };
        for (int i = 0; i < pile.Count; ++i) {
            pile.Cards[i].X = x(pile.Cards[i].X);
            pile.Cards[i].Y = y(pile.Cards[i].Y);
        }
        for (ColumnEnd& end : pile.ColumnEnds) {
            end.X = x(end.X);
            end.Y = y(end.Y);
        }
    };
    convert(Human().Hand, old.HumanHandBase, Layout.HumanHandBase);
    convert(Human().Melds, old.HumanMeldBase, Layout.HumanMeldBase);
    convert(Computer().Melds, old.ComputerMeldBase, Layout.ComputerMeldBase);
    for (int i = 0; i < Stock.Count; ++i)
        Stock.Cards[i].Y = Layout.StockTop;
    for (int i = 0; i < DiscardPile.Count; ++i)
        DiscardPile.Cards[i].Y = Layout.DiscardTop;
}

void CanastaGame::SetRules(const RuleOptions& rules) { Rules = rules; }

bool CanastaGame::ChangeRules(const RuleOptions& rules)
{
    const bool initialBlockChanged = rules.InitialBlock != Rules.InitialBlock;
    Rules = rules;
    if (initialBlockChanged)
        Turn.DiscardFrozen = rules.InitialBlock;
    return initialBlockChanged;
}

void CanastaGame::MarkGameInProgress() { Match.GameInProgress = true; }

void CanastaGame::ToggleComputerHandReveal()
{
    Presentation.ComputerHandRevealed = !Presentation.ComputerHandRevealed;
    CardPile& hand = Computer().Hand;
    for (int i = 0; i < hand.Count; ++i)
        hand.Cards[i].FaceUp = !hand.Cards[i].FaceUp;
    Presentation.ComputerHandSpacing =
        static_cast<std::uint8_t>(RevealSpacingSum - Presentation.ComputerHandSpacing);
}

bool CanastaGame::CollapseDiscardPile()
{
    if (!Presentation.DiscardSpread)
        return false;
    Presentation.DiscardSpread = false;
    return true;
}

}  // namespace meldora
