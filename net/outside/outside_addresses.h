// The addresses outside the program that it opens, fetches or mails to. Each can be replaced
// through an environment variable, so that tests point them at servers of their own.
#pragma once

#include <QString>

namespace meldora {

struct OutsideAddresses {
    QString homePage;            // MELDORA_HOME_PAGE_URL
    QString playerListPage;      // MELDORA_PLAYER_LIST_URL
    QString versionFile;         // MELDORA_VERSION_URL: holds the latest version as plain text
    QString downloadPage;        // MELDORA_DOWNLOAD_URL
    QString listingMailAddress;  // MELDORA_LISTING_MAIL: receives the player-list requests
};

// The published addresses, each replaced by its environment variable when that is set.
OutsideAddresses outsideAddresses();

// Opens the home page with the desktop's handler for web addresses.
void openHomePage();

}  // namespace meldora
