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

    // Shows a page by its file name ("index.html" is the contents), at a place on it
    // when "#place" follows, and brings the window to the front. A missing page is explained in the window itself.
    void showPage(const QString& page);
    void showContents() { showPage(QStringLiteral("index.html")); }

    QTextBrowser* browser() const { return browser_; }

signals:
    // A link "meldora:options?page=N" in a page: the window opens an options
    // dialog on one of its pages (the outside command 9999 with parameter N).
    void optionsPageRequested(int parameter);

private:
    QTextBrowser* browser_ = nullptr;
    QToolButton* contentsButton_ = nullptr;
    QToolButton* backButton_ = nullptr;
    QToolButton* forwardButton_ = nullptr;
};

}  // namespace meldora
