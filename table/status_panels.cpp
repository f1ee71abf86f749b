#include "table/status_panels.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <algorithm>

#include "core/game.h"

namespace meldora {

namespace {

constexpr int PanelHeight = 16;
constexpr int HintRaise = 40;
// Room on each side of a panel's number, clear of the separators.
constexpr int PanelPadding = 4;
constexpr const char* NarrowestWidth = "narrowestWidth";

QLabel* addPanel(QWidget* owner, QHBoxLayout* row, const char* name, int width, const QString& hint)
{
    auto* rule = new QFrame(owner);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    row->addWidget(rule);

    auto* panel = new QLabel("0", owner);
    panel->setObjectName(name);
    panel->setFixedSize(width, PanelHeight);
    panel->setProperty(NarrowestWidth, width);
    panel->setAlignment(Qt::AlignCenter);
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    panel->setFont(font);
    // The text before "|" is the tool tip; the part after it (the status-bar hint) is empty.
    panel->setToolTip(hint.section('|', 0, 0));
    panel->setStatusTip(hint.section('|', 1));
    row->addWidget(panel);
    return panel;
}

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    playerMeldValuePanel_ = addPanel(this, row, "pnPCurrMeld", 50, "Your Current Meld (and Current Minimum)|");
    computerMeldValuePanel_ = addPanel(this, row, "pnCCurrMeld", 34, "Opponent's Current Meld|");
    playerScorePanel_ = addPanel(this, row, "pnPCurrScore", 34, "Your Current Score|");
    computerScorePanel_ = addPanel(this, row, "pnCCurrScore", 34, "Opponent's Current Score|");
    for (QLabel* panel : {playerMeldValuePanel_, computerMeldValuePanel_, playerScorePanel_, computerScorePanel_})
        panel->installEventFilter(this);
    setFixedHeight(PanelHeight);
}

QString StatusPanels::currentMeldText(const CanastaGame& game)
{
    QString text = QString::number(game.MeldValueOnTable(Side::Human, true));
    if (game.MeldValueOnTable(Side::Human, false) < game.Human().MinimumMeld)
        text += " (" + QString::number(game.Human().MinimumMeld) + ")";
    return text;
}

void StatusPanels::updateFromGame(const CanastaGame& game)
{
    // A panel is never narrower than it starts and grows to fit its number, at
    // the cost of the message beside it.
    auto show = [](QLabel* panel, const QString& text) {
        if (panel->text() == text)
            return;
        panel->setText(text);
        const int fitting = panel->fontMetrics().horizontalAdvance(text) + 2 * PanelPadding;
        panel->setFixedWidth(std::max(panel->property(NarrowestWidth).toInt(), fitting));
    };
    show(playerScorePanel_, QString::number(game.Human().Score));
    show(computerScorePanel_, QString::number(game.Computer().Score));
    show(computerMeldValuePanel_, QString::number(game.Computer().MeldValue));
    show(playerMeldValuePanel_, currentMeldText(game));
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    auto* panel = qobject_cast<QLabel*>(watched);
    if (!panel || panel->toolTip().isEmpty())
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos() - QPoint(0, HintRaise), panel->toolTip(), panel);
    return true;
}

}  // namespace meldora
