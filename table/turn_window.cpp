#include "table/turn_window.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace meldora {

namespace {

constexpr int TurnWidth = 317;
constexpr int TurnHeight = 28;

// The windows that must not stay hidden behind the table once the turn window is gone.
bool broughtToFront(const QWidget* w)
{
    QString name = QString::fromLatin1(w->metaObject()->className());
    name = name.section("::", -1);
    return name == "GameOverWindow" || name == "HighscoresWindow" || name == "ScoringWindow" || name == "DetailsWindow";
}

}  // namespace

TurnWindow::TurnWindow(QWidget* mainWindow, const QString& text)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow)
{
    setObjectName("fmWhoseTurn");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(TurnWidth, TurnHeight);

    panel_ = new QLabel(text, this);
    panel_->setObjectName("pnWhoseTurn");
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setAlignment(Qt::AlignCenter);
    QFont font("MS Sans Serif", 8, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    panel_->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
}

QString TurnWindow::text() const { return panel_->text(); }

bool TurnWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && mainWindow_) {
        QWidget* main = mainWindow_->window();
        main->raise();
        main->activateWindow();
    }
    return QWidget::event(event);
}

TurnIndicator::TurnIndicator(QWidget* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow)
{
    displayTimer_.setSingleShot(false);
    displayTimer_.setInterval(DisplayTime);
    connect(&displayTimer_, &QTimer::timeout, this, &TurnIndicator::hideTurnWindow);
}

TurnIndicator::~TurnIndicator()
{
    if (window_)
        delete window_.data();
}

void TurnIndicator::showWhoseTurnWindow(const QString& text)
{
    if (!mainWindow_)
        return;
    QWidget* main = mainWindow_->window();
    const QWidget* active = QApplication::activeWindow();
    if (!active || (active != main && active != chatWindow_))
        return;
    if (displayTimer_.isActive())
        hideTurnWindow();

    window_ = new TurnWindow(main, text);
    const QRect frame = main->frameGeometry();
    window_->move(frame.left() + frame.width() / 2 - TurnWidth / 2, frame.top() + frame.height() / 2 - TurnHeight / 2);
    window_->show();
    displayTimer_.start();
}

void TurnIndicator::hideTurnWindow()
{
    displayTimer_.stop();
    if (window_)
        window_->close();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && broughtToFront(w))
            w->raise();
}

}  // namespace meldora
