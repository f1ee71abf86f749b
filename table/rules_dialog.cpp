#include "table/rules_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/settings_access.h"

namespace meldora {

namespace {

const int kClientWidth = 309;
const int kClientHeight = 297;
const int kIndent = 18;
const double kSmallestFontSize = 6.5;

QCheckBox* AddCheckBox(QVBoxLayout* layout, const char* name, const QString& caption, bool indented = false)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    if (indented) {
        auto* row = new QHBoxLayout;
        row->addSpacing(kIndent);
        row->addWidget(box);
        layout->addLayout(row);
    } else {
        layout->addWidget(box);
    }
    return box;
}

// A radio group of two items side by side; the button ids are the item indices.
QGroupBox* AddRadioGroup(QVBoxLayout* layout, const char* name, const QString& caption, const QString& item0,
                         const QString& item1, QButtonGroup** items)
{
    auto* group = new QGroupBox(caption);
    group->setObjectName(QString::fromLatin1(name));
    auto* columns = new QHBoxLayout(group);
    columns->setContentsMargins(6, 2, 6, 2);
    *items = new QButtonGroup(group);
    const QString captions[2] = {item0, item1};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QRadioButton(captions[index]);
        button->setObjectName(QStringLiteral("%1Item%2").arg(QString::fromLatin1(name)).arg(index));
        (*items)->addButton(button, index);
        columns->addWidget(button, 1);
    }
    layout->addWidget(group);
    return group;
}

// One page of the dialog: a single group box holding the page's controls.
QVBoxLayout* AddPage(QTabWidget* pages, const QString& pageCaption, const QString& groupCaption)
{
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(3, 4, 3, 4);
    auto* group = new QGroupBox(groupCaption);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(6, 4, 6, 4);
    groupLayout->setSpacing(2);
    pageLayout->addWidget(group);
    pageLayout->addStretch(1);
    pages->addTab(page, pageCaption);
    return groupLayout;
}

}  // namespace

TfmRules::TfmRules(const RuleOptions& current, bool gameInProgress, int rulesPage, SettingsAccess& settings,
                   QWidget* parent)
    : QDialog(parent), settings_(settings), gameInProgress_(gameInProgress)
{
    setObjectName(QStringLiteral("fmRules"));
    setWindowTitle(QStringLiteral("Rules"));
    setFixedSize(kClientWidth, kClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 6, 4, 6);
    layout->setSpacing(6);

    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("pcRules"));
    layout->addWidget(pages_, 1);

    QVBoxLayout* discard = AddPage(pages_, QStringLiteral("Discard Pile"), QStringLiteral("Discard Pile options"));
    ckAddTop = AddCheckBox(discard, "ckAddTop", QStringLiteral("&Add top card to Canasta"));
    ckTopCount = AddCheckBox(discard, "ckTopCount", QStringLiteral("&Top card counts for initial meld"));
    ckInitFreeze = AddCheckBox(discard, "ckInitFreeze", QStringLiteral("&Initially frozen"));
    ckInitBlock = AddCheckBox(discard, "ckInitBlock", QStringLiteral("&Separately frozen for each player"), true);
    ckNaturalPair = AddCheckBox(discard, "ckNaturalPair", QStringLiteral("&Natural pair required"));
    ckAddExisting = AddCheckBox(discard, "ckAddExisting", QStringLiteral("Also when adding to existing meld"), true);

    QVBoxLayout* redThrees = AddPage(pages_, QStringLiteral("Red Threes"), QStringLiteral("Red Three options"));
    ckDrawExtra = AddCheckBox(redThrees, "ckDrawExtra", QStringLiteral("&Draw extra card"));
    ckFreezeDiscard = AddCheckBox(redThrees, "ckFreezeDiscard", QStringLiteral("&Freeze discard pile"));

    QVBoxLayout* canastas = AddPage(pages_, QStringLiteral("Canastas"), QStringLiteral("Canasta options"));
    ckRequired = AddCheckBox(canastas, "ckRequired", QStringLiteral("&Canasta(s) required for positive score"));
    ckBonus = AddCheckBox(canastas, "ckBonus", QStringLiteral("Canasta &bonus counts for initial meld"));
    ckwildcardallowed = AddCheckBox(canastas, "ckwildcardallowed", QStringLiteral("Wildcard Canasta is allowed"));
    rgGoOut = AddRadioGroup(canastas, "rgGoOut", QStringLiteral("&Number of Canastas needed to go out"),
                            QStringLiteral("&One"), QStringLiteral("&Two"), &goOutItems_);

    QVBoxLayout* other = AddPage(pages_, QStringLiteral("Other"), QStringLiteral("Other options"));
    rgDrawn = AddRadioGroup(other, "rgDrawn", QStringLiteral("Number of &Cards drawn each turn"),
                            QStringLiteral("On&e"), QStringLiteral("T&wo"), &drawnItems_);

    lbWarning = new QLabel(QStringLiteral("The rules cannot be changed now, because a game is in progress. "
                                          "Press OK and then F2 to start a new game. The current game will be "
                                          "aborted."));
    lbWarning->setObjectName(QStringLiteral("lbWarning"));
    lbWarning->setWordWrap(true);
    QPalette warningColours = lbWarning->palette();
    warningColours.setColor(QPalette::WindowText, Qt::red);
    lbWarning->setPalette(warningColours);
    // The pages keep their size whether or not the warning shows.
    QSizePolicy warningPolicy = lbWarning->sizePolicy();
    warningPolicy.setRetainSizeWhenHidden(true);
    lbWarning->setSizePolicy(warningPolicy);
    layout->addWidget(lbWarning);

    auto* buttons = new QHBoxLayout;
    bnHoyle = new QPushButton(QStringLiteral("Hoyle Rules"));
    bnHoyle->setObjectName(QStringLiteral("bnHoyle"));
    bnOK = new QPushButton(QStringLiteral("OK"));
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setDefault(true);
    bnCancel = new QPushButton(QStringLiteral("Cancel"));
    bnCancel->setObjectName(QStringLiteral("bnCancel"));
    buttons->addWidget(bnHoyle);
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    layout->addLayout(buttons);

    FitFont();
    SetControls(current);
    rgGoOutClick();
    if (rulesPage >= 0 && rulesPage < pages_->count())
        pages_->setCurrentIndex(rulesPage);

    const bool editable = !gameInProgress_;
    lbWarning->setVisible(!editable);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        box->setEnabled(editable);
    rgGoOut->setEnabled(editable);
    rgDrawn->setEnabled(editable);
    bnHoyle->setEnabled(editable);
    ckInitFreezeClick();
    ckNaturalPairClick();

    // Presetting the controls by program (Hoyle Rules) keeps the dependent controls in step,
    // just as a click does.
    connect(ckInitFreeze, &QCheckBox::toggled, this, &TfmRules::ckInitFreezeClick);
    connect(ckNaturalPair, &QCheckBox::toggled, this, &TfmRules::ckNaturalPairClick);
    connect(goOutItems_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            rgGoOutClick();
    });
    connect(bnHoyle, &QPushButton::clicked, this, &TfmRules::bnHoyleClick);
    connect(bnOK, &QPushButton::clicked, this, &TfmRules::bnOKClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The dialog keeps its size whatever the desktop font, so the font is made smaller until the
// longest captions and all four page tabs fit, down to a size that is still readable.
void TfmRules::FitFont()
{
    ckRequired->setText(QStringLiteral("At least two Canastas required for positive score"));
    QFont dialogFont = font();
    double size = dialogFont.pointSizeF() > 0 ? dialogFont.pointSizeF() : 9.0;
    for (;; size -= 0.5) {
        dialogFont.setPointSizeF(size);
        setFont(dialogFont);
        QLayout* main = layout();
        main->invalidate();
        const QSize needed = main->totalMinimumSize();
        const int height = main->hasHeightForWidth() ? main->totalHeightForWidth(kClientWidth)
                                                     : main->totalSizeHint().height();
        const int tabRoom = kClientWidth - main->contentsMargins().left() - main->contentsMargins().right();
        const bool fits = needed.width() <= kClientWidth && height <= kClientHeight &&
                          pages_->tabBar()->sizeHint().width() <= tabRoom;
        if (fits || size - 0.5 < kSmallestFontSize)
            break;
    }
}

void TfmRules::SetControls(const RuleOptions& o)
{
    ckAddTop->setChecked(o.AddToCanasta);
    ckTopCount->setChecked(o.TopCardCounts);
    ckInitFreeze->setChecked(o.InitialBlock);
    ckInitBlock->setChecked(o.InitialBlockForBoth);
    ckNaturalPair->setChecked(o.NaturalPair);
    ckAddExisting->setChecked(o.AddExistingMeld);
    ckDrawExtra->setChecked(o.DrawExtra);
    ckFreezeDiscard->setChecked(o.ThreeBlock);
    ckRequired->setChecked(o.CanastaRequired);
    ckBonus->setChecked(o.BonusCounts);
    ckwildcardallowed->setChecked(o.WildcardCanasta);
    goOutItems_->button(o.NumberOfCanastas == 2 ? 1 : 0)->setChecked(true);
    drawnItems_->button(o.NumberOfCards == 2 ? 1 : 0)->setChecked(true);
}

RuleOptions TfmRules::options() const
{
    RuleOptions o;
    o.CanastaRequired = ckRequired->isChecked();
    o.NumberOfCanastas = goOutItems_->checkedId() + 1;
    o.NumberOfCards = drawnItems_->checkedId() + 1;
    o.AddToCanasta = ckAddTop->isChecked();
    o.TopCardCounts = ckTopCount->isChecked();
    o.InitialBlock = ckInitFreeze->isChecked();
    o.NaturalPair = ckNaturalPair->isChecked();
    o.AddExistingMeld = ckAddExisting->isChecked();
    o.DrawExtra = ckDrawExtra->isChecked();
    o.ThreeBlock = ckFreezeDiscard->isChecked();
    o.BonusCounts = ckBonus->isChecked();
    o.InitialBlockForBoth = ckInitBlock->isChecked();
    o.WildcardCanasta = ckwildcardallowed->isChecked();
    return o;
}

int TfmRules::activePage() const
{
    return pages_->currentIndex();
}

void TfmRules::bnHoyleClick()
{
    SetControls(HoyleRules());
}

void TfmRules::bnOKClick()
{
    SaveRuleOptions(settings_, options());
    accept();
}

void TfmRules::rgGoOutClick()
{
    ckRequired->setText(goOutItems_->checkedId() == 1
                            ? QStringLiteral("At least two Canastas required for positive score")
                            : QStringLiteral("At least one Canasta required for positive score"));
}

void TfmRules::ckInitFreezeClick()
{
    if (!gameInProgress_)
        ckInitBlock->setEnabled(ckInitFreeze->isChecked());
}

void TfmRules::ckNaturalPairClick()
{
    if (!gameInProgress_)
        ckAddExisting->setEnabled(ckNaturalPair->isChecked());
}

}  // namespace meldora
