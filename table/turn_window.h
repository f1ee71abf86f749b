// The small window that tells at the start of a hand who draws first, and the timer
// that closes it after one and a half seconds.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace meldora {

// Borderless, always on top, 317 x 28, one lowered panel holding the text. It never
// keeps the keyboard: when it is activated it hands the focus back to the main window.
class TurnWindow : public QWidget {
    Q_OBJECT

public:
    TurnWindow(QWidget* mainWindow, const QString& text);
    QString text() const;

protected:
    bool event(QEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
    QLabel* panel_ = nullptr;
};

class TurnIndicator : public QObject {
    Q_OBJECT

public:
    static constexpr int DisplayTime = 1500;

    explicit TurnIndicator(QWidget* mainWindow);
    ~TurnIndicator() override;

    void setChatWindow(QWidget* chat) { chatWindow_ = chat; }

    // Opens the window centred on the main window, when the main window or the chat
    // window is the active window; a window still open from an earlier hand closes first.
    void showWhoseTurnWindow(const QString& text);

    TurnWindow* window() const { return window_; }
    QTimer& displayTimer() { return displayTimer_; }

    // Closes the window and brings the score, highscore and match-over windows in
    // front of the table, so that none of them stays hidden behind it.
    void hideTurnWindow();

private:
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> chatWindow_;
    QPointer<TurnWindow> window_;
    QTimer displayTimer_;
};

}  // namespace meldora
