// Renders the pictures of the help pages from real tables: the program's own main
// window deals a hand, the computer plays its first turn, and the window is grabbed
// and labelled. Run as: meldora-help-pictures <folder>; it writes table.png there.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "core/file_locations.h"
#include "settings/settings_store.h"
#include "table/main_window.h"
#include "table/status_panels.h"
#include "table/table_view.h"

using namespace meldora;

namespace {

constexpr std::uint32_t DealSeed = 777;
constexpr int LabelMargin = 4;

void writeQuickSettings()
{
    SettingsStore store(SettingsDatabasePath().string());
    store.SetRoot(RootKey::LocalMachine);
    store.SetKey(MeldoraBaseKey);
    store.WriteValue("Settings\\Card Movement", false);
    store.WriteValue("Settings\\Delay", 0);
    store.WriteValue("Settings\\Show Turns", false);
}

// A frame around an area of the picture and its name in a box beside it.
void label(QPainter& painter, const QRect& area, const QString& name, const QPoint& at)
{
    painter.setPen(QPen(Qt::yellow, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    const QRect text = painter.fontMetrics().boundingRect(name).adjusted(-LabelMargin, -LabelMargin, LabelMargin,
                                                                           LabelMargin);
    const QRect box(at, text.size());
    painter.fillRect(box, Qt::yellow);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, name);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: meldora-help-pictures <folder>\n");
        return 2;
    }
    QTemporaryDir home;
    setenv("MELDORA_HOME", QDir::toNativeSeparators(home.path()).toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    writeQuickSettings();

    MainWindow window({}, 1024);
    window.show();
    window.game().Match.DrawFirst = false;
    window.game().Seed(DealSeed);
    window.onSplashTimer();
    QApplication::processEvents();

    QImage picture = window.grab().toImage();
    const CanastaGame& game = window.game();
    const TableLayout& l = game.Layout;
    const QPoint table = window.table().mapTo(&window, QPoint(0, 0));
    const int width = window.table().width();
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QRect stock(table + QPoint(LeftMargin, l.StockTop), QSize(l.CardWidth, l.CardHeight));
    const QRect pile(table + QPoint(LeftMargin, l.DiscardTop), QSize(l.CardWidth, l.CardHeight));
    label(painter, stock, QStringLiteral("Stock"), stock.topRight() + QPoint(6, 0));
    label(painter, pile, QStringLiteral("Discard pile"), pile.topRight() + QPoint(6, 20));
    const QRect computerMelds(table + QPoint(l.CardWidth + 12, l.ComputerHandTop + l.CardHeight + 4),
                              QSize(width - l.CardWidth - 16, l.MiddleLine - l.ComputerHandTop - l.CardHeight - 6));
    label(painter, computerMelds, QStringLiteral("The computer's melds"), computerMelds.topLeft() + QPoint(4, 4));
    const QRect computerHand(table + QPoint(2, l.ComputerHandTop - 2), QSize(width - 4, l.CardHeight + 4));
    label(painter, computerHand, QStringLiteral("The computer's hand"), computerHand.topRight() - QPoint(180, -4));
    const QRect yourMelds(table + QPoint(l.CardWidth + 12, l.MiddleLine + 3),
                          QSize(width - l.CardWidth - 16, l.HumanHandBase - l.MiddleLine - 8));
    label(painter, yourMelds, QStringLiteral("Your melds"), yourMelds.bottomLeft() - QPoint(-4, 28));
    const QRect yourHand(table + QPoint(2, l.HumanHandBase - 2),
                         QSize(width - 4, window.table().height() - l.HumanHandBase));
    label(painter, yourHand, QStringLiteral("Your hand"), yourHand.topRight() - QPoint(100, -4));
    const auto* numbers = window.findChild<StatusPanels*>();
    const QRect panels(numbers->mapTo(&window, QPoint(0, 0)), numbers->size());
    const QString numbersName = QStringLiteral("Your meld, the computer's meld, your score, its score");
    const int numbersWidth = painter.fontMetrics().horizontalAdvance(numbersName) + 2 * LabelMargin + 2;
    label(painter, panels.adjusted(-1, -1, 1, 1), numbersName, panels.topRight() - QPoint(numbersWidth, 26));
    painter.end();

    const QString file = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("table.png"));
    if (!picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
