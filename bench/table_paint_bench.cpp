// How long the table takes to paint a frame at 1280 x 1024, and how long one card
// flight takes at the default speed. Prints the times; judges nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "core/game.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"
#include "table/card_backs.h"
#include "table/card_images.h"
#include "table/table_view.h"

namespace {

constexpr int SizeIndex = 3;
constexpr int Frames = 200;

class BenchHost : public meldora::test::RecordingHost {
public:
    meldora::TableView* View = nullptr;
    void RepaintTable() override
    {
        if (View)
            View->repaintTable();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace meldora;

    BenchHost host;
    test::MemorySettings settings;
    CanastaGame game(host, &settings);
    const SizeClass& size = SizeClasses[SizeIndex];
    const int clientWidth = size.TableWidth - 8;
    game.SetTableSize(SizeIndex, clientWidth);
    game.Seed(2024);
    game.Match.DrawFirst = true;
    game.DealHand(false);

    CardImages images;
    images.prepare(SizeIndex, 1.0, readCardBacks(settings));
    TableView view(game, images, settings);
    host.View = &view;
    view.resize(clientWidth, size.TableHeight - 62);
    view.show();
    app.processEvents();

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Frames; ++i)
        view.repaint();
    const double frameMs = clock.nsecsElapsed() / 1e6 / Frames;
    std::printf("paint, full table %dx%d: %.3f ms per frame (%d frames)\n", size.TableWidth, size.TableHeight,
                frameMs, Frames);

    // From the stock to the rightmost card of the hand: about the longest flight the
    // player's draw makes.
    CardRecord card = game.Human().Hand.Cards[0];
    for (int i = 1; i < game.Human().Hand.Count; ++i)
        if (game.Human().Hand.Cards[i].X > card.X)
            card = game.Human().Hand.Cards[i];
    const int fromX = LeftMargin;
    const int fromY = game.Layout.StockTop;
    const int steps = TableView::flightSteps(card.X - fromX, card.Y - fromY, 10);
    game.Turn.ComputerTurn = true;  // no highlight pause in the measurement
    clock.restart();
    view.moveCard(card, fromX, fromY, card.X, card.Y);
    const double flightMs = clock.nsecsElapsed() / 1e6;
    std::printf("card flight at default speed, (%d,%d) to (%d,%d): %d steps, %.3f ms\n", fromX, fromY, card.X,
                card.Y, steps, flightMs);
    return 0;
}
