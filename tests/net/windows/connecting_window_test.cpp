// The connecting window: the progress wraps past its end and Cancel signals and goes.
#include "net/windows/connecting_window.h"

#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "support/gui_app.h"

using namespace meldora;

namespace {

TEST(ConnectingWindow, ProgressStartsAgainPastTheEndAndCancelSignalsAndReleasesTheWindow)
{
    test::EnsureGuiApplication();
    QPointer<ConnectingWindow> window = new ConnectingWindow(QStringLiteral("10.0.0.9"));
    EXPECT_TRUE(window->progressRunning());
    for (int tick = 0; tick < 19; ++tick)
        window->advanceProgress();
    EXPECT_EQ(window->progressBar()->value(), 95);
    window->advanceProgress();
    EXPECT_EQ(window->progressBar()->value(), 0);
    window->stopProgress();
    EXPECT_FALSE(window->progressRunning());

    QSignalSpy cancelled(window.data(), &ConnectingWindow::cancelled);
    window->show();
    window->findChild<QPushButton*>(QStringLiteral("bnCancel"))->click();
    EXPECT_EQ(cancelled.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 2000);
}

}  // namespace
