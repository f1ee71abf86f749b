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

// Sets Turn.HandEnding for the end of a hand and puts it back however that is
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
    for (int i = 0; i < game.Human().Melds.Count; ++i) {
        const CardRecord& c = game.Human().Melds.Cards[i];
        if (game.ColumnOf(c) == column && IsWild(c.Rank))
            ++wild;
    }
    return wild;
}

}  // namespace

void CanastaGame::SetPhase(TurnPhase phase)
{
    Turn.Phase = phase;
    Host().PhaseChanged(phase);
}

void CanastaGame::ShowInputError(InputError error)
{
    const auto number = static_cast<std::size_t>(error);
    if (number >= InputErrorTexts.size())
        throw std::out_of_range("input error number outside 1..9");
    std::string text = InputErrorTexts[number];
    if (error == InputError::DiscardNotPossible)
        text += Turn.MeldCheckReason;
    Host().ShowInputError(error, text);
}

void CanastaGame::SetStockExhausted(bool exhausted)
{
    Turn.StockExhausted = exhausted;
    Host().StockExhaustedChanged(exhausted);
}

void CanastaGame::NewGame()
{
    TableHost& host = Host();
    if (host.IsNetworkGame() && !host.Confirm(NetworkNewGameQuestion))
        return;
    Human().Score = 0;
    Computer().Score = 0;
    host.SendMessage(TokenNewGame, "");
    Match.GameInProgress = false;
    // The shuffle sound belongs to the hands after the first of a match.
    DealHand(false);
}

void CanastaGame::DealHand(bool shuffleSound)
{
    MakeDeck();
    if (Host().IsNetworkGame())
        Host().SendMessage(TokenDeal, Match.DealString);
    DealFromStock(shuffleSound);
}

void CanastaGame::DealFromStock(bool shuffleSound, Side dealtFirst)
{
    TableHost& host = Host();
    const bool network = host.IsNetworkGame();

    host.SetBusyCursor(true);
    if (shuffleSound)
        host.PlaySound(SoundEvent::Deal);

    if (ReadSetting(Settings(), "Settings\\Show Turns", true)) {
        if (Match.DrawFirst)
            host.ShowTurnWindow("It's your turn to draw first.");
        else if (network)
            host.ShowTurnWindow("It's " + host.OpponentName() + "'s turn to draw first.");
        else
            host.ShowTurnWindow("It's the computer's turn to draw first.");
    }

    host.UndoItemsEnabled(false);
    ClearUndo();

    Take.TopCardOnTable = false;
    // The rules in force, not the stored ones: in a network game both copies
    // play under the rules adopted for the connection and must start alike.
    Turn.DiscardFrozen = Rules.InitialBlock;
    Turn.BlackThreesAllowed = false;
    Turn.MustDraw = true;
    for (Seat& seat : seats_) {
        seat.MeldValue = 0;
        seat.MeldedBefore = 0;
        ResetCanastaState(seat.Canastas);
    }
    Turn.CardsDrawn = 0;
    Turn.HasDrawn = false;
    Take.Pending = false;
    Memory.KnownOpponentCards.Clear();
    SetStockExhausted(false);
    Turn.EndHandRequested = false;
    Memory.ThreeDiscardMode = false;
    Memory.PlannedDiscardRank = 0;

    Partner.Clear();
    DiscardPile.Clear();
    for (Seat& seat : seats_) {
        seat.Hand.Clear();
        seat.Melds.Clear();
    }

    for (int i = 0; i < ColumnCount; ++i) {
        const int x = Layout.ColumnX(i);
        Human().Hand.ColumnEnds[i] = {x, Layout.HumanHandBase};
        Human().Melds.ColumnEnds[i] = {x, Layout.HumanMeldBase};
        Computer().Melds.ColumnEnds[i] = {x, Layout.ComputerMeldBase};
    }

    // Red threes dealt to a side go straight onto its table and are replaced.
    for (const Side side : {dealtFirst, Opponent(dealtFirst)}) {
        Seat& seat = SeatOf(side);
        for (int dealt = 0; dealt < HandSize;) {
            CardRecord card = PopCard(Stock);
            if (IsRedThree(card.Id)) {
                PlaceOnMeld(side, card, card.Rank, 0);
                AppendCard(seat.Melds, card);
                continue;
            }
            PutInHand(side, card);
            ++dealt;
        }
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
            Turn.DiscardFrozen = true;
    }

    TakeSnapshot();
    Human().MinimumMeld = MinimumMeld(Human().Score);
    host.RepaintTable();

    // Match.DrawFirst is turned over before the computer's opening turn: should that
    // turn already end the hand, the next deal must see the other side first.
    Turn.ComputerTurn = !Match.DrawFirst;
    Match.DrawFirst = !Match.DrawFirst;
    if (Turn.ComputerTurn) {
        SetPhase(TurnPhase::Opponent);
        if (!network)
            host.RunComputerTurn();
    } else {
        SetPhase(TurnPhase::Draw);
    }
    // The turned-up cards are shown spread until the next click on the table; a game
    // loaded from a file may be shown again with the computer's hand face up.
    Presentation.DiscardSpread = true;
    Presentation.RevealBlocked = false;
    host.RepaintTable();
    host.SetBusyCursor(false);
}

void CanastaGame::DrawFromStock()
{
    if (Turn.ComputerTurn || Turn.Phase == TurnPhase::HandOver)
        return;
    Match.GameInProgress = true;
    if (Turn.HasDrawn) {
        ShowInputError(InputError::AlreadyDrawn);
        return;
    }
    if (Stock.Count == 0)
        return;

    TableHost& host = Host();
    for (;;) {
        CardRecord card = PopCard(Stock);
        SetStockExhausted(Stock.Count == 0);
        Turn.MustDraw = false;
        ++Turn.CardsDrawn;
        host.SendMessage(TokenDraw, "");

        const int fromX = card.X;
        const int fromY = card.Y;
        card.FaceUp = true;
        const bool redThree = IsRedThree(card.Id);
        if (redThree) {
            PlaceOnMeld(Side::Human, card, card.Rank, ColumnSize(Side::Human, card.Rank));
            AppendCard(Human().Melds, card);
        } else {
            PutInHand(Side::Human, card);
        }
        host.MoveCard(card, fromX, fromY, card.X, card.Y);

        // With DrawExtra a red three is replaced and does not count as a drawn card.
        if (redThree && Rules.DrawExtra && Stock.Count > 0) {
            --Turn.CardsDrawn;
            continue;
        }
        break;
    }

    if (Turn.CardsDrawn < Rules.NumberOfCards && Stock.Count > 0) {
        SetPhase(TurnPhase::SecondCard);
        host.RepaintTable();
        return;
    }
    SetPhase(TurnPhase::MeldDiscard);
    Take.TopCardOnTable = false;
    Turn.HasDrawn = true;
    Take.Pending = false;
    Turn.CardsDrawn = 0;
    TakeSnapshot();
    host.RepaintTable();
    // Only once the draw is complete: a pass in the middle of it would leave
    // the next turn with a half-finished draw.
    CheckForcedPass();
}

void CanastaGame::DiscardCard(int handIndex)
{
    if (Turn.ComputerTurn || Turn.Phase == TurnPhase::HandOver)
        return;
    if (handIndex < 0 || handIndex >= Human().Hand.Count)
        throw std::out_of_range("discard of a card not in the hand");
    Match.GameInProgress = true;
    if (!Turn.HasDrawn) {
        ShowInputError(InputError::DiscardBeforeDraw);
        return;
    }
    if (!ValidateMelds(Side::Human, 1)) {
        ShowInputError(InputError::DiscardNotPossible);
        return;
    }
    const CardRecord chosen = Human().Hand.Cards[handIndex];
    if (!DiscardFreezeRule(chosen)) {
        Turn.MeldCheckReason = RedThreeDiscardReason;
        ShowInputError(InputError::DiscardNotPossible);
        return;
    }

    TableHost& host = Host();
    ClearUndo();
    SetPhase(TurnPhase::Draw);
    host.UndoItemsEnabled(false);
    Turn.HasDrawn = false;
    Turn.MustDraw = true;

    host.SendMessage(TokenDiscard, std::to_string(chosen.Id));

    CardRecord card = TakeFromHand(Side::Human, handIndex);
    const int fromX = card.X;
    const int fromY = card.Y;
    LayOnDiscardPile(card);
    RemoveCardById(Memory.KnownOpponentCards, card.Id);
    host.MoveCard(card, fromX, fromY, card.X, card.Y);
    host.RepaintTable();

    PassTurnToOpponent();
}

CardRecord CanastaGame::DiscardFromHand(Side side, int handIndex)
{
    if (handIndex < 0 || handIndex >= SeatOf(side).Hand.Count)
        throw std::out_of_range("discard of a card not in the hand");
    if (!ValidateMelds(side, 1, true))
        throw RuleRefusal("Discarding is not possible now: " + Turn.MeldCheckReason);
    CardRecord card = TakeFromHand(side, handIndex);
    LayOnDiscardPile(card);
    return card;
}

void CanastaGame::LayOnDiscardPile(CardRecord& card)
{
    card.X = LeftMargin;
    card.Y = Layout.DiscardTop;
    card.FaceUp = true;
    AppendCard(DiscardPile, card);
}

void CanastaGame::PassTurnToOpponent()
{
    Turn.ComputerTurn = true;
    if (CheckEndOfHand())
        return;
    ClearUndo();
    SetPhase(TurnPhase::Opponent);
    if (!Host().IsNetworkGame())
        Host().RunComputerTurn();
}

void CanastaGame::CheckForcedPass()
{
    RecountColumns();
    if (Human().Hand.Count != 1 || Human().Canastas.Count >= Rules.NumberOfCanastas)
        return;
    if (Take.TopCardOnTable && DiscardPile.Count > 0)
        return;
    if (!ValidateMelds(Side::Human))
        return;

    bool cannotGoOut = Human().Canastas.Count == 0 && Rules.NumberOfCanastas >= 2;
    if (!cannotGoOut) {
        const CardRecord& last = Human().Hand.Cards[0];
        if (!IsWild(last.Rank)) {
            cannotGoOut = Human().MeldCount[last.Rank] != 6;
        } else {
            cannotGoOut = true;
            for (int column = 3; column < ColumnCount; ++column)
                if (Human().MeldCount[column] == 6 && WildCardsInColumn(*this, column) < 3)
                    cannotGoOut = false;
        }
    }
    if (!cannotGoOut)
        return;

    TableHost& host = Host();
    host.ShowMessage(MessageKind::Information, ForcedPassMessage);
    ClearUndo();
    Turn.ComputerTurn = true;
    host.SendMessage(TokenPass, "");
    SetPhase(TurnPhase::Opponent);
    if (!host.IsNetworkGame())
        host.RunComputerTurn();

    Take.TopCardOnTable = false;
    Turn.HasDrawn = false;
    Take.Pending = false;
    Turn.CardsDrawn = 0;
    Turn.MustDraw = true;
    host.UndoItemsEnabled(false);
    TakeSnapshot();
}

void CanastaGame::EndHandClick()
{
    if (!Turn.StockExhausted || Turn.ComputerTurn || Turn.Phase != TurnPhase::Draw)
        return;
    RecountColumns();
    if (ForcedToTake(Human().Hand.Count, Human().MeldCount)) {
        Host().ShowMessage(MessageKind::Information, ForcedEndHandMessage);
        return;
    }
    Host().SendMessage(TokenEndHand, "");
    Turn.EndHandRequested = true;
    CheckEndOfHand();
}

bool CanastaGame::CheckEndOfHand()
{
    const bool humanOut = Human().Hand.Count == 0 && Human().Canastas.Count >= Rules.NumberOfCanastas;
    const bool computerOut = Computer().Hand.Count == 0 && Computer().Canastas.Count >= Rules.NumberOfCanastas;
    const bool endRequested = Turn.StockExhausted && Turn.EndHandRequested;
    if (!(humanOut || computerOut || endRequested) || Turn.Phase == TurnPhase::HandOver)
        return false;

    TableHost& host = Host();
    {
        HandEndingScope ending(Turn.HandEnding);
        SetPhase(TurnPhase::HandOver);
        Match.WentOut = humanOut ? HumanWentOut : computerOut ? ComputerWentOut : NobodyWentOut;

        const std::int32_t humanBefore = Human().Score;
        const std::int32_t computerBefore = Computer().Score;
        ScoreHand();
        const int handDifference = (Human().Score - humanBefore) - (Computer().Score - computerBefore);
        const int matchDifference = Human().Score - Computer().Score;
        const bool matchOver = EndMatchIfOver();

        bool dealHere = true;
        if (host.IsNetworkGame()) {
            // The winner deals; a draw goes to the copy in connection role one.
            // After a match the winner of the match deals its first hand.
            const int difference = matchOver ? matchDifference : handDifference;
            dealHere = difference > 0 || (difference == 0 && host.IsConnectionRoleOne());
        }
        if (dealHere && !Match.QuitRequested)
            DealHand(!matchOver);
    }
    if (!Turn.HandEnding)
        host.HandleHeldNetworkMessages();
    return true;
}

}  // namespace meldora
