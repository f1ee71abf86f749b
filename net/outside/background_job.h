// A blocking job (a libcurl transfer) run on a worker thread, with the busy cursor shown
// until it ends; the end is reported on the window's thread. Destroying the job asks the
// work to stop and waits for it, so a window can be closed while its transfer still runs.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace meldora {

class BackgroundJob : public QObject {
public:
    // The work runs on the worker thread and should give up soon after cancel becomes true.
    using Work = std::function<void(const std::atomic<bool>& cancel)>;

    explicit BackgroundJob(QObject* owner);
    ~BackgroundJob() override;

    // Starts the work; finished runs on the owner's thread once it is done. One job at a time.
    void start(Work work, std::function<void()> finished);
    bool isRunning() const { return running_; }

private:
    void waitForThread();

    std::shared_ptr<std::atomic<bool>> cancel_;
    QThread* thread_ = nullptr;
    bool running_ = false;
};

}  // namespace meldora
