#include "ui/background_work.h"

#include <QThread>
#include <exception>

namespace zeb {

namespace {

// What ended a job, written by the work's thread before it finishes and read after.
struct JobEnd {
    bool completed = false;
    QString failure;
};

}  // namespace

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork() {
    if (thread_ != nullptr) {
        stopRequested_->store(true);
        thread_->wait();
        delete thread_;
    }
}

bool BackgroundWork::start(Job job, Finished finished) {
    if (thread_ != nullptr) {
        return false;
    }
    auto stopRequested = std::make_shared<std::atomic<bool>>(false);
    stopRequested_ = stopRequested;
    auto end = std::make_shared<JobEnd>();
    const contest::WorkProgress progress =
        [this, stopRequested](contest::WorkStage stage, std::size_t done, std::size_t total) {
            // Posted to this object: a call still queued when it is gone is dropped with it.
            QMetaObject::invokeMethod(
                this,
                [this, stage, done, total] {
                    Q_EMIT progressed(stage, static_cast<qint64>(done), static_cast<qint64>(total));
                },
                Qt::QueuedConnection);
            return !stopRequested->load();
        };
    thread_ = QThread::create([job = std::move(job), progress, end] {
        try {
            end->completed = job(progress);
        } catch (const std::exception& error) {
            end->failure = QString::fromLocal8Bit(error.what());
        } catch (...) {
            end->failure = QStringLiteral("neznámá chyba");
        }
    });
    // Owned too, so that a thread whose deleteLater the event loop never reached goes with this.
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, [this, end, finished = std::move(finished)] {
        thread_->deleteLater();
        thread_ = nullptr;
        Q_EMIT busyChanged(false);
        finished(end->completed && end->failure.isEmpty(), end->failure);
    });
    thread_->start();
    Q_EMIT busyChanged(true);
    return true;
}

void BackgroundWork::stop() {
    if (stopRequested_) {
        stopRequested_->store(true);
    }
}

}  // namespace zeb
