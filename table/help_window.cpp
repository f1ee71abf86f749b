#include "table/help_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "core/file_locations.h"

namespace meldora {

QString helpFolder()
{
    return QDir(QString::fromStdString(AssetsDir().string())).filePath(QStringLiteral("help"));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("fmHelp"));
    setWindowTitle(QStringLiteral("Meldora Help"));
    resize(620, 520);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [&](const QString& caption, const char* name) {
        auto* button = new QToolButton(this);
        button->setText(caption);
        button->setObjectName(QLatin1String(name));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
        return button;
    };
    contentsButton_ = makeButton(QStringLiteral("&Contents"), "bnContents");
    backButton_ = makeButton(QStringLiteral("&Back"), "bnBack");
    forwardButton_ = makeButton(QStringLiteral("&Forward"), "bnForward");
    buttons->addStretch();

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setSearchPaths({helpFolder()});
    // Our pages link to each other; anything else (a web address) opens outside.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
            QDesktopServices::openUrl(url);
        } else if (url.scheme() == QLatin1String("meldora")) {
            bool ok = false;
            const int parameter = QUrlQuery(url).queryItemValue(QStringLiteral("page")).toInt(&ok);
            if (ok)
                emit optionsPageRequested(parameter);
        } else {
            browser_->setSource(url);
        }
    });

    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QWidget::setEnabled);
    connect(backButton_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contentsButton_, &QToolButton::clicked, this, &HelpWindow::showContents);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
}

void HelpWindow::showPage(const QString& page)
{
    // "page.html#place" opens the page at that place.
    const QString fileName = page.section(QLatin1Char('#'), 0, 0);
    const QString place = page.section(QLatin1Char('#'), 1);
    const QString file = QDir(helpFolder()).filePath(fileName);
    if (QFileInfo(file).isFile()) {
        QUrl url = QUrl::fromLocalFile(file);
        if (!place.isEmpty())
            url.setFragment(place);
        browser_->setSource(url);
    } else {
        browser_->setHtml(QStringLiteral("<h2>Help is not available</h2><p>The help page <b>%1</b> could not be "
                                         "found in the folder %2.</p>")
                              .arg(fileName.toHtmlEscaped(), QDir::toNativeSeparators(helpFolder()).toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace meldora
