// The help window: the program's own HTML help pages, with their contents page,
// links between the pages and back and forward.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace meldora {

// The folder the help pages are read from: "help" in the assets folder.
QString helpFolder();

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page by its file name ("index.html" is the contents) and brings the
    // window to the front. A missing page is explained in the window itself.
    void showPage(const QString& page);
    void showContents() { showPage(QStringLiteral("index.html")); }

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
    QToolButton* contentsButton_ = nullptr;
    QToolButton* backButton_ = nullptr;
    QToolButton* forwardButton_ = nullptr;
};

}  // namespace meldora
