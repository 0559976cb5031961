#pragma once

#include "ThumbnailMemoryCache.h"
#include "ThumbnailStatistics.h"
#include "ThumbnailTicket.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QThreadPool>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class ThumbnailGenerator;
class ThumbnailResultBox;

// The process-wide machinery behind ThumbnailCache: the in-memory cache, a small pool of worker
// threads of its own, and the generations in flight. A request for a key already in flight joins
// that generation instead of starting another; a generation stays joinable until its result has
// been handed out on the main thread. Completions always run on the main thread, only for
// requests neither cancelled nor belonging to a receiver that has gone. A queued generation that
// nobody waits for any more is taken off the pool. Needs a QCoreApplication for delivery.
class ThumbnailService : public QObject
{
    Q_OBJECT

public:
    using Callback = std::function<void(const QUrl& fileUrl, const std::optional<QImage>& image)>;

    struct Request
    {
        QObject* receiver = nullptr; // none: the completion always runs
        QUrl fileUrl;
        double width = 0;  // points
        double height = 0; // points
        qreal devicePixelRatio = 1.0;
        std::shared_ptr<ThumbnailResultBox> box;
        Callback callback;
    };

    static constexpr int workerThreads = 2;

    static ThumbnailService& instance();
    ~ThumbnailService() override;

    // Any thread. URLs that are not local files are answered with none, and get ticket 0.
    ThumbnailTicket request(Request request);
    void cancel(ThumbnailTicket ticket);
    void cancelAll(const QObject* receiver);

    ThumbnailMemoryCache& memoryCache() { return m_memory; }
    ThumbnailStatistics statistics() const;
    void resetStatistics();
    // Generations queued, running, or waiting for their delivery on the main thread.
    int pendingGenerations() const;

    // Reads the shared cache's place and the installed thumbnailers from the environment again,
    // as the next generations will see them; for tests and benchmarks that change them.
    void reloadEnvironment(std::chrono::milliseconds thumbnailerTimeLimit);
    // Drops queued work and waits for running work; the process is ending.
    void shutdown();

private:
    struct Generation;
    struct Waiter
    {
        QPointer<QObject> receiver;
        const QObject* receiverAddress = nullptr;
        QUrl fileUrl;
        std::shared_ptr<ThumbnailResultBox> box;
        Callback callback;
    };

    ThumbnailService();
    void answerNone(Request request);
    void start(const std::shared_ptr<Generation>& generation);
    void run(const std::shared_ptr<Generation>& generation);
    std::optional<QImage> produce(const Generation& generation);
    void deliver(const std::shared_ptr<Generation>& generation);
    void dropWaiter(ThumbnailTicket ticket);
    void watchReceiver(QObject* receiver);
    std::shared_ptr<const ThumbnailGenerator> generator() const;

    ThumbnailMemoryCache m_memory;
    mutable QMutex m_mutex;
    std::shared_ptr<const ThumbnailGenerator> m_generator;
    QHash<QString, std::shared_ptr<Generation>> m_inFlight;
    QHash<ThumbnailTicket, Waiter> m_waiters;
    QSet<const QObject*> m_watchedReceivers;
    ThumbnailTicket m_lastTicket = 0;
    // Generations queued or running on the pool.
    int m_atWork = 0;
    ThumbnailStatistics m_statistics;
    // Declared last: destroyed first, so running work finishes while everything else exists.
    QThreadPool m_pool;
};
