// The main window as the game's host: what the game asks of the world outside it.
#include <QAction>
#include <QLabel>
#include <QMetaObject>
#include <filesystem>

#include "ai/computer_player.h"
#include "core/saved_game.h"
#include "core/scoring.h"
#include "records/records_keeper.h"
#include "table/game_over_window.h"
#include "table/help_window.h"
#include "table/main_window.h"
#include "table/network_play.h"
#include "table/prompts.h"
#include "table/scoring_window.h"
#include "table/sound_player.h"
#include "table/splash_window.h"
#include "table/table_view.h"

namespace meldora {

namespace {

QString toQString(const std::string& text) { return QString::fromStdString(text); }

// Runs the close the player asked for once the handler that asked has returned.
void closeLater(QWidget* window) { QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection); }

// The name a lost highscore is entered under.
std::string opponentOf(const TableHost& host) { return host.IsNetworkGame() ? host.OpponentName() : "Computer"; }

}  // namespace

// ---- The table -------------------------------------------------------------------------

void MainWindow::MoveCard(const CardRecord& card, int fromX, int fromY, int toX, int toY)
{
    if (game_->Turn.ComputerTurn && computerTurnDepth_ > 0)
        lastComputerTurn_.noteMove(*game_, card, fromX, fromY, toX, toY);
    if (!quitting_)
        view_->moveCard(card, fromX, fromY, toX, toY);
}

void MainWindow::Pause(int milliseconds)
{
    if (!quitting_)
        view_->pause(milliseconds);
}

void MainWindow::InvalidateTableRect(const TableRect& rect) { view_->invalidateTableRect(rect); }

void MainWindow::RepaintTable() { view_->repaintTable(); }

void MainWindow::PlaySound(SoundEvent event) { sound_->playEvent(event); }

void MainWindow::SetBusyCursor(bool busy) { view_->setBusyCursor(busy); }

void MainWindow::PhaseChanged(TurnPhase phase)
{
    view_->showPhaseHint(phase);
    // Until the first card of a game is drawn the rules may be changed.
    if (!game_->Match.GameInProgress)
        rulesAction_->setStatusTip(QString::fromLatin1(RulesMenuHint));
}

void MainWindow::ShowInputError(InputError error, const std::string& text)
{
    view_->showInputError(static_cast<int>(error), toQString(text));
}

void MainWindow::StockExhaustedChanged(bool exhausted) { view_->setStockExhausted(exhausted); }

void MainWindow::UndoItemsEnabled(bool enabled)
{
    undoMeldAction_->setEnabled(enabled);
    undoAllAction_->setEnabled(enabled);
}

void MainWindow::ShowTurnWindow(const std::string& text)
{
    if (!quitting_)
        view_->showTurnWindow(toQString(text));
}

// ---- Boxes ---------------------------------------------------------------------------------

void MainWindow::ShowMessage(MessageKind kind, const std::string& text)
{
    if (startupFileCheck_ && kind == MessageKind::Error)
        kind = MessageKind::Information;
    switch (kind) {
    case MessageKind::Warning:
        prompts::warning(this, toQString(text));
        break;
    case MessageKind::Error:
        prompts::error(this, toQString(text));
        break;
    case MessageKind::Information:
        prompts::information(this, toQString(text));
        break;
    case MessageKind::Confirmation:
        prompts::confirm(this, toQString(text));
        break;
    }
}

bool MainWindow::Confirm(const std::string& text) { return prompts::confirm(this, toQString(text)); }

// ---- The opponent -------------------------------------------------------------------------
// Network play is not part of this program yet: the opponent is always the computer.

bool MainWindow::IsNetworkGame() const { return network_ && network_->isNetworkGame(); }

bool MainWindow::IsConnectionRoleOne() const { return network_->isServer(); }

std::string MainWindow::OpponentName() const { return network_->opponentName(); }

void MainWindow::SendMessage(const std::string& token, const std::string& payload) { network_->send(token, payload); }

void MainWindow::HandleHeldNetworkMessages() { network_->dispatchHeldMessages(); }

void MainWindow::RunComputerTurn()
{
    if (quitting_)
        return;
    struct Depth {
        int& value;
        explicit Depth(int& v) : value(v) { ++value; }
        ~Depth() { --value; }
    } depth(computerTurnDepth_);
    if (computerTurnDepth_ == 1)
        lastComputerTurn_.begin(*game_);
    ai::RunComputerTurn(*game_, ai::ComputerSettings{computerLevel, aggression, meldDelay, true});
    if (computerTurnDepth_ == 1)
        view_->dropInputMadeDuringComputerTurn();
    if (computerTurnDepth_ == 1 && !quitting_) {
        if (const auto discard = lastComputerTurn_.discard())
            view_->highlightUntilNextAction(*discard);
        statusLabel_->setToolTip(statusToolTip(statusLabel_->text()));
    }
    if (computerTurnDepth_ == 1 && closePending_) {
        closePending_ = false;
        closeLater(this);
    }
}

// ---- Results ---------------------------------------------------------------------------------

std::string MainWindow::SelectedPlayerName() const { return records_->players().CurrentName(); }

void MainWindow::ShowHandScore(const HandScore& score)
{
    std::function<void(bool)> showComputerHand;
    if (!game_->Presentation.ComputerHandRevealed && !IsNetworkGame()) {
        showComputerHand = [this](bool faceUp) {
            if (game_->Presentation.ComputerHandRevealed != faceUp)
                view_->toggleComputerHandReveal();
        };
    }
    HandEndWay way = game_->Turn.ComputerTurn ? HandEndWay::OpponentEndedOnEmptyStock : HandEndWay::EndHandPressed;
    if (game_->Match.WentOut == HumanWentOut)
        way = HandEndWay::PlayerWentOut;
    else if (game_->Match.WentOut == ComputerWentOut)
        way = HandEndWay::OpponentWentOut;
    showScoringResults(this, score, showComputerHand, &scoringShown, handEndLine(score, way));
}

void MainWindow::OfferHandHighscore(int margin)
{
    records_->beginHandEnd();
    records_->offerHighscore(this, HighscoreType::Hand, margin, highscoreLevel(), opponentOf(*this),
                             [this] { PlaySound(SoundEvent::Highscore); });
}

void MainWindow::OfferMatchHighscore(int margin)
{
    records_->offerHighscore(this, HighscoreType::Match, margin, highscoreLevel(), opponentOf(*this),
                             [this] { PlaySound(SoundEvent::Highscore); });
}

void MainWindow::AddMatchHistory(int humanScore, int opponentScore, const std::string& opponentName)
{
    records_->addMatchHistory(humanScore, opponentScore, opponentName);
}

void MainWindow::RecordMatchResult(bool won) { records_->recordMatchResult(won); }

bool MainWindow::ShowGameOver(const MatchResult& result)
{
    return askForAnotherMatch(this, result, IsNetworkGame());
}

void MainWindow::DeleteAutoSave()
{
    std::error_code ec;
    std::filesystem::remove(AutoSavePath(), ec);
}

// The player declined another match: the table stays still and the window
// closes as soon as the handler that asked has returned.
void MainWindow::QuitProgram()
{
    quitting_ = true;
    view_->setPaintSuspended(true);
    closeLater(this);
}

}  // namespace meldora
