#include "net/windows/connecting_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace meldora {

namespace {

constexpr int ProgressStep = 5;
constexpr int TickMilliseconds = 2000;

}  // namespace

ConnectingWindow::ConnectingWindow(const QString& remoteAddress, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("fmTryConnect"));
    setWindowTitle(QStringLiteral("Network Meldora"));
    message_ = new QLabel(QStringLiteral("Trying to (re)connect to ") + remoteAddress + QStringLiteral("..."), this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 99);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("bnCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(progress_);
    layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
    setMinimumWidth(320);

    timer_->setInterval(TickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &ConnectingWindow::advanceProgress);
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        timer_->stop();
        emit cancelled();
        deleteLater();
    });
    timer_->start();
}

void ConnectingWindow::stopProgress() { timer_->stop(); }

bool ConnectingWindow::progressRunning() const { return timer_->isActive(); }

void ConnectingWindow::advanceProgress()
{
    const int next = progress_->value() + ProgressStep;
    progress_->setValue(next > progress_->maximum() ? progress_->minimum() : next);
}

void ConnectingWindow::showEvent(QShowEvent* event)
{
    adjustSize();
    const QWidget* owner = parentWidget();
    QRect area = owner ? owner->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
    QWidget::showEvent(event);
}

void ConnectingWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

}  // namespace meldora
