#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "contest/workspace/contest_workspace.h"

QT_BEGIN_NAMESPACE
class QThread;
QT_END_NAMESPACE

namespace zeb {

// One piece of long work at a time on a thread of its own, so that the window goes on answering
// while a contest is taken in and checked. Its progress is told on the window's thread, and it can
// be stopped at its next step.
class BackgroundWork final : public QObject {
    Q_OBJECT

  public:
    // The work; false when it was stopped before its end.
    using Job = std::function<bool(const contest::WorkProgress& progress)>;
    // Runs on this object's thread once the work ended: whether it ran to its end, and what went
    // wrong when it failed (empty otherwise).
    using Finished = std::function<void(bool completed, const QString& failure)>;

    explicit BackgroundWork(QObject* parent = nullptr);
    // Stops the work and waits for its thread; `Finished` is not called then.
    ~BackgroundWork() override;

    // False, starting nothing, while other work runs.
    bool start(Job job, Finished finished);
    void stop();
    bool busy() const { return thread_ != nullptr; }

  Q_SIGNALS:
    void progressed(contest::WorkStage stage, qint64 done, qint64 total);
    void busyChanged(bool busy);

  private:
    QThread* thread_ = nullptr;
    std::shared_ptr<std::atomic<bool>> stopRequested_;
};

}  // namespace zeb
