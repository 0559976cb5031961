#pragma once

#include <QImage>

// What one renderer made of one file. A failure is definite (the file cannot be thumbnailed as it
// is, worth a failure mark in the shared cache); a timeout or a missing renderer is not.
class ThumbnailRenderResult
{
public:
    enum class Status
    {
        Rendered,
        Failed,
        TimedOut,
        Unsupported
    };

    static ThumbnailRenderResult rendered(QImage image);
    static ThumbnailRenderResult failed() { return ThumbnailRenderResult(Status::Failed); }
    static ThumbnailRenderResult timedOut() { return ThumbnailRenderResult(Status::TimedOut); }
    static ThumbnailRenderResult unsupported()
    {
        return ThumbnailRenderResult(Status::Unsupported);
    }

    Status status() const { return m_status; }
    bool isRendered() const { return m_status == Status::Rendered; }
    QImage image() const { return m_image; }

private:
    explicit ThumbnailRenderResult(Status status, QImage image = {});

    Status m_status;
    QImage m_image;
};
