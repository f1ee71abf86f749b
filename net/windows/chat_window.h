// The "Meldora Chat" window of a network game: the history of received and sent lines above a
// one-line input. A sizeable tool window that remembers its font, position and size.
//
// The main window creates it when a connection is made (and shows it), deletes it when the
// connection ends, and:
//   - sends each line of lineEntered() as a CHAT message (the line is already cut to fit one);
//   - passes every received line to addIncomingLine();
//   - calls setAlwaysOnTop() from the menu entry "Chat window always on top" (the window reads
//     "Network\Chat on Top" itself when it is made);
//   - hands keys typed on the table to typeIntoInput().
// A close asked for by the system only hides the window. Its destruction writes "Chat\Left",
// "Chat\Top", "Chat\Width" and "Chat\Height".
#pragma once

#include <QWidget>

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace meldora {

class SettingsAccess;

// The longest line that fits one chat message: the message is the token "CHAT", a separator
// byte, the line and a terminator byte, 255 bytes at most.
inline constexpr int MaxChatLineBytes = 249;
// The line cut to at most MaxChatLineBytes bytes of UTF-8, never inside a character (so it is
// also within the 255 characters a text may hold). UTF-8 never holds the bytes 0xFE and 0xFF,
// so the line cannot break the message framing.
QString cutChatLine(const QString& line);

class ChatWindow : public QWidget {
    Q_OBJECT

public:
    // ownName starts every line sent. The main window's position (parent, when given) is where
    // the window goes when no usable position is stored.
    ChatWindow(SettingsAccess& settings, const QString& ownName, QWidget* parent = nullptr);
    ~ChatWindow() override;

    // Appends one line; the history keeps the last 101.
    void addChatLine(const QString& text);
    // A line from the opponent: appended, the window raised (unless the user hid it) and the
    // history flashed light yellow for about 200 ms.
    void addIncomingLine(const QString& text);
    // A key typed on the table: goes to the input, and the window comes to the front with the
    // input focused, shown again if the user had hidden it.
    void typeIntoInput(const QKeyEvent* event);
    void setAlwaysOnTop(bool onTop);
    // What OK in the "Change &Font..." dialog does: both areas take the font, the nine
    // "Chat\Font." values are written and the input's height follows the font.
    void useFont(const QFont& font);

    QStringList historyLines() const;
    QPlainTextEdit* history() const { return history_; }
    QLineEdit* input() const { return input_; }
    bool isHighlighted() const;

signals:
    // Enter in the input: own name + ": " + the typed text, cut to fit one chat message.
    void lineEntered(const QString& line);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void sendInput();
    void changeFont();
    void applyFont(const QFont& font);
    void showFontMenu(QWidget* area, const QPoint& position);
    void placeWindow();
    void setHistoryColour(const QColor& colour);

    SettingsAccess& settings_;
    QString ownName_;
    QColor textColour_;
    QColor normalColour_;
    QPlainTextEdit* history_;
    QLineEdit* input_;
    QTimer* highlightTimer_;
};

}  // namespace meldora
