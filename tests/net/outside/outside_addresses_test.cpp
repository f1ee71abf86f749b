// The outside addresses follow their environment variables, and the program hands them to
// the desktop's URL handler (caught here by a handler of the test's own).
#include "net/outside/outside_addresses.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>

#include "net/outside/upgrade_window.h"
#include "support/gui_app.h"
#include "support/local_http_server.h"

using namespace meldora;

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "catchUrl"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;

public slots:
    void catchUrl(const QUrl& url) { opened.append(url); }
};

class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : name_(name) { qputenv(name, value); }
    ~ScopedVariable() { qunsetenv(name_); }

private:
    const char* name_;
};

}  // namespace

TEST(OutsideAddressesTest, HomePageOpensWithTheDesktopHandler)
{
    test::EnsureGuiApplication();
    const ScopedVariable home("MELDORA_HOME_PAGE_URL", "http://127.0.0.1:9/home.html");
    UrlCatcher catcher;
    openHomePage();
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front(), QUrl(QStringLiteral("http://127.0.0.1:9/home.html")));
}

TEST(OutsideAddressesTest, DownloadButtonOpensTheDownloadPageAndClosesTheWindow)
{
    test::EnsureGuiApplication();
    const test::LocalHttpServer server(test::LocalHttpServer::Answer("9.2"));
    const ScopedVariable version("MELDORA_VERSION_URL", QByteArray::fromStdString(server.Url()));
    const ScopedVariable download("MELDORA_DOWNLOAD_URL", "http://127.0.0.1:9/download.html");
    UrlCatcher catcher;
    UpgradeWindow window;
    QSignalSpy finished(&window, &UpgradeWindow::checkFinished);
    ASSERT_TRUE(finished.wait(10000));
    QSignalSpy accepted(&window, &QDialog::accepted);
    window.findChild<QPushButton*>(QStringLiteral("btDownload"))->click();
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front(), QUrl(QStringLiteral("http://127.0.0.1:9/download.html")));
    EXPECT_EQ(accepted.count(), 1);
}

#include "outside_addresses_test.moc"
