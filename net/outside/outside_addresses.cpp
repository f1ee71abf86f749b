#include "net/outside/outside_addresses.h"

#include <QDesktopServices>
#include <QUrl>

namespace meldora {

namespace {

QString fromEnvironment(const char* variable, const char* published)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QString::fromLatin1(published) : value;
}

}  // namespace

OutsideAddresses outsideAddresses()
{
    return {fromEnvironment("MELDORA_HOME_PAGE_URL", "https://www.meldora.org/"),
            fromEnvironment("MELDORA_PLAYER_LIST_URL", "https://www.meldora.org/players.html"),
            fromEnvironment("MELDORA_VERSION_URL", "https://www.meldora.org/version.txt"),
            fromEnvironment("MELDORA_DOWNLOAD_URL", "https://www.meldora.org/download.html"),
            fromEnvironment("MELDORA_LISTING_MAIL", "playerlist@meldora.org")};
}

void openHomePage() { QDesktopServices::openUrl(QUrl(outsideAddresses().homePage)); }

}  // namespace meldora
