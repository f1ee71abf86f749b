#include "net/windows/rule_differences_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace meldora {

namespace {

QLabel* wrappedLine(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

RuleDifferencesWindow::RuleDifferencesWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fmRuleDifferences"));
    setWindowTitle(QStringLiteral("Rule Differences"));
    setModal(false);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lvDifferences"));
    list_->setRootIsDecorated(false);
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Rule"), QStringLiteral("Your Setting"), QStringLiteral("Opponent's Setting")});
    list_->header()->setSectionsClickable(false);
    list_->header()->setStretchLastSection(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFixedHeight(140);
    fitColumns();

    auto* hideButton = new QPushButton(QStringLiteral("Hide"), this);
    hideButton->setObjectName(QStringLiteral("bnHide"));
    hideButton->setDefault(true);
    auto* adoptButton = new QPushButton(QStringLiteral("Use Opponent's Rules"), this);
    adoptButton->setObjectName(QStringLiteral("bnUseOpponentRules"));
    adoptButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(hideButton);
    buttons->addWidget(adoptButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLine(QStringLiteral("The following differences in rules exists between you and your opponent. "
                                                 "Resolve these before starting to play by changing them in the Options | "
                                                 "Rules dialog."),
                                  this));
    layout->addWidget(list_, 0, Qt::AlignHCenter);
    layout->addWidget(wrappedLine(QStringLiteral("If you agree to use your opponent's rules, press Use Opponent's Rules."), this));
    layout->addWidget(
        wrappedLine(QStringLiteral("If your opponent agrees to use your rules, (s)he should press Use Opponent's Rules."), this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(hideButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(adoptButton, &QPushButton::clicked, this, [this] {
        emit useOpponentRulesClicked();
        hide();
    });
}

void RuleDifferencesWindow::showDifferences(const std::vector<RuleDifference>& rows)
{
    list_->clear();
    for (const RuleDifference& row : rows)
        new QTreeWidgetItem(list_, {row.rule, row.yourSetting, row.opponentSetting});
    list_->sortItems(0, Qt::AscendingOrder);
    fitColumns();
    if (rows.empty()) {
        hide();
        return;
    }
    show();
    raise();
}

void RuleDifferencesWindow::fitColumns()
{
    // The columns are 200, 70 and 105 pixels wide, wider where the system font needs more room
    // for a heading or a rule's name.
    static constexpr int leastWidths[] = {200, 70, 105};
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        list_->resizeColumnToContents(column);
        const int width = std::max(leastWidths[column], list_->columnWidth(column) + 8);
        list_->setColumnWidth(column, width);
        total += width;
    }
    list_->setFixedWidth(total + list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth());
}

std::vector<RuleDifference> RuleDifferencesWindow::differences() const
{
    std::vector<RuleDifference> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        rows.push_back({item->text(0), item->text(1), item->text(2)});
    }
    return rows;
}

void RuleDifferencesWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

}  // namespace meldora
