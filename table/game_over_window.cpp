#include "table/game_over_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace meldora {

namespace {

QLabel* named(QLabel* label, const char* name)
{
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* numberLabel(int value, const char* name)
{
    QLabel* label = named(new QLabel(QString::number(value)), name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QPushButton* makeButton(const char* caption, const char* name)
{
    auto* button = new QPushButton(QString::fromLatin1(caption));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

GameOverWindow::GameOverWindow(const MatchResult& result, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fmGameOver"));
    setWindowTitle(QStringLiteral("Meldora"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);

    QLabel* heading = named(new QLabel(QStringLiteral("Game Over")), "lbGameOver");
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.8);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    commentLabel_ = named(new QLabel(QString::fromStdString(result.Comment)), "lbComment");
    commentLabel_->setAlignment(Qt::AlignCenter);
    commentLabel_->setWordWrap(true);
    commentLabel_->setMinimumWidth(320);
    layout->addWidget(commentLabel_);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setColumnStretch(0, 1);
    yourScoreLabel_ = named(new QLabel(QStringLiteral("Your Score:")), "Label1");
    opponentLabel_ =
        named(new QLabel(QString::fromStdString(result.OpponentName) + QStringLiteral("'s score:")), "lbOpponent");
    playerScoreLabel_ = numberLabel(result.HumanScore, "lbPlayerScore");
    computerScoreLabel_ = numberLabel(result.ComputerScore, "lbComputerScore");
    differenceLabel_ = numberLabel(result.Difference(), "lbDifference");
    grid->addWidget(yourScoreLabel_, 0, 0);
    grid->addWidget(playerScoreLabel_, 0, 1);
    grid->addWidget(opponentLabel_, 1, 0);
    grid->addWidget(computerScoreLabel_, 1, 1);
    grid->addWidget(named(new QLabel(QStringLiteral("Difference:")), "Label2"), 2, 0);
    grid->addWidget(differenceLabel_, 2, 1);
    layout->addLayout(grid);

    questionLabel_ = named(new QLabel, "lbQuestion");
    questionLabel_->setAlignment(Qt::AlignCenter);
    layout->addWidget(questionLabel_);

    auto* buttons = new QHBoxLayout;
    yesButton_ = makeButton("&Yes", "bnYes");
    noButton_ = makeButton("&No", "bnNo");
    okButton_ = makeButton("&OK", "bnOK");
    buttons->addStretch(1);
    buttons->addWidget(yesButton_);
    buttons->addWidget(noButton_);
    buttons->addWidget(okButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(yesButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton_, &QPushButton::clicked, this, [this] { QDialog::done(Rejected); });
    setNetworkMode(false);
}

void GameOverWindow::setNetworkMode(bool network)
{
    yesButton_->setVisible(!network);
    noButton_->setVisible(!network);
    okButton_->setVisible(network);
    (network ? okButton_ : yesButton_)->setDefault(true);
    (network ? yesButton_ : okButton_)->setDefault(false);
    questionLabel_->setText(network ? QStringLiteral("Press OK to continue.")
                                    : QStringLiteral("Do you want to play another game?"));
}

bool askForAnotherMatch(QWidget* parent, const MatchResult& result, bool network)
{
    GameOverWindow window(result, parent);
    window.setNetworkMode(network);
    return window.exec() == QDialog::Accepted;
}

}  // namespace meldora
