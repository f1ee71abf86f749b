// The Rules dialog on the offscreen platform: what it shows, what it lets the player
// change and what OK stores; and the main window applying it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "table/main_window.h"
#include "table/rules_dialog.h"

namespace meldora {
namespace {

const char* const kCheckBoxes[] = {"ckAddTop",        "ckTopCount", "ckInitFreeze",     "ckInitBlock",
                                   "ckNaturalPair",   "ckAddExisting", "ckDrawExtra",   "ckFreezeDiscard",
                                   "ckRequired",      "ckBonus",    "ckwildcardallowed"};

class RulesDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }

    template <typename T>
    static T* Find(const QWidget& dialog, const char* name)
    {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            ADD_FAILURE() << "no control " << name;
        return widget;
    }
    static QCheckBox* Check(const QWidget& d, const char* name) { return Find<QCheckBox>(d, name); }
    static QRadioButton* Item(const QWidget& d, const char* group, int index)
    {
        return Find<QGroupBox>(d, group)->findChildren<QRadioButton*>().at(index);
    }

    test::RecordingSettings settings;
};

TEST_F(RulesDialogTest, NoSettingsShowsTheDefaultsReadyToEdit)
{
    RulesDialog dialog(LoadRuleOptions(settings), false, 0, settings);
    EXPECT_TRUE(Item(dialog, "rgGoOut", 0)->isChecked());
    EXPECT_TRUE(Item(dialog, "rgDrawn", 0)->isChecked());
    for (const char* name : {"ckInitFreeze", "ckInitBlock", "ckNaturalPair", "ckAddTop", "ckTopCount",
                             "ckDrawExtra", "ckwildcardallowed"})
        EXPECT_TRUE(Check(dialog, name)->isChecked()) << name;
    for (const char* name : {"ckRequired", "ckAddExisting", "ckFreezeDiscard", "ckBonus"})
        EXPECT_FALSE(Check(dialog, name)->isChecked()) << name;
    EXPECT_EQ(dialog.options(), RuleOptions{});

    EXPECT_TRUE(Find<QLabel>(dialog, "lbWarning")->isHidden());
    for (const char* name : kCheckBoxes)
        EXPECT_TRUE(Check(dialog, name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QPushButton>(dialog, "bnHoyle")->isEnabled());
    EXPECT_EQ(Check(dialog, "ckRequired")->text(), "At least one Canasta required for positive score");
}

TEST_F(RulesDialogTest, HoyleThenCancelStoresNothing)
{
    RuleOptions mine;
    mine.NumberOfCards = 1;
    mine.NaturalPair = true;
    mine.AddExistingMeld = true;
    mine.ThreeBlock = true;
    SaveRuleOptions(settings, mine);
    const auto stored = settings.Values();
    settings.Written.clear();

    RulesDialog dialog(mine, false, 0, settings);
    Find<QPushButton>(dialog, "bnHoyle")->click();
    EXPECT_EQ(dialog.options(), HoyleRules());
    EXPECT_EQ(Check(dialog, "ckRequired")->text(), "At least two Canastas required for positive score");
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    EXPECT_TRUE(Check(dialog, "ckInitBlock")->isEnabled());

    Find<QPushButton>(dialog, "bnCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(settings.Written.empty());
    EXPECT_EQ(settings.Values(), stored);
}

TEST_F(RulesDialogTest, DuringAGameNothingChangesAndOkWritesTheSameValuesInOrder)
{
    RuleOptions current = HoyleRules();
    current.BonusCounts = true;
    RulesDialog dialog(current, true, 0, settings);

    EXPECT_FALSE(Find<QLabel>(dialog, "lbWarning")->isHidden());
    for (const char* name : kCheckBoxes)
        EXPECT_FALSE(Check(dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QGroupBox>(dialog, "rgGoOut")->isEnabled());
    EXPECT_FALSE(Find<QGroupBox>(dialog, "rgDrawn")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(dialog, "bnHoyle")->isEnabled());

    Check(dialog, "ckBonus")->click();
    Item(dialog, "rgDrawn", 0)->click();
    Find<QPushButton>(dialog, "bnHoyle")->click();
    Find<QPushButton>(dialog, "bnOK")->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.options(), current);
    EXPECT_EQ(settings.Written, std::vector<std::string>(RuleOptionKeys.begin(), RuleOptionKeys.end()));
    EXPECT_EQ(LoadRuleOptions(settings), current);
}

TEST_F(RulesDialogTest, CaptionAndDependentControlsFollowTheirParents)
{
    RuleOptions current;
    current.NumberOfCanastas = 2;
    current.InitialBlock = false;
    current.NaturalPair = false;
    RulesDialog dialog(current, false, 0, settings);

    QCheckBox* required = Check(dialog, "ckRequired");
    EXPECT_EQ(required->text(), "At least two Canastas required for positive score");
    Item(dialog, "rgGoOut", 0)->click();
    EXPECT_EQ(required->text(), "At least one Canasta required for positive score");
    Item(dialog, "rgGoOut", 1)->click();
    EXPECT_EQ(required->text(), "At least two Canastas required for positive score");
    // The longest caption fits the fixed dialog without being cut off.
    dialog.layout()->invalidate();
    EXPECT_LE(dialog.layout()->totalMinimumSize().width(), 309);

    EXPECT_FALSE(Check(dialog, "ckInitBlock")->isEnabled());
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckInitFreeze")->click();
    EXPECT_TRUE(Check(dialog, "ckInitBlock")->isEnabled());
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckNaturalPair")->click();
    EXPECT_TRUE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckInitFreeze")->click();
    EXPECT_FALSE(Check(dialog, "ckInitBlock")->isEnabled());

    Find<QPushButton>(dialog, "bnOK")->click();
    RuleOptions expected = current;
    expected.NumberOfCanastas = 2;
    expected.NaturalPair = true;
    EXPECT_EQ(LoadRuleOptions(settings), expected);
}

TEST_F(RulesDialogTest, OpensOnTheRememberedPage)
{
    RulesDialog dialog(RuleOptions{}, false, 2, settings);
    EXPECT_EQ(dialog.findChild<QTabWidget*>()->currentIndex(), 2);
    RulesDialog stray(RuleOptions{}, false, 7, settings);
    EXPECT_EQ(stray.activePage(), 0);
}

// Drives the modal dialog the main window opens.
void WhenRulesOpen(std::function<void(RulesDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<RulesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

TEST_F(RulesDialogTest, MainWindowAppliesOkAndIgnoresCancel)
{
    RuleOptions start;
    start.InitialBlock = false;
    SaveRuleOptions(settings, start);
    MainWindow window(settings);
    EXPECT_EQ(window.game().Rules, start);
    window.game().Turn.DiscardFrozen = false;

    WhenRulesOpen([](RulesDialog& d) {
        d.findChild<QPushButton*>("bnHoyle")->click();
        d.findChild<QTabWidget*>()->setCurrentIndex(1);
        d.findChild<QPushButton*>("bnCancel")->click();
    });
    window.showRulesDialog();
    EXPECT_EQ(window.game().Rules, start);
    EXPECT_EQ(LoadRuleOptions(settings), start);
    EXPECT_FALSE(window.game().Turn.DiscardFrozen);
    EXPECT_EQ(window.rulesPage, 1);

    WhenRulesOpen([](RulesDialog& d) {
        EXPECT_EQ(d.activePage(), 1);
        d.findChild<QPushButton*>("bnHoyle")->click();
        d.findChild<QPushButton*>("bnOK")->click();
    });
    window.showRulesDialog();
    EXPECT_EQ(window.game().Rules, HoyleRules());
    EXPECT_EQ(LoadRuleOptions(settings), HoyleRules());
    EXPECT_TRUE(window.game().Turn.DiscardFrozen);
}

}  // namespace
}  // namespace meldora
