// A table on screen for view tests: a host that records like RecordingHost and
// hands the table's share to the view, as the main window does, and the game,
// card images and view wired to it.
#pragma once

#include <QApplication>
#include <QString>
#include <string>

#include "core/game.h"
#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"
#include "table/card_images.h"
#include "table/table_view.h"

namespace meldora::test {

class ViewHost : public RecordingHost {
public:
    TableView* View = nullptr;
    void MoveCard(const CardRecord& c, int fx, int fy, int tx, int ty) override
    {
        RecordingHost::MoveCard(c, fx, fy, tx, ty);
        View->moveCard(c, fx, fy, tx, ty);
    }
    void InvalidateTableRect(const TableRect& r) override { View->invalidateTableRect(r); }
    void RepaintTable() override { View->repaintTable(); }
    void PhaseChanged(TurnPhase phase) override
    {
        RecordingHost::PhaseChanged(phase);
        View->showPhaseHint(phase);
    }
    void ShowInputError(InputError e, const std::string& text) override
    {
        RecordingHost::ShowInputError(e, text);
        View->showInputError(static_cast<int>(e), QString::fromStdString(text));
    }
    void StockExhaustedChanged(bool e) override
    {
        RecordingHost::StockExhaustedChanged(e);
        View->setStockExhausted(e);
    }
};

// Mixed into a test fixture; the fixture lays out the table and shows the view.
struct ViewTable {
    ViewTable() { host.View = &view; }

    QApplication& app = EnsureGuiApplication();  // before any pixmap
    ViewHost host;
    MemorySettings settings;
    CanastaGame game{host, &settings};
    CardImages images;
    TableView view{game, images, settings};
};

}  // namespace meldora::test
