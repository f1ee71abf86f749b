// The main window as the game's host: what the game asks of the world outside it.
#include <QAction>
#include <QMetaObject>
#include <filesystem>

#include "ai/computer_player.h"
#include "core/saved_game.h"
#include "core/scoring.h"
#include "table/game_over_window.h"
#include "table/help_window.h"
#include "table/main_window.h"
#include "table/prompts.h"
#include "table/scoring_window.h"
#include "table/sound_player.h"
#include "table/splash_window.h"
#include "table/table_view.h"

namespace meldora {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Runs the close the player asked for once the handler that asked has returned.
void CloseLater(QWidget* window) { QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection); }

}  // namespace

// ---- The table -------------------------------------------------------------------------

void TfmMeldoraMain::MoveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY)
{
    if (!quitting_)
        view_->MoveCard(card, fromX, fromY, toX, toY);
}

void TfmMeldoraMain::Pause(int milliseconds)
{
    if (!quitting_)
        view_->Pause(milliseconds);
}

void TfmMeldoraMain::InvalidateTableRect(const TableRect& rect) { view_->InvalidateTableRect(rect); }

void TfmMeldoraMain::RepaintTable() { view_->RepaintTable(); }

void TfmMeldoraMain::PlaySound(SoundEvent event) { sound_->playEvent(event); }

void TfmMeldoraMain::SetBusyCursor(bool busy) { view_->SetBusyCursor(busy); }

void TfmMeldoraMain::PhaseChanged(TurnPhase phase)
{
    view_->ShowPhaseHint(phase);
    // Until the first card of a game is drawn the rules may be changed.
    if (!game_->Match.GameInProgress)
        Rules1->setStatusTip(QString::fromLatin1(RulesMenuHint));
}

void TfmMeldoraMain::ShowInputError(InputError error, const std::string& text)
{
    view_->ShowInputError(static_cast<int>(error), Text(text));
}

void TfmMeldoraMain::StockExhaustedChanged(bool exhausted) { view_->SetStockExhausted(exhausted); }

void TfmMeldoraMain::UndoItemsEnabled(bool enabled)
{
    UndoMeld1->setEnabled(enabled);
    UndoAll1->setEnabled(enabled);
}

void TfmMeldoraMain::ShowTurnWindow(const std::string& text)
{
    if (!quitting_)
        view_->ShowTurnWindow(Text(text));
}

// ---- Boxes ---------------------------------------------------------------------------------

void TfmMeldoraMain::ShowMessage(MessageKind kind, const std::string& text)
{
    if (startupFileCheck_ && kind == MessageKind::Error)
        kind = MessageKind::Information;
    switch (kind) {
    case MessageKind::Warning:
        prompts::Warning(this, Text(text));
        break;
    case MessageKind::Error:
        prompts::Error(this, Text(text));
        break;
    case MessageKind::Information:
        prompts::Information(this, Text(text));
        break;
    case MessageKind::Confirmation:
        prompts::Confirm(this, Text(text));
        break;
    }
}

bool TfmMeldoraMain::Confirm(const std::string& text) { return prompts::Confirm(this, Text(text)); }

// ---- The opponent -------------------------------------------------------------------------
// Network play is not part of this program yet: the opponent is always the computer.

bool TfmMeldoraMain::IsNetworkGame() const { return false; }

bool TfmMeldoraMain::IsConnectionRoleOne() const { return false; }

std::string TfmMeldoraMain::OpponentName() const { return {}; }

void TfmMeldoraMain::SendMessage(const std::string&, const std::string&) {}

void TfmMeldoraMain::HandleHeldNetworkMessages() {}

void TfmMeldoraMain::RunComputerTurn()
{
    if (quitting_)
        return;
    struct Depth {
        int& value;
        explicit Depth(int& v) : value(v) { ++value; }
        ~Depth() { --value; }
    } depth(computerTurnDepth_);
    ai::RunComputerTurn(*game_, ai::ComputerSettings{ComputerLevel, Aggression, MeldDelay, true});
    if (computerTurnDepth_ == 1 && closePending_) {
        closePending_ = false;
        CloseLater(this);
    }
}

// ---- Results ---------------------------------------------------------------------------------
// There are no player records in this program yet: no selected player, and the
// highscore lists, the match history and the win ratio receive nothing.

std::string TfmMeldoraMain::SelectedPlayerName() const { return {}; }

void TfmMeldoraMain::ShowHandScore(const HandScore& score)
{
    std::function<void(bool)> showComputerHand;
    if (!game_->Presentation.ComputerHandRevealed && !IsNetworkGame()) {
        showComputerHand = [this](bool faceUp) {
            if (game_->Presentation.ComputerHandRevealed != faceUp)
                view_->ToggleReveal();
        };
    }
    ShowScoringResults(this, score, showComputerHand, &ScoringShown);
}

void TfmMeldoraMain::OfferHandHighscore(int) {}

void TfmMeldoraMain::OfferMatchHighscore(int) {}

void TfmMeldoraMain::AddMatchHistory(int, int, const std::string&) {}

void TfmMeldoraMain::RecordMatchResult(bool) {}

bool TfmMeldoraMain::ShowGameOver(const MatchResult& result)
{
    return AskForAnotherMatch(this, result, IsNetworkGame());
}

void TfmMeldoraMain::DeleteAutoSave()
{
    std::error_code ec;
    std::filesystem::remove(AutoSavePath(), ec);
}

// The player declined another match: the table stays still and the window
// closes as soon as the handler that asked has returned.
void TfmMeldoraMain::QuitProgram()
{
    quitting_ = true;
    view_->SetPaintSuspended(true);
    CloseLater(this);
}

}  // namespace meldora
