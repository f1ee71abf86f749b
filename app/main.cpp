// Program entry: the application object, the settings store and the main window.
#include <QApplication>
#include <exception>

#include "settings/file_locations.h"
#include "settings/registry_enhanced.h"
#include "table/main_window.h"
#include "table/prompts.h"

namespace {

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
            meldora::prompts::Error(activeWindow(), QString::fromStdString(error.what()));
        } catch (...) {
            meldora::prompts::Error(activeWindow(), QStringLiteral("An unexpected error occurred."));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    MeldoraApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Meldora"));

    meldora::TRegistryEnhanced settings(meldora::SettingsDatabasePath().string());
    settings.SetRootKey(meldora::TRootKey::hkLocalMachine);
    settings.SetKey(meldora::MeldoraBaseKey);
    if (!settings.IsOpen())
        meldora::prompts::Warning(nullptr, QStringLiteral("The settings could not be opened: %1\n"
                                                          "Meldora starts with the default settings and "
                                                          "will not keep any changes.")
                                               .arg(QString::fromStdString(settings.OpenError())));

    meldora::TfmMeldoraMain window(settings);
    window.show();
    return app.exec();
}
