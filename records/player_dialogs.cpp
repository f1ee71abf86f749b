#include "records/player_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "records/match_history.h"
#include "records/player_list.h"
#include "table/prompts.h"

namespace meldora {

namespace {

QPushButton* okButton(QDialogButtonBox* box, const QString& caption)
{
    QPushButton* ok = box->addButton(caption, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bnOK"));
    ok->setDefault(true);
    return ok;
}

QLabel* namedLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

// ---- Win Ratio -------------------------------------------------------------------------

WinRatioDialog::WinRatioDialog(PlayerList& players, SettingsAccess& settings, QWidget* parent)
    : QDialog(parent), players_(players), settings_(settings)
{
    setObjectName(QStringLiteral("TfmWinRatio"));
    setWindowTitle(QStringLiteral("Win Ratio"));

    names_ = new QComboBox;
    names_->setObjectName(QStringLiteral("cbPlayers"));
    std::vector<int> order(players_.Players.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return QString::fromStdString(players_.Players[a].Name)
                   .compare(QString::fromStdString(players_.Players[b].Name), Qt::CaseInsensitive) < 0;
    });
    for (int index : order)
        names_->addItem(QString::fromStdString(players_.Players[index].Name), index);
    names_->setCurrentIndex(std::max(0, names_->findData(players_.Current)));

    wins_ = namedLabel("lbWins");
    losses_ = namedLabel("lbLosses");
    ratio_ = namedLabel("lbRatio");
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(ratio_);
    ratioRow->addWidget(new QLabel(QStringLiteral("%")));
    ratioRow->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Player:"), names_);
    form->addRow(QStringLiteral("Wins:"), wins_);
    form->addRow(QStringLiteral("Losses:"), losses_);
    form->addRow(QStringLiteral("Ratio:"), ratioRow);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = okButton(buttons, QStringLiteral("OK"));
    reset_ = buttons->addButton(QStringLiteral("&Reset"), QDialogButtonBox::ActionRole);
    reset_->setObjectName(QStringLiteral("bnReset"));
    reset_->setAutoDefault(false);
    reset_->setEnabled(names_->count() > 0);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(reset_, &QPushButton::clicked, this, &WinRatioDialog::resetSelected);
    connect(names_, &QComboBox::currentIndexChanged, this, &WinRatioDialog::showSelected);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    showSelected();
}

int WinRatioDialog::selectedPlayer() const
{
    return names_->currentIndex() < 0 ? -1 : names_->currentData().toInt();
}

void WinRatioDialog::showSelected()
{
    const int index = selectedPlayer();
    if (index < 0) {
        wins_->clear();
        losses_->clear();
        ratio_->setText(QStringLiteral("?"));
        return;
    }
    const Player& player = players_.Players[index];
    wins_->setText(QString::number(player.Wins));
    losses_->setText(QString::number(player.Losses));
    ratio_->setText(QString::fromStdString(WinRatioText(player.Wins, player.Losses)));
}

void WinRatioDialog::resetSelected()
{
    const int index = selectedPlayer();
    if (index < 0)
        return;
    const QString question = QStringLiteral("Do you want to reset the win ratio statistics for player %1?")
                                 .arg(QString::fromStdString(players_.Players[index].Name));
    if (!prompts::confirm(this, question))
        return;
    players_.ResetStatistics(settings_, index);
    showSelected();
}

// ---- Match History ---------------------------------------------------------------------

MatchHistoryDialog::MatchHistoryDialog(SettingsAccess& settings, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmMatchHistory"));
    setWindowTitle(QStringLiteral("Match History"));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("lbHistory"));
    for (const std::string& line : ReadMatchHistory(settings))
        list->addItem(QString::fromStdString(line));
    list->setMinimumWidth(480);

    auto* buttons = new QDialogButtonBox;
    connect(okButton(buttons, QStringLiteral("&OK")), &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(buttons);
}

// ---- Select Player -------------------------------------------------------------------------

SelectPlayerDialog::SelectPlayerDialog(PlayerList& players, QWidget* parent) : QDialog(parent), players_(players)
{
    setObjectName(QStringLiteral("TfmSelectPlayer"));
    setWindowTitle(QStringLiteral("Select Player"));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("lbPlayers"));
    for (const Player& player : players_.Players)
        list_->addItem(QString::fromStdString(player.Name));
    list_->setCurrentRow(players_.Current);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = okButton(buttons, QStringLiteral("&OK"));
    connect(ok, &QPushButton::clicked, this, [this] {
        players_.Current = list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
        accept();
    });
    connect(list_, &QListWidget::itemDoubleClicked, ok, &QPushButton::click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

}  // namespace meldora
