// The upgrade check: the program's own version beside the latest one published on the web
// site, with the way to the download page when they differ. The latest version is fetched by
// a worker thread, so the window stays responsive; the busy cursor shows meanwhile.
#pragma once

#include <QDialog>

#include "net/outside/http_fetch.h"
#include "net/outside/outside_addresses.h"

class QLabel;
class QPushButton;

namespace meldora {

class BackgroundJob;

// The version the program was built as.
QString programVersion();

// What the version file's answer says: its text without surrounding blanks, or "unknown"
// when there was no answer, it was empty, an HTML page, or not a single line of text.
QString latestVersionFrom(const std::optional<std::string>& body);

class UpgradeWindow : public QDialog {
    Q_OBJECT
public:
    explicit UpgradeWindow(QWidget* parent = nullptr, const QString& versionUrl = outsideAddresses().versionFile,
                           FetchLimits limits = {});

    bool isChecking() const;

signals:
    void checkFinished();

private:
    void showLatest(const QString& latest);
    void goToDownloadPage();

    QLabel* currentLine_;
    QLabel* latestLine_;
    QLabel* laterVersionLine_;
    QPushButton* downloadButton_;
    BackgroundJob* fetch_;
};

}  // namespace meldora
