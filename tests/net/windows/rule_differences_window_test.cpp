// The Rule Differences window: rows sorted by rule, Hide keeping them, no rows hiding it.
#include "net/windows/rule_differences_window.h"

#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "support/gui_app.h"

using namespace meldora;

namespace {

class RuleDifferencesTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureGuiApplication(); }

    static QPushButton* button(RuleDifferencesWindow& w, const char* name)
    {
        return w.findChild<QPushButton*>(QLatin1String(name));
    }

    const std::vector<RuleDifference> rows{
        {QStringLiteral("Wildcard Canasta allowed"), QStringLiteral("Yes"), QStringLiteral("No")},
        {QStringLiteral("Number of Cards drawn each turn"), QStringLiteral("One"), QStringLiteral("Two")},
        {QStringLiteral("Draw extra card for Red Three"), QStringLiteral("No"), QStringLiteral("Yes")}};
};

TEST_F(RuleDifferencesTest, RowsAreSortedByRuleHideKeepsThemAndNoDifferencesEmptyTheList)
{
    RuleDifferencesWindow window;
    QSignalSpy adopt(&window, &RuleDifferencesWindow::useOpponentRulesClicked);
    window.showDifferences(rows);
    EXPECT_TRUE(window.isVisible());
    const auto listed = window.differences();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].rule, QStringLiteral("Draw extra card for Red Three"));
    EXPECT_EQ(listed[1].rule, QStringLiteral("Number of Cards drawn each turn"));
    EXPECT_EQ(listed[2].rule, QStringLiteral("Wildcard Canasta allowed"));

    button(window, "bnHide")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.differences().size(), 3u);

    window.showDifferences(rows);
    button(window, "bnUseOpponentRules")->click();
    EXPECT_EQ(adopt.size(), 1);
    EXPECT_FALSE(window.isVisible());

    window.showDifferences(rows);
    window.showDifferences({});
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.differences().empty());
}

}  // namespace
