// Program entry: the application object, the splash window and the main window.
#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <exception>

#include "app/launch_argument.h"
#include "core/file_locations.h"

#include "table/main_window.h"
#include "table/prompts.h"
#include "table/splash_window.h"

namespace {

// QT_LOGGING_RULES="meldora.files.debug=true" tells where the program found its help pages,
// sounds and music (the install check relies on it).
Q_LOGGING_CATEGORY(filesLog, "meldora.files", QtWarningMsg)

// A programming error inside a handler (a 109th card, an index out of range) stops that
// handler only: it is shown in an error box and the program goes on.
class MeldoraApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            meldora::prompts::error(activeWindow(), QString::fromStdString(error.what()));
        } catch (...) {
            meldora::prompts::error(activeWindow(), QStringLiteral("An unexpected error occurred."));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    MeldoraApplication app(argc, argv);

    // The splash window owns itself until the main window's start-up timer destroys it.
    auto* splash = new meldora::SplashWindow;
    splash->showNow();
    QApplication::setApplicationName(QStringLiteral("Meldora"));
    // The desktop matches the windows to the installed entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.meldora.Meldora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.meldora.Meldora")));

    qCDebug(filesLog).noquote() << "Assets:" << QString::fromStdString(meldora::AssetsDir().string());

    meldora::MainWindow window(meldora::programArgument(QCoreApplication::arguments().value(1)), 0, splash);
    window.show();
    return app.exec();
}
