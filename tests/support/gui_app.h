// The one QApplication of a widget test program, made on first use.
#pragma once

#include <QApplication>
#include <QtGlobal>

namespace meldora::test {

// Call before anything makes a pixmap or a widget. Run straight from a shell, the
// program still gets the offscreen platform and no sound device.
// The application is never destroyed: the input devices that test mouse events
// create, and Qt's own device list, are gone before a static object's destructor
// would run at exit.
inline QApplication& EnsureGuiApplication()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
            qputenv("SDL_AUDIODRIVER", "dummy");
        static int argc = 1;
        static char name[] = "meldora_test";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace meldora::test
