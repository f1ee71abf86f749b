// The "Network Meldora" window shown while the two copies find each other: "Trying to
// (re)connect to " the remote address, a progress bar that moves one step every two seconds
// and starts again past its end, and "&Cancel". A tool window on top of the others, centred
// on its parent (or the screen), without system buttons.
//
// The main window creates it when a connection attempt starts, keeps it in a QPointer, calls
// stopProgress() when the client socket connects and deletes it when the connection is made
// or lost. "&Cancel" emits cancelled() (the main window stops waiting) and then the window
// deletes itself.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace meldora {

class ConnectingWindow : public QWidget {
    Q_OBJECT

public:
    // Shows nothing yet: the caller calls show(). The progress runs from construction.
    explicit ConnectingWindow(const QString& remoteAddress, QWidget* parent = nullptr);

    // Stops the progress bar where it stands.
    void stopProgress();
    bool progressRunning() const;
    // One tick of the timer: one step forward, back to the start past the end.
    void advanceProgress();

    QProgressBar* progressBar() const { return progress_; }

signals:
    void cancelled();

protected:
    void showEvent(QShowEvent* event) override;
    // There are no system buttons; a close asked for by the system is ignored, so the window
    // always leaves through Cancel or the main window.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* message_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    QTimer* timer_;
};

}  // namespace meldora
