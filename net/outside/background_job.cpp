#include "net/outside/background_job.h"

#include <QApplication>
#include <QThread>

namespace meldora {

BackgroundJob::BackgroundJob(QObject* owner) : QObject(owner), cancel_(std::make_shared<std::atomic<bool>>(false)) {}

BackgroundJob::~BackgroundJob()
{
    cancel_->store(true);
    waitForThread();
    if (running_)
        QApplication::restoreOverrideCursor();
}

void BackgroundJob::waitForThread()
{
    if (!thread_)
        return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

void BackgroundJob::start(Work work, std::function<void()> finished)
{
    if (running_)
        return;
    waitForThread();
    cancel_->store(false);
    running_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    thread_ = QThread::create([work = std::move(work), cancel = cancel_] { work(*cancel); });
    connect(thread_, &QThread::finished, this, [this, finished = std::move(finished)] {
        running_ = false;
        QApplication::restoreOverrideCursor();
        finished();
    });
    thread_->start();
}

}  // namespace meldora
