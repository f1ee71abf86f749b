// The Rules dialog on the offscreen platform: what it lets the player change and
// what OK stores; and the main window applying it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/widgets.h"
#include "table/main_window.h"
#include "table/rules_dialog.h"

namespace meldora {
namespace {

using test::Child;

class RulesDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }

    static QCheckBox* Check(const QWidget& d, const char* name) { return Child<QCheckBox>(d, name); }
    static QRadioButton* Item(const QWidget& d, const char* group, int index)
    {
        return Child<QGroupBox>(d, group)->findChildren<QRadioButton*>().at(index);
    }
    static void Click(const QWidget& d, const char* button) { Child<QPushButton>(d, button)->click(); }

    test::RecordingSettings settings;
};

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

    RulesDialog dialog(mine, false, 7, settings);
    EXPECT_EQ(dialog.activePage(), 0) << "a stored page that does not exist opens the first";
    Click(dialog, "bnHoyle");
    EXPECT_EQ(dialog.options(), HoyleRules());
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    EXPECT_TRUE(Check(dialog, "ckInitBlock")->isEnabled());

    Click(dialog, "bnCancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(settings.Written.empty());
    EXPECT_EQ(settings.Values(), stored);
}

TEST_F(RulesDialogTest, DuringAGameNothingChangesAndOkWritesTheSameValuesInOrder)
{
    RuleOptions current = HoyleRules();
    current.BonusCounts = true;
    RulesDialog dialog(current, true, 0, settings);

    EXPECT_FALSE(Child<QLabel>(dialog, "lbWarning")->isHidden());
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_FALSE(Child<QGroupBox>(dialog, "rgGoOut")->isEnabled());
    EXPECT_FALSE(Child<QGroupBox>(dialog, "rgDrawn")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "bnHoyle")->isEnabled());

    Check(dialog, "ckBonus")->click();
    Item(dialog, "rgDrawn", 0)->click();
    Click(dialog, "bnHoyle");
    Click(dialog, "bnOK");

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
    const QString twoCanastas = required->text();
    Item(dialog, "rgGoOut", 0)->click();
    EXPECT_NE(required->text(), twoCanastas);
    Item(dialog, "rgGoOut", 1)->click();
    EXPECT_EQ(required->text(), twoCanastas);

    EXPECT_FALSE(Check(dialog, "ckInitBlock")->isEnabled());
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckInitFreeze")->click();
    EXPECT_TRUE(Check(dialog, "ckInitBlock")->isEnabled());
    EXPECT_FALSE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckNaturalPair")->click();
    EXPECT_TRUE(Check(dialog, "ckAddExisting")->isEnabled());
    Check(dialog, "ckInitFreeze")->click();
    EXPECT_FALSE(Check(dialog, "ckInitBlock")->isEnabled());

    Click(dialog, "bnOK");
    RuleOptions expected = current;
    expected.NaturalPair = true;
    EXPECT_EQ(LoadRuleOptions(settings), expected);
}

TEST_F(RulesDialogTest, MainWindowAppliesOkAndIgnoresCancelAndRemembersThePage)
{
    RuleOptions start;
    start.InitialBlock = false;
    SaveRuleOptions(settings, start);
    MainWindow window(settings);
    EXPECT_EQ(window.game().Rules, start);
    window.game().Turn.DiscardFrozen = false;

    test::WhenModalOpens([](QWidget& d) {
        Click(d, "bnHoyle");
        d.findChild<QTabWidget*>()->setCurrentIndex(1);
        Click(d, "bnCancel");
    });
    window.showRulesDialog();
    EXPECT_EQ(window.game().Rules, start);
    EXPECT_EQ(LoadRuleOptions(settings), start);
    EXPECT_FALSE(window.game().Turn.DiscardFrozen);

    test::WhenModalOpens([](QWidget& d) {
        EXPECT_EQ(d.findChild<QTabWidget*>()->currentIndex(), 1);
        Click(d, "bnHoyle");
        Click(d, "bnOK");
    });
    window.showRulesDialog();
    EXPECT_EQ(window.game().Rules, HoyleRules());
    EXPECT_EQ(LoadRuleOptions(settings), HoyleRules());
    EXPECT_TRUE(window.game().Turn.DiscardFrozen);
}

}  // namespace
}  // namespace meldora
