#include "table/details_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace meldora {

namespace {

const char* const kRowCaptions[ScoreRowCount] = {"Cards on the Table", "Cards in Hand", "Canastas",
                                                 "Red Threes",         "Finish Bonus",  "Total"};

QLabel* cell(const QString& text, const QString& name, Qt::Alignment alignment = Qt::AlignRight)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// One side's panel: "Number" and "Value" of the counted rows, the value alone
// for the finishing bonus and the total.
QGroupBox* sidePanel(const char* prefix, const std::string& heading, const SideScore& side)
{
    auto* panel = new QGroupBox(QString::fromStdString(heading));
    panel->setObjectName(QStringLiteral("pn%1").arg(QLatin1String(prefix)));
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(18);
    grid->setColumnStretch(0, 1);
    grid->addWidget(cell(QStringLiteral("Number"), QString()), 0, 1);
    grid->addWidget(cell(QStringLiteral("Value"), QString()), 0, 2);

    int gridRow = 1;
    for (int row = RowTable; row < ScoreRowCount; ++row) {
        if (row == RowTotal) {
            auto* rule = new QFrame;
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            grid->addWidget(rule, gridRow++, 0, 1, 3);
        }
        const ScoreLine& line = side.Rows[row];
        grid->addWidget(cell(QString::fromLatin1(kRowCaptions[row]), QString(), Qt::AlignLeft), gridRow, 0);
        if (row < RowFinish)
            grid->addWidget(cell(QString::number(line.Number), QStringLiteral("lb%1Number%2").arg(
                                                                    QLatin1String(prefix)).arg(row)),
                            gridRow, 1);
        QLabel* value = cell(QString::number(line.Value),
                             QStringLiteral("lb%1Value%2").arg(QLatin1String(prefix)).arg(row));
        if (row == RowTotal) {
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
        }
        grid->addWidget(value, gridRow++, 2);
    }
    return panel;
}

}  // namespace

DetailsWindow::DetailsWindow(const HandScore& score, std::function<void(bool faceUp)> showComputerHand, QWidget* parent)
    : QDialog(parent), showComputerHand_(std::move(showComputerHand))
{
    setObjectName(QStringLiteral("fmDetails"));
    setWindowTitle(QStringLiteral("Detailed Scoring Results"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);

    auto* panels = new QHBoxLayout;
    panels->setSpacing(12);
    panels->addWidget(sidePanel("Human", score.PlayerName, score.Human));
    panels->addWidget(sidePanel("Computer", score.OpponentName, score.Computer));
    layout->addLayout(panels);

    auto* buttons = new QHBoxLayout;
    auto* okButton = new QPushButton(QStringLiteral("OK"));
    okButton->setObjectName(QStringLiteral("bnOK"));
    okButton->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    layout->addLayout(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

DetailsWindow::~DetailsWindow()
{
    setComputerHandShown(false);
}

void DetailsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setComputerHandShown(true);
}

void DetailsWindow::done(int result)
{
    setComputerHandShown(false);
    QDialog::done(result);
}

void DetailsWindow::setComputerHandShown(bool shown)
{
    if (!showComputerHand_ || shown == computerHandShown_)
        return;
    computerHandShown_ = shown;
    showComputerHand_(shown);
}

}  // namespace meldora
