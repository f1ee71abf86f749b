// The upgrade check against a web server of the test's own on 127.0.0.1.
#include "net/outside/upgrade_window.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "support/gui_app.h"
#include "support/local_http_server.h"

using namespace meldora;
using meldora::test::LocalHttpServer;
using namespace std::chrono_literals;

namespace {

struct Shown {
    QString latestLine;
    bool downloadEnabled;
    bool laterVersionShown;
};

Shown checkAgainst(const std::string& url)
{
    test::EnsureGuiApplication();
    UpgradeWindow window(nullptr, QString::fromStdString(url));
    QSignalSpy finished(&window, &UpgradeWindow::checkFinished);
    EXPECT_TRUE(finished.wait(10000));
    return {window.findChild<QLabel*>(QStringLiteral("lbLatestVersion"))->text(),
            window.findChild<QPushButton*>(QStringLiteral("btDownload"))->isEnabled(),
            window.findChild<QLabel*>(QStringLiteral("lbLaterVersion"))->isVisibleTo(&window)};
}

}  // namespace

TEST(UpgradeWindowTest, OnlyALaterVersionOffersTheDownload)
{
    const LocalHttpServer later(LocalHttpServer::Answer("9.2\r\n"));
    const Shown shownLater = checkAgainst(later.Url());
    EXPECT_EQ(shownLater.latestLine, QStringLiteral("The latest version is 9.2"));
    EXPECT_TRUE(shownLater.downloadEnabled);
    EXPECT_TRUE(shownLater.laterVersionShown);

    const LocalHttpServer same(LocalHttpServer::Answer(programVersion().toStdString() + "\n"));
    const Shown shownSame = checkAgainst(same.Url());
    EXPECT_FALSE(shownSame.downloadEnabled);
    EXPECT_FALSE(shownSame.laterVersionShown);
}

TEST(UpgradeWindowTest, NoServerErrorPagesEmptyAndOversizedAnswersAreUnknown)
{
    std::string closedUrl;
    {
        const LocalHttpServer closed(LocalHttpServer::Answer("9.2"));
        closedUrl = closed.Url();
    }
    EXPECT_EQ(checkAgainst(closedUrl).latestLine, QStringLiteral("The latest version is unknown"));

    const std::string answers[] = {
        LocalHttpServer::Answer("<html><body>Not Found</body></html>", "404 Not Found"),
        LocalHttpServer::Answer("<!DOCTYPE html><html></html>"),
        LocalHttpServer::Answer(""),
        LocalHttpServer::Answer(std::string(1500, '9')),
        "garbage that is not HTTP\r\n\r\n",
    };
    for (const std::string& answer : answers) {
        const LocalHttpServer server(answer);
        const Shown shown = checkAgainst(server.Url());
        EXPECT_EQ(shown.latestLine, QStringLiteral("The latest version is unknown")) << answer;
        EXPECT_FALSE(shown.downloadEnabled) << answer;
    }
}

TEST(UpgradeWindowTest, SilentServerGivesUnknownAfterTheTimeoutWithTheWindowResponsive)
{
    test::EnsureGuiApplication();
    const LocalHttpServer server(LocalHttpServer::Answer("9.2"), 5s);
    QElapsedTimer clock;
    clock.start();
    UpgradeWindow window(nullptr, QString::fromStdString(server.Url()), FetchLimits{400ms, 1024});
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_TRUE(window.isChecking());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    QSignalSpy finished(&window, &UpgradeWindow::checkFinished);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbLatestVersion"))->text(),
              QStringLiteral("The latest version is unknown"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(UpgradeWindowTest, ClosingDuringTheFetchCancelsItAndRestoresTheCursor)
{
    test::EnsureGuiApplication();
    const LocalHttpServer server(LocalHttpServer::Answer("9.2"), 5s);
    QElapsedTimer clock;
    clock.start();
    {
        UpgradeWindow window(nullptr, QString::fromStdString(server.Url()));
        QTest::qWait(100);
    }
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
