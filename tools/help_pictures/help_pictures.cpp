// Renders the pictures of the help pages from real tables: the program's own main
// window deals, the player's clicks go through the table as a mouse gives them, and
// the window is grabbed, cropped and labelled. Run as: meldora-help-pictures <folder>;
// it writes table.png, the example turn and the canastas there, and fails when a
// table does not come out as the help text tells it.
#include "help_pictures.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "core/file_locations.h"
#include "settings/settings_store.h"
#include "table/status_panels.h"
#include "table/table_view.h"

namespace meldora::help_pictures {

namespace {

constexpr std::uint32_t TableSeed = 777;
constexpr int LabelMargin = 4;

// No flights, no pauses, no turn window: the pictures show where the cards come to rest.
void writeQuickSettings()
{
    SettingsStore store(SettingsDatabasePath().string());
    store.SetRoot(RootKey::LocalMachine);
    store.SetKey(MeldoraBaseKey);
    store.WriteValue("Settings\\Card Movement", false);
    store.WriteValue("Settings\\Delay", 0);
    store.WriteValue("Settings\\Show Turns", false);
    store.WriteValue("Settings\\AutoSave", false);
}

}  // namespace

void PictureWindow::RunComputerTurn()
{
    if (beforeComputerTurn) {
        const auto takePicture = std::move(beforeComputerTurn);
        beforeComputerTurn = nullptr;
        takePicture();
    }
    MainWindow::RunComputerTurn();
}

QImage grabWindow(PictureWindow& window)
{
    QApplication::processEvents();
    return window.grab().toImage();
}

QRect onWindow(PictureWindow& window, const QRect& tableRect)
{
    return tableRect.translated(window.table().mapTo(&window, QPoint(0, 0)));
}

void useLabelFont(QPainter& painter)
{
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
}

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

void clickCard(PictureWindow& window, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
               const CardRecord& card)
{
    window.table().tableMouseUp(button, modifiers, card.X + StackStep / 2, card.Y + StackStep / 2);
    QApplication::processEvents();
}

int handCardOfRank(const CanastaGame& game, int rank)
{
    for (int i = 0; i < game.Human().Hand.Count; ++i)
        if (game.Human().Hand.Cards[i].Rank == rank)
            return i;
    return -1;
}

void dealForPlayer(PictureWindow& window, std::uint32_t seed)
{
    window.game().Seed(seed);
    window.game().Match.DrawFirst = true;
    window.newGame();
    QApplication::processEvents();
}

bool savePicture(const QImage& picture, const QDir& folder, const QString& name)
{
    const QString file = folder.filePath(name);
    if (picture.save(file))
        return true;
    std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
    return false;
}

bool fail(const QString& why)
{
    std::fprintf(stderr, "%s\n", why.toLocal8Bit().constData());
    return false;
}

// The whole window after the computer's first turn, its parts named.
bool renderTablePicture(PictureWindow& window, const QDir& folder)
{
    window.game().Match.DrawFirst = false;
    window.game().Seed(TableSeed);
    window.onSplashTimer();

    QImage picture = grabWindow(window);
    const CanastaGame& game = window.game();
    const TableLayout& l = game.Layout;
    const QPoint table = window.table().mapTo(&window, QPoint(0, 0));
    const int width = window.table().width();
    QPainter painter(&picture);
    useLabelFont(painter);
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
    return savePicture(picture, folder, QStringLiteral("table.png"));
}

}  // namespace meldora::help_pictures

int main(int argc, char** argv)
{
    using namespace meldora::help_pictures;
    if (argc != 2) {
        std::fprintf(stderr, "usage: meldora-help-pictures <folder>\n");
        return 2;
    }
    QTemporaryDir home;
    setenv("MELDORA_HOME", QDir::toNativeSeparators(home.path()).toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    writeQuickSettings();

    PictureWindow window({}, 1280);
    window.show();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool written = renderTablePicture(window, folder) && renderExampleTurn(window, folder) &&
                         renderCanastaPictures(window, folder);
    return written ? 0 : 1;
}
