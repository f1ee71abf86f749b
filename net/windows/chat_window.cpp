#include "net/windows/chat_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/setting_keys.h"

namespace meldora {

namespace {

constexpr int MaxHistoryLines = 101;
constexpr int HighlightMilliseconds = 200;
const QColor HighlightColour(255, 255, 128);
// The stored pitch of a fixed-pitch font; 0 is the family's own.
constexpr int FixedPitch = 2;

// Colours are stored as 0x00BBGGRR.
QColor colourFromStored(int stored) { return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF); }
int storedColour(const QColor& colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

QFont readChatFont(SettingsAccess& settings)
{
    QFont font = QApplication::font();
    // The stored family may come from another system ("MS Sans Serif"): keep the system font
    // then, so the chat never falls back to whatever the font matcher happens to pick.
    const QString family = QString::fromStdString(Read(settings, keys::ChatFontName));
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive))
        font.setFamily(family);
    const int height = Read(settings, keys::ChatFontHeight);
    if (height < 0)
        font.setPixelSize(-height);
    const int size = Read(settings, keys::ChatFontSize);
    if (size > 0)
        font.setPointSize(size);
    font.setFixedPitch(Read(settings, keys::ChatFontPitch) == FixedPitch);
    font.setBold(Read(settings, keys::ChatFontBold));
    font.setItalic(Read(settings, keys::ChatFontItalic));
    font.setUnderline(Read(settings, keys::ChatFontUnderline));
    font.setStrikeOut(Read(settings, keys::ChatFontStrikeOut));
    return font;
}

}  // namespace

QString cutChatLine(const QString& line)
{
    int bytes = 0;
    int end = 0;
    while (end < line.size()) {
        const bool pair = line[end].isHighSurrogate() && end + 1 < line.size() && line[end + 1].isLowSurrogate();
        const int length = pair ? 2 : 1;
        const int characterBytes = static_cast<int>(line.mid(end, length).toUtf8().size());
        if (bytes + characterBytes > MaxChatLineBytes)
            break;
        bytes += characterBytes;
        end += length;
    }
    return line.left(end);
}

ChatWindow::ChatWindow(SettingsAccess& settings, const QString& ownName, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      settings_(settings),
      ownName_(ownName),
      highlightTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("fmChat"));
    setWindowTitle(QStringLiteral("Meldora Chat"));
    history_ = new QPlainTextEdit(this);
    history_->setObjectName(QStringLiteral("meMessages"));
    history_->setReadOnly(true);
    history_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    history_->setToolTip(QStringLiteral("This area shows the messages that your partner sent you."));
    history_->setMaximumBlockCount(MaxHistoryLines);
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("edInput"));
    normalColour_ = history_->palette().color(QPalette::Base);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(history_, 1);
    layout->addWidget(input_);

    for (QWidget* area : {static_cast<QWidget*>(history_), static_cast<QWidget*>(input_)}) {
        area->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(area, &QWidget::customContextMenuRequested, this,
                [this, area](const QPoint& position) { showFontMenu(area, position); });
    }
    connect(input_, &QLineEdit::returnPressed, this, &ChatWindow::sendInput);
    highlightTimer_->setSingleShot(true);
    highlightTimer_->setInterval(HighlightMilliseconds);
    connect(highlightTimer_, &QTimer::timeout, this, [this] { setHistoryColour(normalColour_); });

    setWindowFlag(Qt::WindowStaysOnTopHint, Read(settings_, keys::ChatOnTop));
    textColour_ = colourFromStored(Read(settings_, keys::ChatFontColor));
    applyFont(readChatFont(settings_));
    placeWindow();
}

ChatWindow::~ChatWindow()
{
    settings_.WriteValue(keys::ChatTop, y());
    Write(settings_, keys::ChatHeight, height());
    Write(settings_, keys::ChatWidth, width());
    settings_.WriteValue(keys::ChatLeft, x());
}

void ChatWindow::placeWindow()
{
    const QPoint mainWindow = parentWidget() ? parentWidget()->pos() : QPoint();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(640, 480);
    int top = settings_.ReadInt(keys::ChatTop, mainWindow.y());
    if (top < 0 || top > screenSize.height())
        top = mainWindow.y();
    int left = settings_.ReadInt(keys::ChatLeft, mainWindow.x());
    if (left < 0 || left > screenSize.width())
        left = mainWindow.x();
    // A size from a damaged store must still leave a window that can be seen and grabbed.
    const QSize smallest = minimumSizeHint().expandedTo(QSize(100, 50));
    const int width = qBound(smallest.width(), Read(settings_, keys::ChatWidth), qMax(smallest.width(), screenSize.width()));
    const int height =
        qBound(smallest.height(), Read(settings_, keys::ChatHeight), qMax(smallest.height(), screenSize.height()));
    resize(width, height);
    move(left, top);
}

void ChatWindow::addChatLine(const QString& text) { history_->appendPlainText(text); }

void ChatWindow::addIncomingLine(const QString& text)
{
    if (isVisible())
        raise();
    setHistoryColour(HighlightColour);
    highlightTimer_->start();
    addChatLine(text);
}

QStringList ChatWindow::historyLines() const
{
    QStringList lines;
    for (QTextBlock block = history_->document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    if (lines.size() == 1 && lines.first().isEmpty())
        lines.clear();
    return lines;
}

bool ChatWindow::isHighlighted() const { return history_->palette().color(QPalette::Base) == HighlightColour; }

void ChatWindow::typeIntoInput(const QKeyEvent* event)
{
    if (!isVisible())
        show();
    raise();
    activateWindow();
    input_->setFocus();
    QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
    QApplication::sendEvent(input_, &copy);
}

void ChatWindow::setAlwaysOnTop(bool onTop)
{
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window's flags hides it.
    if (wasVisible)
        show();
}

void ChatWindow::sendInput()
{
    const QString line = cutChatLine(ownName_ + QStringLiteral(": ") + input_->text());
    emit lineEntered(line);
    addChatLine(line);
    input_->clear();
}

void ChatWindow::showFontMenu(QWidget* area, const QPoint& position)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Change &Font..."), this, &ChatWindow::changeFont);
    menu.exec(area->mapToGlobal(position));
}

void ChatWindow::changeFont()
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, history_->font(), this);
    if (ok)
        useFont(chosen);
}

void ChatWindow::useFont(const QFont& font)
{
    applyFont(font);
    const QFontInfo shown(history_->font());
    Write(settings_, keys::ChatFontColor, storedColour(textColour_));
    Write(settings_, keys::ChatFontHeight, -shown.pixelSize());
    Write(settings_, keys::ChatFontName, font.family().toStdString());
    Write(settings_, keys::ChatFontPitch, font.fixedPitch() ? FixedPitch : 0);
    Write(settings_, keys::ChatFontSize, font.pointSize() > 0 ? font.pointSize() : shown.pointSize());
    Write(settings_, keys::ChatFontBold, font.bold());
    Write(settings_, keys::ChatFontItalic, font.italic());
    Write(settings_, keys::ChatFontUnderline, font.underline());
    Write(settings_, keys::ChatFontStrikeOut, font.strikeOut());
}

void ChatWindow::applyFont(const QFont& font)
{
    for (QWidget* area : {static_cast<QWidget*>(history_), static_cast<QWidget*>(input_)}) {
        area->setFont(font);
        QPalette palette = area->palette();
        palette.setColor(QPalette::Text, textColour_);
        area->setPalette(palette);
    }
    // The input is as tall as one line of the font with a small border.
    input_->setFixedHeight(9 + QFontInfo(font).pixelSize());
}

void ChatWindow::setHistoryColour(const QColor& colour)
{
    QPalette palette = history_->palette();
    palette.setColor(QPalette::Base, colour);
    history_->setPalette(palette);
}

void ChatWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

}  // namespace meldora
