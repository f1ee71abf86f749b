#include "net/outside/upgrade_window.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "net/outside/background_job.h"

namespace meldora {

namespace {

const QString Unknown = QStringLiteral("unknown");

}  // namespace

QString programVersion() { return QStringLiteral(MELDORA_VERSION_TEXT); }

QString latestVersionFrom(const std::optional<std::string>& body)
{
    if (!body)
        return Unknown;
    const QString text = QString::fromUtf8(*body).trimmed();
    const bool oneLineOfText =
        std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.isEmpty() || text.startsWith(u'<') || !oneLineOfText)
        return Unknown;
    return text;
}

UpgradeWindow::UpgradeWindow(QWidget* parent, const QString& versionUrl, FetchLimits limits)
    : QDialog(parent), fetch_(new BackgroundJob(this))
{
    setObjectName(QStringLiteral("fmCheckUpgrade"));
    setWindowTitle(QStringLiteral("Meldora"));
    currentLine_ = new QLabel(QStringLiteral("You currently have version ") + programVersion(), this);
    currentLine_->setObjectName(QStringLiteral("lbCurrentVersion"));
    latestLine_ = new QLabel(this);
    latestLine_->setObjectName(QStringLiteral("lbLatestVersion"));
    laterVersionLine_ = new QLabel(QStringLiteral("There is a later version available."), this);
    laterVersionLine_->setObjectName(QStringLiteral("lbLaterVersion"));
    QFont bold = laterVersionLine_->font();
    bold.setBold(true);
    laterVersionLine_->setFont(bold);
    laterVersionLine_->setVisible(false);
    downloadButton_ = new QPushButton(QStringLiteral("Go to Download page"), this);
    downloadButton_->setObjectName(QStringLiteral("btDownload"));
    downloadButton_->setEnabled(false);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("btClose"));
    closeButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(downloadButton_);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(currentLine_);
    layout->addWidget(latestLine_);
    layout->addWidget(laterVersionLine_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(downloadButton_, &QPushButton::clicked, this, &UpgradeWindow::goToDownloadPage);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    initCurlOnce();
    auto answer = std::make_shared<std::optional<std::string>>();
    fetch_->start([url = versionUrl.toStdString(), limits,
                   answer](const std::atomic<bool>& cancel) { *answer = fetchText(url, limits, &cancel); },
                  [this, answer] { showLatest(latestVersionFrom(*answer)); });
}

bool UpgradeWindow::isChecking() const { return fetch_->isRunning(); }

void UpgradeWindow::showLatest(const QString& latest)
{
    latestLine_->setText(QStringLiteral("The latest version is ") + latest);
    const bool later = latest != Unknown && latest != programVersion();
    downloadButton_->setEnabled(later);
    laterVersionLine_->setVisible(later);
    emit checkFinished();
}

void UpgradeWindow::goToDownloadPage()
{
    QDesktopServices::openUrl(QUrl(outsideAddresses().downloadPage));
    accept();
}

}  // namespace meldora
