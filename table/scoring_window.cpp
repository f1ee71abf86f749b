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

QLabel* addScoreRow(QGridLayout* grid, int row, QLabel* caption, const char* valueName, int value)
{
    auto* number = new QLabel(QString::number(value));
    number->setObjectName(QString::fromLatin1(valueName));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, row, 0);
    grid->addWidget(number, row, 1);
    return number;
}

constexpr int ScoringWindowDrop = 10;

bool concealed(const SideScore& side) { return side.Rows[RowFinish].Value == ConcealedGoingOutBonus; }

}  // namespace

QString handEndLine(const HandScore& score, HandEndWay way)
{
    const QString opponent = QString::fromStdString(score.OpponentName);
    switch (way) {
    case HandEndWay::PlayerWentOut:
        return concealed(score.Human) ? QStringLiteral("You went out concealed.") : QStringLiteral("You went out.");
    case HandEndWay::OpponentWentOut:
        return opponent + (concealed(score.Computer) ? QStringLiteral(" went out concealed.") : QStringLiteral(" went out."));
    case HandEndWay::EndHandPressed:
        return QStringLiteral("Nobody went out: you pressed End Hand on the exhausted stock.");
    case HandEndWay::OpponentEndedOnEmptyStock:
        return QStringLiteral("Nobody went out: the stock ran out and ") + opponent + QStringLiteral(" ended the hand.");
    }
    return {};
}

ScoringWindow::ScoringWindow(const HandScore& score, const QString& handEnd, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmScoring"));
    setWindowTitle(QStringLiteral("Scoring Results"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);

    auto* handFinishedPanel = new QFrame;
    handFinishedPanel->setObjectName(QStringLiteral("pnHandFinished"));
    handFinishedPanel->setFrameShape(QFrame::StyledPanel);
    handFinishedPanel->setMinimumWidth(240);
    auto* panelLayout = new QVBoxLayout(handFinishedPanel);
    auto* heading = new QLabel(QStringLiteral("Hand Finished"));
    heading->setObjectName(QStringLiteral("lbHandFinished"));
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);
    panelLayout->addWidget(heading);
    if (!handEnd.isEmpty()) {
        auto* handEndLabel = new QLabel(handEnd);
        handEndLabel->setObjectName(QStringLiteral("lbHandEnd"));
        handEndLabel->setAlignment(Qt::AlignCenter);
        handEndLabel->setWordWrap(true);
        panelLayout->addWidget(handEndLabel);
    }
    layout->addWidget(handFinishedPanel);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setColumnStretch(0, 1);
    opponentLabel_ = new QLabel(QString::fromStdString(score.OpponentName) + QStringLiteral("'s Score:"));
    opponentLabel_->setObjectName(QStringLiteral("lbOpponent"));
    playerScoreLabel_ =
        addScoreRow(grid, 0, new QLabel(QStringLiteral("Your Score:")), "lbPlayerScore", score.Human.Total());
    computerScoreLabel_ = addScoreRow(grid, 1, opponentLabel_, "lbComputerScore", score.Computer.Total());
    differenceLabel_ =
        addScoreRow(grid, 2, new QLabel(QStringLiteral("Difference:")), "lbDifference", score.Difference());
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setObjectName(QStringLiteral("bnOK"));
    okButton_->setDefault(true);
    detailsButton_ = new QPushButton(QStringLiteral("&Details >>"));
    detailsButton_->setObjectName(QStringLiteral("bnDetails"));
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(detailsButton_);
    layout->addLayout(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(detailsButton_, &QPushButton::clicked, this, [this] { done(DetailsResult); });
}

void showScoringResults(QWidget* parent, const HandScore& score,
                        const std::function<void(bool faceUp)>& showComputerHand, bool* scoringShown,
                        const QString& handEnd)
{
    int result;
    {
        ScoringWindow scoring(score, handEnd, parent);
        // Below the middle of the window, so that the opponent's melds stay in view.
        if (parent) {
            scoring.adjustSize();
            const QPoint middle = parent->mapToGlobal(parent->rect().center());
            scoring.move(middle.x() - scoring.width() / 2, middle.y() + ScoringWindowDrop);
        }
        if (scoringShown)
            *scoringShown = true;
        result = scoring.exec();
        if (scoringShown)
            *scoringShown = false;
    }
    if (result != ScoringWindow::DetailsResult)
        return;
    DetailsWindow details(score, showComputerHand, parent);
    details.exec();
}

}  // namespace meldora
