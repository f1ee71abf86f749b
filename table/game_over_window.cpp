#include "table/game_over_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace meldora {

namespace {

QLabel* Named(QLabel* label, const char* name)
{
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* Number(int value, const char* name)
{
    QLabel* label = Named(new QLabel(QString::number(value)), name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QPushButton* Button(const char* caption, const char* name)
{
    auto* button = new QPushButton(QString::fromLatin1(caption));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

TfmGameOver::TfmGameOver(const MatchResult& result, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fmGameOver"));
    setWindowTitle(QStringLiteral("Meldora"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);

    QLabel* heading = Named(new QLabel(QStringLiteral("Game Over")), "lbGameOver");
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.8);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    lbComment = Named(new QLabel(QString::fromStdString(result.Comment)), "lbComment");
    lbComment->setAlignment(Qt::AlignCenter);
    lbComment->setWordWrap(true);
    lbComment->setMinimumWidth(320);
    layout->addWidget(lbComment);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setColumnStretch(0, 1);
    Label1 = Named(new QLabel(QStringLiteral("Your Score:")), "Label1");
    lbOpponent = Named(new QLabel(QString::fromStdString(result.OpponentName) + QStringLiteral("'s score:")),
                       "lbOpponent");
    lbPlayerScore = Number(result.HumanScore, "lbPlayerScore");
    lbComputerScore = Number(result.ComputerScore, "lbComputerScore");
    lbDifference = Number(result.Difference(), "lbDifference");
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(lbPlayerScore, 0, 1);
    grid->addWidget(lbOpponent, 1, 0);
    grid->addWidget(lbComputerScore, 1, 1);
    grid->addWidget(Named(new QLabel(QStringLiteral("Difference:")), "Label2"), 2, 0);
    grid->addWidget(lbDifference, 2, 1);
    layout->addLayout(grid);

    lbQuestion = Named(new QLabel, "lbQuestion");
    lbQuestion->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbQuestion);

    auto* buttons = new QHBoxLayout;
    bnYes = Button("&Yes", "bnYes");
    bnNo = Button("&No", "bnNo");
    bnOK = Button("&OK", "bnOK");
    buttons->addStretch(1);
    buttons->addWidget(bnYes);
    buttons->addWidget(bnNo);
    buttons->addWidget(bnOK);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(bnYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnNo, &QPushButton::clicked, this, [this] { QDialog::done(Rejected); });
    SetNetworkMode(false);
}

void TfmGameOver::SetNetworkMode(bool network)
{
    bnYes->setVisible(!network);
    bnNo->setVisible(!network);
    bnOK->setVisible(network);
    (network ? bnOK : bnYes)->setDefault(true);
    (network ? bnYes : bnOK)->setDefault(false);
    lbQuestion->setText(network ? QStringLiteral("Press OK to continue.")
                                : QStringLiteral("Do you want to play another game?"));
}

bool AskForAnotherMatch(QWidget* parent, const MatchResult& result, bool network)
{
    TfmGameOver window(result, parent);
    window.SetNetworkMode(network);
    return window.exec() == QDialog::Accepted;
}

}  // namespace meldora
