// The splash window shown from program entry until the main window's start-up
// timer has run: borderless, on top of every window, centred on the screen.
#pragma once

#include <QWidget>

class QLabel;

namespace meldora {

inline constexpr char VersionText[] = "Version 4.14";

class SplashWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the window centred on the primary screen and paints it at once, before
    // the main window starts its (slow) creation.
    void showNow();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Hides the splash when any dialog or message box is shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* versionLabel_ = nullptr;
};

}  // namespace meldora
