// The course of a hand: new game, deal, the human's draw and discard, the
// forced pass, End Hand and the check whether the hand is over.
#include <array>
#include <stdexcept>
#include <string>

#include "core/game.h"
#include "core/settings_access.h"
#include "core/table_host.h"

namespace meldora {

namespace {

constexpr int HandSize = 15;

// Network tokens of the moves this file sends.
constexpr const char* TokenDeal = "DEAL";
constexpr const char* TokenDraw = "DRAWNEW";
constexpr const char* TokenDiscard = "DISCARD";
constexpr const char* TokenPass = "PASSDISCARD";
constexpr const char* TokenNewGame = "NEWGAME";
constexpr const char* TokenEndHand = "HANDOVER";

constexpr const char* NetworkNewGameQuestion =
    "You have a network game running. Are you sure you want to start a new game?";
constexpr const char* ForcedPassMessage =
    "You only have one card left, and not enough Canastas to go out.\r You have to pass the discard.";
constexpr const char* ForcedEndHandMessage =
    "You cannot end this hand now, because you must \n\rmeld the top card of the pile. (You are 'forced').";
// Red threes are laid out as they arrive, so one in the hand is rare (an edited
// saved game); the refusal still deserves a reason of its own.
constexpr const char* RedThreeDiscardReason = "red threes may not be discarded with the current rules";

const std::array<const char*, 10> InputErrorTexts{
    "",
    "You cannot meld before drawing; please draw first by clicking on the stock or the discard pile",
    "You cannot discard before drawing; please draw first by clicking on the stock or the discard pile",
    "You have already drawn",
    "Discarding is not possible now: ",
    "Taking the discard pile is not possible now because you cannot meld the top card",
    "Black Threes can only be melded as the last cards when going out",
    "You need at least seven wildcards to create a wildcard Canasta",
    "Wildcard Canastas are not allowed with the current rules",
    "You cannot take a pile with one card if you only have one card in hand",
};

bool ReadSetting(SettingsAccess* settings, const char* name, bool defaultValue)
{
    return settings ? settings->ReadBool(name, defaultValue) : defaultValue;
}

// Sets HandEnding for the end of a hand and puts it back however that is
// left, so that a failure while scoring does not hold the partner's messages
// back for good. A hand that ends inside the next deal (the computer opening
// and going out at once) restores the outer value, not false.
class HandEndingScope {
public:
    explicit HandEndingScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~HandEndingScope() { flag_ = before_; }
    HandEndingScope(const HandEndingScope&) = delete;
    HandEndingScope& operator=(const HandEndingScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

// Wild cards melded into a column of the human's table.
int WildCardsInColumn(const CanastaGame& game, int column)
{
    int wild = 0;
    for (int i = 0; i < game.HumanMelds.Count; ++i) {
        const CardRecord& c = game.HumanMelds.Cards[i];
        if (game.ColumnOf(c) == column && IsWild(c.Rank))
            ++wild;
    }
    return wild;
}

}  // namespace

void CanastaGame::SetPhase(int phase)
{
    if (phase < PhaseDraw || phase > PhaseHandOver)
        throw std::out_of_range("turn phase outside 0..9");
    Phase = static_cast<std::uint8_t>(phase);
    Host().PhaseChanged(phase);
}

void CanastaGame::ShowInputError(int number)
{
    if (number < 0 || number >= static_cast<int>(InputErrorTexts.size()))
        throw std::out_of_range("input error number outside 0..9");
    std::string text = InputErrorTexts[number];
    if (number == 4)
        text += MeldCheckReason;
    Host().ShowInputError(number, text);
}

void CanastaGame::SetStockExhausted(bool exhausted)
{
    StockExhausted = exhausted;
    Host().StockExhaustedChanged(exhausted);
}

void CanastaGame::NewGame()
{
    TableHost& host = Host();
    if (host.IsNetworkGame() && !host.Confirm(NetworkNewGameQuestion))
        return;
    HumanScore = 0;
    ComputerScore = 0;
    host.SendMessage(TokenNewGame, "");
    GameInProgress = false;
    // The shuffle sound belongs to the hands after the first of a match.
    DealHand(false);
}

void CanastaGame::DealHand(bool shuffleSound)
{
    TableHost& host = Host();
    const bool network = host.IsNetworkGame();

    host.SetBusyCursor(true);
    if (shuffleSound)
        host.PlaySound(SoundEvent::Deal);

    if (ReadSetting(Settings(), "Settings\\Show Turns", true)) {
        if (DrawFirst)
            host.ShowTurnWindow("It's your turn to draw first.");
        else if (network)
            host.ShowTurnWindow("It's " + host.OpponentName() + "'s turn to draw first.");
        else
            host.ShowTurnWindow("It's the computer's turn to draw first.");
    }

    host.UndoItemsEnabled(false);
    ClearUndo();

    TopCardOnTable = false;
    DiscardFrozen = ReadSetting(Settings(), "Settings\\Initial Block", true);
    BlackThreesAllowed = false;
    MustDraw = true;
    ComputerMeldValue = 0;
    HumanMeldedBefore = 0;
    ComputerMeldedBefore = 0;
    CardsDrawn = 0;
    HasDrawn = false;
    TakingPile = false;
    ResetCanastaState(HumanCanastas);
    ResetCanastaState(ComputerCanastas);
    KnownHumanCards = CardPile{};
    SetStockExhausted(false);
    EndHandRequested = false;
    Memory.ThreeDiscardMode = false;
    Memory.PlannedDiscardRank = 0;

    MakeDeck();
    DiscardPile = CardPile{};
    ComputerHand = CardPile{};
    HumanHand = CardPile{};
    ComputerMelds = CardPile{};
    HumanMelds = CardPile{};
    if (network)
        host.SendMessage(TokenDeal, DealString);

    for (int i = 0; i < ColumnCount; ++i) {
        const int x = Layout.ColumnX(i);
        HumanHand.ColumnEnds[i] = {x, Layout.HumanHandBase};
        HumanMelds.ColumnEnds[i] = {x, Layout.HumanMeldBase};
        ComputerMelds.ColumnEnds[i] = {x, Layout.ComputerMeldBase};
    }

    // Red threes dealt to a side go straight onto its table and are replaced.
    for (int dealt = 0; dealt < HandSize;) {
        CardRecord card = PopCard(Stock);
        if (IsRedThree(card.Id)) {
            card.FaceUp = true;
            PlaceInColumn(ComputerMelds, false, false, card);
            AppendCard(ComputerMelds, card);
            continue;
        }
        card.X = LeftMargin + dealt * ComputerHandSpacing;
        card.Y = Layout.ComputerHandTop;
        card.FaceUp = ComputerHandRevealed;
        AppendCard(ComputerHand, card);
        ++dealt;
    }
    for (int dealt = 0; dealt < HandSize;) {
        CardRecord card = PopCard(Stock);
        card.FaceUp = true;
        if (IsRedThree(card.Id)) {
            PlaceInColumn(HumanMelds, true, false, card);
            AppendCard(HumanMelds, card);
            continue;
        }
        PlaceInColumn(HumanHand, true, false, card);
        AppendCard(HumanHand, card);
        ++dealt;
    }

    // The first discard: wild cards and red threes are covered by the next card
    // and freeze the pile, so the top card is always a plain one.
    bool coverTurnedCard = true;
    while (coverTurnedCard) {
        CardRecord card = PopCard(Stock);
        card.FaceUp = true;
        card.X = LeftMargin;
        card.Y = Layout.DiscardTop;
        AppendCard(DiscardPile, card);
        coverTurnedCard = IsWild(card.Rank) || IsRedThree(card.Id);
        if (coverTurnedCard)
            DiscardFrozen = true;
    }

    TakeSnapshot();
    HumanMinimumMeld = MinimumMeld(HumanScore);
    host.RepaintTable();

    // DrawFirst is turned over before the computer's opening turn: should that
    // turn already end the hand, the next deal must see the other side first.
    ComputerTurn = !DrawFirst;
    DrawFirst = !DrawFirst;
    if (ComputerTurn) {
        SetPhase(PhaseOpponent);
        if (!network)
            host.RunComputerTurn();
    } else {
        SetPhase(PhaseDraw);
    }
    // The turned-up cards are shown spread until the next click on the table; a game
    // loaded from a file may be shown again with the computer's hand face up.
    DiscardSpread = true;
    RevealBlocked = false;
    host.RepaintTable();
    host.SetBusyCursor(false);
}

void CanastaGame::DrawFromStock()
{
    if (ComputerTurn || Phase == PhaseHandOver)
        return;
    GameInProgress = true;
    if (HasDrawn) {
        ShowInputError(3);
        return;
    }
    if (Stock.Count == 0)
        return;

    TableHost& host = Host();
    for (;;) {
        CardRecord card = PopCard(Stock);
        SetStockExhausted(Stock.Count == 0);
        MustDraw = false;
        ++CardsDrawn;
        host.SendMessage(TokenDraw, "");

        const int fromX = card.X;
        const int fromY = card.Y;
        card.FaceUp = true;
        const bool redThree = IsRedThree(card.Id);
        CardPile& target = redThree ? HumanMelds : HumanHand;
        PlaceInColumn(target, true, false, card);
        AppendCard(target, card);
        host.MoveCard(card, fromX, fromY, card.X, card.Y);

        // With DrawExtra a red three is replaced and does not count as a drawn card.
        if (redThree && Rules.DrawExtra && Stock.Count > 0) {
            --CardsDrawn;
            continue;
        }
        break;
    }

    if (CardsDrawn < Rules.NumberOfCards && Stock.Count > 0) {
        SetPhase(PhaseSecondCard);
        host.RepaintTable();
        return;
    }
    SetPhase(PhaseMeldDiscard);
    TopCardOnTable = false;
    HasDrawn = true;
    TakingPile = false;
    CardsDrawn = 0;
    TakeSnapshot();
    host.RepaintTable();
    // Only once the draw is complete: a pass in the middle of it would leave
    // the next turn with a half-finished draw.
    CheckForcedPass();
}

void CanastaGame::DiscardCard(int handIndex)
{
    if (ComputerTurn || Phase == PhaseHandOver)
        return;
    if (handIndex < 0 || handIndex >= HumanHand.Count)
        throw std::out_of_range("discard of a card not in the hand");
    GameInProgress = true;
    if (!HasDrawn) {
        ShowInputError(2);
        return;
    }
    if (!ValidateHumanMelds(1)) {
        ShowInputError(4);
        return;
    }
    const CardRecord chosen = HumanHand.Cards[handIndex];
    if (!DiscardFreezeRule(chosen)) {
        MeldCheckReason = RedThreeDiscardReason;
        ShowInputError(4);
        return;
    }

    TableHost& host = Host();
    ClearUndo();
    SetPhase(PhaseDraw);
    host.UndoItemsEnabled(false);
    HasDrawn = false;
    MustDraw = true;

    host.SendMessage(TokenDiscard, std::to_string(chosen.Id));

    CardRecord card = RemoveCardAt(HumanHand, handIndex, +1, false, chosen.Rank);
    const int fromX = card.X;
    const int fromY = card.Y;
    card.X = LeftMargin;
    card.Y = Layout.DiscardTop;
    card.FaceUp = true;
    AppendCard(DiscardPile, card);
    RemoveCardById(KnownHumanCards, card.Id);
    host.MoveCard(card, fromX, fromY, card.X, card.Y);
    host.RepaintTable();

    PassTurnToOpponent();
}

void CanastaGame::PassTurnToOpponent()
{
    ComputerTurn = true;
    if (CheckEndOfHand())
        return;
    ClearUndo();
    SetPhase(PhaseOpponent);
    if (!Host().IsNetworkGame())
        Host().RunComputerTurn();
}

void CanastaGame::CheckForcedPass()
{
    RecountColumns();
    if (HumanHand.Count != 1 || HumanCanastas.Count >= Rules.NumberOfCanastas)
        return;
    if (TopCardOnTable && DiscardPile.Count > 0)
        return;
    if (!ValidateHumanMelds())
        return;

    bool cannotGoOut = HumanCanastas.Count == 0 && Rules.NumberOfCanastas >= 2;
    if (!cannotGoOut) {
        const CardRecord& last = HumanHand.Cards[0];
        if (!IsWild(last.Rank)) {
            cannotGoOut = HumanMeldCount[last.Rank] != 6;
        } else {
            cannotGoOut = true;
            for (int column = 3; column < ColumnCount; ++column)
                if (HumanMeldCount[column] == 6 && WildCardsInColumn(*this, column) < 3)
                    cannotGoOut = false;
        }
    }
    if (!cannotGoOut)
        return;

    TableHost& host = Host();
    host.ShowMessage(MessageKind::Information, ForcedPassMessage);
    ClearUndo();
    ComputerTurn = true;
    host.SendMessage(TokenPass, "");
    SetPhase(PhaseOpponent);
    if (!host.IsNetworkGame())
        host.RunComputerTurn();

    TopCardOnTable = false;
    HasDrawn = false;
    TakingPile = false;
    CardsDrawn = 0;
    MustDraw = true;
    host.UndoItemsEnabled(false);
    TakeSnapshot();
}

void CanastaGame::EndHandClick()
{
    if (!StockExhausted || ComputerTurn || Phase != PhaseDraw)
        return;
    RecountColumns();
    if (ForcedToTake(HumanHand.Count, HumanMeldCount)) {
        Host().ShowMessage(MessageKind::Information, ForcedEndHandMessage);
        return;
    }
    Host().SendMessage(TokenEndHand, "");
    EndHandRequested = true;
    CheckEndOfHand();
}

bool CanastaGame::CheckEndOfHand()
{
    const bool humanOut = HumanHand.Count == 0 && HumanCanastas.Count >= Rules.NumberOfCanastas;
    const bool computerOut = ComputerHand.Count == 0 && ComputerCanastas.Count >= Rules.NumberOfCanastas;
    const bool endRequested = StockExhausted && EndHandRequested;
    if (!(humanOut || computerOut || endRequested) || Phase == PhaseHandOver)
        return false;

    TableHost& host = Host();
    {
        HandEndingScope ending(HandEnding);
        SetPhase(PhaseHandOver);
        WentOut = humanOut ? HumanWentOut : computerOut ? ComputerWentOut : NobodyWentOut;

        const std::int32_t humanBefore = HumanScore;
        const std::int32_t computerBefore = ComputerScore;
        ScoreHand();
        const int handDifference = (HumanScore - humanBefore) - (ComputerScore - computerBefore);
        const int matchDifference = HumanScore - ComputerScore;
        const bool matchOver = EndMatchIfOver();

        bool dealHere = true;
        if (host.IsNetworkGame()) {
            // The winner deals; a draw goes to the copy in connection role one.
            // After a match the winner of the match deals its first hand.
            const int difference = matchOver ? matchDifference : handDifference;
            dealHere = difference > 0 || (difference == 0 && host.IsConnectionRoleOne());
        }
        if (dealHere && !QuitRequested)
            DealHand(!matchOver);
    }
    if (!HandEnding)
        host.HandleHeldNetworkMessages();
    return true;
}

}  // namespace meldora
