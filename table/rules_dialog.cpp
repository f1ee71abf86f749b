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

QCheckBox* addCheckBox(QVBoxLayout* layout, const char* name, const QString& caption, bool indented = false)
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
QGroupBox* addRadioGroup(QVBoxLayout* layout, const char* name, const QString& caption, const QString& item0,
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
QVBoxLayout* addPage(QTabWidget* pages, const QString& pageCaption, const QString& groupCaption)
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

RulesDialog::RulesDialog(const RuleOptions& current, bool gameInProgress, int rulesPage, SettingsAccess& settings,
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

    QVBoxLayout* discard = addPage(pages_, QStringLiteral("Discard Pile"), QStringLiteral("Discard Pile options"));
    addTopCheck_ = addCheckBox(discard, "ckAddTop", QStringLiteral("&Add top card to Canasta"));
    topCountCheck_ = addCheckBox(discard, "ckTopCount", QStringLiteral("&Top card counts for initial meld"));
    initialFreezeCheck_ = addCheckBox(discard, "ckInitFreeze", QStringLiteral("&Initially frozen"));
    initialBlockCheck_ =
        addCheckBox(discard, "ckInitBlock", QStringLiteral("&Separately frozen for each player"), true);
    naturalPairCheck_ = addCheckBox(discard, "ckNaturalPair", QStringLiteral("&Natural pair required"));
    addExistingCheck_ =
        addCheckBox(discard, "ckAddExisting", QStringLiteral("Also when adding to existing meld"), true);

    QVBoxLayout* redThrees = addPage(pages_, QStringLiteral("Red Threes"), QStringLiteral("Red Three options"));
    drawExtraCheck_ = addCheckBox(redThrees, "ckDrawExtra", QStringLiteral("&Draw extra card"));
    freezeDiscardCheck_ = addCheckBox(redThrees, "ckFreezeDiscard", QStringLiteral("&Freeze discard pile"));

    QVBoxLayout* canastas = addPage(pages_, QStringLiteral("Canastas"), QStringLiteral("Canasta options"));
    canastaRequiredCheck_ =
        addCheckBox(canastas, "ckRequired", QStringLiteral("&Canasta(s) required for positive score"));
    bonusCheck_ = addCheckBox(canastas, "ckBonus", QStringLiteral("Canasta &bonus counts for initial meld"));
    wildcardCanastaCheck_ = addCheckBox(canastas, "ckwildcardallowed", QStringLiteral("Wildcard Canasta is allowed"));
    goOutGroup_ = addRadioGroup(canastas, "rgGoOut", QStringLiteral("&Number of Canastas needed to go out"),
                                QStringLiteral("&One"), QStringLiteral("&Two"), &goOutItems_);

    QVBoxLayout* other = addPage(pages_, QStringLiteral("Other"), QStringLiteral("Other options"));
    drawnGroup_ = addRadioGroup(other, "rgDrawn", QStringLiteral("Number of &Cards drawn each turn"),
                                QStringLiteral("On&e"), QStringLiteral("T&wo"), &drawnItems_);

    warningLabel_ =
        new QLabel(QStringLiteral("The rules cannot be changed now, because a game is in progress. "
                                  "Press OK and then F2 to start a new game. The current game will be "
                                  "aborted."));
    warningLabel_->setObjectName(QStringLiteral("lbWarning"));
    warningLabel_->setWordWrap(true);
    QPalette warningColours = warningLabel_->palette();
    warningColours.setColor(QPalette::WindowText, Qt::red);
    warningLabel_->setPalette(warningColours);
    // The pages keep their size whether or not the warning shows.
    QSizePolicy warningPolicy = warningLabel_->sizePolicy();
    warningPolicy.setRetainSizeWhenHidden(true);
    warningLabel_->setSizePolicy(warningPolicy);
    layout->addWidget(warningLabel_);

    auto* buttons = new QHBoxLayout;
    hoyleButton_ = new QPushButton(QStringLiteral("Hoyle Rules"));
    hoyleButton_->setObjectName(QStringLiteral("bnHoyle"));
    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setObjectName(QStringLiteral("bnOK"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"));
    cancelButton_->setObjectName(QStringLiteral("bnCancel"));
    buttons->addWidget(hoyleButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    fitFont();
    setControls(current);
    onGoOutChanged();
    if (rulesPage >= 0 && rulesPage < pages_->count())
        pages_->setCurrentIndex(rulesPage);

    const bool editable = !gameInProgress_;
    warningLabel_->setVisible(!editable);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        box->setEnabled(editable);
    goOutGroup_->setEnabled(editable);
    drawnGroup_->setEnabled(editable);
    hoyleButton_->setEnabled(editable);
    onInitialFreezeToggled();
    onNaturalPairToggled();

    // Presetting the controls by program (Hoyle Rules) keeps the dependent controls in step,
    // just as a click does.
    connect(initialFreezeCheck_, &QCheckBox::toggled, this, &RulesDialog::onInitialFreezeToggled);
    connect(naturalPairCheck_, &QCheckBox::toggled, this, &RulesDialog::onNaturalPairToggled);
    connect(goOutItems_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            onGoOutChanged();
    });
    connect(hoyleButton_, &QPushButton::clicked, this, &RulesDialog::setHoyleRules);
    connect(okButton_, &QPushButton::clicked, this, &RulesDialog::saveAndAccept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The dialog keeps its size whatever the desktop font, so the font is made smaller until the
// longest captions and all four page tabs fit, down to a size that is still readable.
void RulesDialog::fitFont()
{
    canastaRequiredCheck_->setText(QStringLiteral("At least two Canastas required for positive score"));
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

void RulesDialog::setControls(const RuleOptions& o)
{
    addTopCheck_->setChecked(o.AddToCanasta);
    topCountCheck_->setChecked(o.TopCardCounts);
    initialFreezeCheck_->setChecked(o.InitialBlock);
    initialBlockCheck_->setChecked(o.InitialBlockForBoth);
    naturalPairCheck_->setChecked(o.NaturalPair);
    addExistingCheck_->setChecked(o.AddExistingMeld);
    drawExtraCheck_->setChecked(o.DrawExtra);
    freezeDiscardCheck_->setChecked(o.ThreeBlock);
    canastaRequiredCheck_->setChecked(o.CanastaRequired);
    bonusCheck_->setChecked(o.BonusCounts);
    wildcardCanastaCheck_->setChecked(o.WildcardCanasta);
    goOutItems_->button(o.NumberOfCanastas == 2 ? 1 : 0)->setChecked(true);
    drawnItems_->button(o.NumberOfCards == 2 ? 1 : 0)->setChecked(true);
}

RuleOptions RulesDialog::options() const
{
    RuleOptions o;
    o.CanastaRequired = canastaRequiredCheck_->isChecked();
    o.NumberOfCanastas = goOutItems_->checkedId() + 1;
    o.NumberOfCards = drawnItems_->checkedId() + 1;
    o.AddToCanasta = addTopCheck_->isChecked();
    o.TopCardCounts = topCountCheck_->isChecked();
    o.InitialBlock = initialFreezeCheck_->isChecked();
    o.NaturalPair = naturalPairCheck_->isChecked();
    o.AddExistingMeld = addExistingCheck_->isChecked();
    o.DrawExtra = drawExtraCheck_->isChecked();
    o.ThreeBlock = freezeDiscardCheck_->isChecked();
    o.BonusCounts = bonusCheck_->isChecked();
    o.InitialBlockForBoth = initialBlockCheck_->isChecked();
    o.WildcardCanasta = wildcardCanastaCheck_->isChecked();
    return o;
}

int RulesDialog::activePage() const
{
    return pages_->currentIndex();
}

void RulesDialog::setHoyleRules()
{
    setControls(HoyleRules());
}

void RulesDialog::saveAndAccept()
{
    SaveRuleOptions(settings_, options());
    accept();
}

void RulesDialog::onGoOutChanged()
{
    canastaRequiredCheck_->setText(goOutItems_->checkedId() == 1
                                       ? QStringLiteral("At least two Canastas required for positive score")
                                       : QStringLiteral("At least one Canasta required for positive score"));
}

void RulesDialog::onInitialFreezeToggled()
{
    if (!gameInProgress_)
        initialBlockCheck_->setEnabled(initialFreezeCheck_->isChecked());
}

void RulesDialog::onNaturalPairToggled()
{
    if (!gameInProgress_)
        addExistingCheck_->setEnabled(naturalPairCheck_->isChecked());
}

}  // namespace meldora
