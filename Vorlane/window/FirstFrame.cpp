#include "FirstFrame.h"

#include <QList>
#include <QPointer>
#include <QTimer>

#include <utility>

namespace {
struct Waiting
{
    QPointer<QObject> context;
    std::function<void()> work;
};

bool pending = false;
// A window the window system never exposes (mapped on another workspace) holds nothing up for
// longer than this.
constexpr int latestMs = 1000;

QList<Waiting>& waiting()
{
    static QList<Waiting> list;
    return list;
}
} // namespace

void FirstFrame::after(QObject* context, std::function<void()> work)
{
    if (pending)
        waiting().append({context, std::move(work)});
    else if (context)
        work();
}

void FirstFrame::begin()
{
    pending = true;
    QTimer::singleShot(latestMs, [] { end(); });
}

void FirstFrame::end()
{
    pending = false;
    // Work may ask for more work; it runs at once now.
    const QList<Waiting> due = std::exchange(waiting(), {});
    for (const Waiting& one : due) {
        if (one.context)
            one.work();
    }
}
