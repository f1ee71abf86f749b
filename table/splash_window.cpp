#include "table/splash_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace meldora {

namespace {

constexpr int SplashWidth = 360;
constexpr int SplashHeight = 210;

QLabel* makeLabel(const QString& text, int pixelSize, bool bold, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fmSplash"));
    setFixedSize(SplashWidth, SplashHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 62, 16, 18);
    layout->setSpacing(4);
    layout->addWidget(makeLabel(QStringLiteral("Meldora"), 46, true, QColor(255, 236, 140), this));
    layout->addWidget(makeLabel(QStringLiteral("Two-handed Canasta"), 16, false, Qt::white, this));
    layout->addStretch();
    versionLabel_ = makeLabel(QString::fromLatin1(VersionText), 12, false, Qt::white, this);
    versionLabel_->setObjectName(QStringLiteral("lbVersion"));
    layout->addWidget(versionLabel_);
    qApp->installEventFilter(this);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A box shown during start-up (the settings could not be opened, say) would
    // sit behind the splash, which stays on top, and start-up would wait on it
    // unseen: the splash steps aside before the box appears.
    if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched))
        hide();
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::showNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// A green cloth with a gold edge and the four suits across the top.
void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 100, 0));
    painter.setPen(QPen(QColor(212, 175, 55), 4));
    painter.drawRect(rect().adjusted(2, 2, -2, -2));

    QFont suitFont(QStringLiteral("DejaVu Sans"));
    suitFont.setPixelSize(30);
    painter.setFont(suitFont);
    const QString suits[] = {QStringLiteral("\u2660"), QStringLiteral("\u2665"), QStringLiteral("\u2666"),
                             QStringLiteral("\u2663")};
    const QColor colours[] = {Qt::black, QColor(200, 0, 0), QColor(200, 0, 0), Qt::black};
    const int step = 44;
    const int left = (width() - 4 * step) / 2;
    for (int i = 0; i < 4; ++i) {
        const QRect cell(left + i * step, 14, step, 40);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(cell.adjusted(6, 0, -6, 0), 5, 5);
        painter.setPen(colours[i]);
        painter.drawText(cell, Qt::AlignCenter, suits[i]);
    }
}

}  // namespace meldora
