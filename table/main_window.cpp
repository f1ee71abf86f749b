#include "table/main_window.h"

#include <QAction>
#include <QMenuBar>

#include "core/settings_access.h"
#include "core/table_host.h"
#include "table/prompts.h"
#include "table/rules_dialog.h"

namespace meldora {

// Until the table is painted, the window answers the game only with its message boxes;
// flights, sounds and repaints have nothing to show yet.
class TfmMeldoraMain::MessageHost : public TableHost {
public:
    explicit MessageHost(QWidget* window) : window_(window) {}

    void MoveCard(const CardRecord&, int, int, int, int) override {}
    void Pause(int) override {}
    void InvalidateTableRect(const TableRect&) override { window_->update(); }
    void RepaintTable() override { window_->update(); }
    void PlaySound(SoundEvent) override {}
    void SetBusyCursor(bool) override {}
    void PhaseChanged(int) override {}
    void ShowInputError(int, const std::string&) override {}
    void StockExhaustedChanged(bool) override {}
    void UndoItemsEnabled(bool) override {}
    void ShowTurnWindow(const std::string&) override {}

    void ShowMessage(MessageKind kind, const std::string& text) override
    {
        const QString message = QString::fromStdString(text);
        switch (kind) {
        case MessageKind::Warning:
            prompts::Warning(window_, message);
            break;
        case MessageKind::Error:
            prompts::Error(window_, message);
            break;
        case MessageKind::Information:
            prompts::Information(window_, message);
            break;
        case MessageKind::Confirmation:
            prompts::Confirm(window_, message);
            break;
        }
    }
    bool Confirm(const std::string& text) override { return prompts::Confirm(window_, QString::fromStdString(text)); }

    bool IsNetworkGame() const override { return false; }
    bool IsConnectionRoleOne() const override { return false; }
    std::string OpponentName() const override { return {}; }
    void SendMessage(const std::string&, const std::string&) override {}
    void HandleHeldNetworkMessages() override {}
    void RunComputerTurn() override {}

    std::string SelectedPlayerName() const override { return {}; }
    void ShowHandScore(const HandScore&) override {}
    void OfferHandHighscore(int) override {}
    void OfferMatchHighscore(int) override {}
    void AddMatchHistory(int, int, const std::string&) override {}
    void RecordMatchResult(bool) override {}
    bool ShowGameOver(const MatchResult&) override { return false; }
    void DeleteAutoSave() override {}
    void QuitProgram() override { window_->close(); }

private:
    QWidget* window_;
};

TfmMeldoraMain::TfmMeldoraMain(SettingsAccess& settings, QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      host_(std::make_unique<MessageHost>(this)),
      game_(std::make_unique<CanastaGame>(*host_, &settings))
{
    setObjectName(QStringLiteral("fmMeldoraMain"));
    setWindowTitle(QStringLiteral("Meldora 4.14"));
    resize(640, 480);

    game_->Rules = LoadRuleOptions(settings_);

    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    Exit1 = gameMenu->addAction(QStringLiteral("E&xit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    Rules1 = optionsMenu->addAction(QStringLiteral("&Rules..."));
    Rules1->setObjectName(QStringLiteral("Rules1"));
    connect(Rules1, &QAction::triggered, this, &TfmMeldoraMain::Rules1Click);

    auto* table = new QWidget;
    table->setObjectName(QStringLiteral("table"));
    table->setAutoFillBackground(true);
    QPalette colours = table->palette();
    colours.setColor(QPalette::Window, QColor(0, 128, 0));
    table->setPalette(colours);
    setCentralWidget(table);
}

TfmMeldoraMain::~TfmMeldoraMain() = default;

void TfmMeldoraMain::Rules1Click()
{
    TfmRules dialog(game_->Rules, game_->GameInProgress, RulesPage, settings_, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    RulesPage = dialog.activePage();
    if (accepted)
        ApplyRules(dialog.options());
}

void TfmMeldoraMain::ApplyRules(const RuleOptions& rules)
{
    const bool initialBlockChanged = rules.InitialBlock != game_->Rules.InitialBlock;
    game_->Rules = rules;
    if (initialBlockChanged) {
        game_->DiscardFrozen = rules.InitialBlock;
        host_->RepaintTable();
    }
}

}  // namespace meldora
