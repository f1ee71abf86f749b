// The "Rule Differences" window: lists the rule options in which this copy and the opponent's
// differ, sorted by the rule's name, and offers to adopt the opponent's rules. Not modal, on top
// of the other windows, of a fixed size, without system buttons.
//
// The main window owns one instance (made hidden when the opponent identifies itself, deleted
// when the connection ends). After each comparison of the rules it calls showDifferences() with
// the rows its comparison found: rows show the window, no rows hide it. "Hide" only hides (the
// rows stay). "Use Opponent's Rules" emits useOpponentRulesClicked() and hides the window; the
// main window adopts the rules and sends them.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QTreeWidget;

namespace meldora {

// One rule in which the two copies differ, with both settings as shown ("Yes", "One", ...).
struct RuleDifference {
    QString rule;
    QString yourSetting;
    QString opponentSetting;
};

class RuleDifferencesWindow : public QDialog {
    Q_OBJECT

public:
    explicit RuleDifferencesWindow(QWidget* parent = nullptr);

    // Replaces the list with these rows and shows the window; without rows the window hides.
    void showDifferences(const std::vector<RuleDifference>& rows);
    // The rows as listed, in the list's order.
    std::vector<RuleDifference> differences() const;

signals:
    void useOpponentRulesClicked();

protected:
    // Escape and a close asked for by the system hide the window like "Hide".
    void closeEvent(QCloseEvent* event) override;

private:
    void fitColumns();

    QTreeWidget* list_;
};

}  // namespace meldora
