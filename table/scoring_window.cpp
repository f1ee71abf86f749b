#include "table/scoring_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "table/details_window.h"

namespace meldora {

namespace {

QLabel* AddScoreRow(QGridLayout* grid, int row, QLabel* caption, const char* valueName, int value)
{
    auto* number = new QLabel(QString::number(value));
    number->setObjectName(QString::fromLatin1(valueName));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, row, 0);
    grid->addWidget(number, row, 1);
    return number;
}

}  // namespace

TfmScoring::TfmScoring(const HandScore& score, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmScoring"));
    setWindowTitle(QStringLiteral("Scoring Results"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);

    auto* pnHandFinished = new QFrame;
    pnHandFinished->setObjectName(QStringLiteral("pnHandFinished"));
    pnHandFinished->setFrameShape(QFrame::StyledPanel);
    pnHandFinished->setMinimumWidth(240);
    auto* panelLayout = new QVBoxLayout(pnHandFinished);
    auto* heading = new QLabel(QStringLiteral("Hand Finished"));
    heading->setObjectName(QStringLiteral("lbHandFinished"));
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);
    panelLayout->addWidget(heading);
    layout->addWidget(pnHandFinished);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setColumnStretch(0, 1);
    lbOpponent = new QLabel(QString::fromStdString(score.OpponentName) + QStringLiteral("'s Score:"));
    lbOpponent->setObjectName(QStringLiteral("lbOpponent"));
    lbPlayerScore = AddScoreRow(grid, 0, new QLabel(QStringLiteral("Your Score:")), "lbPlayerScore",
                                score.Human.Total());
    lbComputerScore = AddScoreRow(grid, 1, lbOpponent, "lbComputerScore", score.Computer.Total());
    lbDifference = AddScoreRow(grid, 2, new QLabel(QStringLiteral("Difference:")), "lbDifference",
                               score.Difference());
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    bnOK = new QPushButton(QStringLiteral("OK"));
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setDefault(true);
    bnDetails = new QPushButton(QStringLiteral("&Details >>"));
    bnDetails->setObjectName(QStringLiteral("bnDetails"));
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnDetails);
    layout->addLayout(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnDetails, &QPushButton::clicked, this, [this] { done(DetailsResult); });
}

void ShowScoringResults(QWidget* parent, const HandScore& score,
                        const std::function<void(bool faceUp)>& showComputerHand, bool* scoringShown)
{
    int result;
    {
        TfmScoring scoring(score, parent);
        if (scoringShown)
            *scoringShown = true;
        result = scoring.exec();
        if (scoringShown)
            *scoringShown = false;
    }
    if (result != TfmScoring::DetailsResult)
        return;
    TfmDetails details(score, showComputerHand, parent);
    details.exec();
}

}  // namespace meldora
