#include "records/highscores_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "table/prompts.h"

namespace meldora {

namespace {

QGroupBox* radioGroup(const QString& title, const char* name, const QStringList& captions, QButtonGroup* group)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

HighscoresDialog::HighscoresDialog(HighscoreTables& tables, SettingsAccess& settings, int levelIndex,
                                   HighscoreType type, int boldRank, QWidget* parent)
    : QDialog(parent), tables_(tables), settings_(settings)
{
    setObjectName(QStringLiteral("TfmHighscores"));
    setWindowTitle(QStringLiteral("Meldora Hall of Fame"));

    levels_ = new QButtonGroup(this);
    types_ = new QButtonGroup(this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(radioGroup(QStringLiteral("&Level"), "rgLevel",
                                  {QStringLiteral("&Beginner"), QStringLiteral("&Advanced"), QStringLiteral("&Expert"),
                                   QStringLiteral("&Network")},
                                  levels_));
    choices->addWidget(radioGroup(QStringLiteral("&Type of Highscore"), "rgHighscoreType",
                                  {QStringLiteral("&Hand"), QStringLiteral("&Match")}, types_));

    auto* grid = new QGridLayout;
    grid->addWidget(heading(QStringLiteral("Ranking")), 0, 0);
    grid->addWidget(heading(QStringLiteral("Player")), 0, 1);
    grid->addWidget(heading(QStringLiteral("Date")), 0, 2);
    grid->addWidget(heading(QStringLiteral("Score")), 0, 3, Qt::AlignRight);
    for (int i = 0; i < HighscoreRanks; ++i) {
        const QString number = QString::number(i + 1);
        grid->addWidget(new QLabel(number), i + 1, 0);
        players_[i] = new QLabel;
        players_[i]->setObjectName(QStringLiteral("lbPlayer") + number);
        dates_[i] = new QLabel;
        dates_[i]->setObjectName(QStringLiteral("lbDate") + number);
        scores_[i] = new QLabel;
        scores_[i]->setObjectName(QStringLiteral("lbScore") + number);
        scores_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(players_[i], i + 1, 1);
        grid->addWidget(dates_[i], i + 1, 2);
        grid->addWidget(scores_[i], i + 1, 3);
    }
    grid->setColumnMinimumWidth(1, 160);
    grid->setColumnMinimumWidth(2, 90);
    grid->setColumnMinimumWidth(3, 60);

    auto* buttons = new QDialogButtonBox;
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bnOK"));
    ok->setDefault(true);
    auto* clear = buttons->addButton(QStringLiteral("&Clear"), QDialogButtonBox::ActionRole);
    clear->setObjectName(QStringLiteral("bnClear"));
    clear->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(clear, &QPushButton::clicked, this, &HighscoresDialog::clearShownList);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    levels_->button(std::clamp(levelIndex, 0, HighscoreLevels - 1))->setChecked(true);
    types_->button(static_cast<int>(type))->setChecked(true);
    copyLists();
    redisplay();
    if (boldRank >= 1 && boldRank <= HighscoreRanks) {
        QFont font = players_[boldRank - 1]->font();
        font.setBold(true);
        players_[boldRank - 1]->setFont(font);
    }
    connect(levels_, &QButtonGroup::idClicked, this, [this] { redisplay(); });
    connect(types_, &QButtonGroup::idClicked, this, [this] {
        copyLists();
        redisplay();
    });
}

int HighscoresDialog::levelIndex() const { return levels_->checkedId(); }

HighscoreType HighscoresDialog::type() const { return static_cast<HighscoreType>(types_->checkedId()); }

void HighscoresDialog::copyLists()
{
    for (int level = 0; level < HighscoreLevels; ++level)
        shown_[level] = tables_.Of(type(), level);
}

void HighscoresDialog::redisplay()
{
    const HighscoreList& list = shown_[levelIndex()];
    for (int i = 0; i < HighscoreRanks; ++i) {
        players_[i]->setText(QString::fromStdString(list[i].Name));
        dates_[i]->setText(QString::fromStdString(list[i].Date));
        scores_[i]->setText(QString::number(list[i].Score));
        QFont font = players_[i]->font();
        font.setBold(false);
        players_[i]->setFont(font);
    }
}

void HighscoresDialog::clearShownList()
{
    const QString question = QStringLiteral("Are you sure you want to clear all highscores for the %1 level?")
                                 .arg(QString::fromLatin1(LevelName(levelIndex())));
    if (!prompts::confirm(this, question))
        return;
    tables_.Clear(settings_, type(), levelIndex());
    copyLists();
    redisplay();
}

}  // namespace meldora
