#include "ThumbnailerRunner.h"

#include "ImageThumbnailRenderer.h"
#include "ThumbnailScaling.h"

#include <QDeadlineTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <signal.h>
#include <unistd.h>

namespace {
std::atomic<bool> abandoned{false};
// How often a waiting runner looks whether the program is ending.
constexpr std::chrono::milliseconds pollInterval{100};
// Waiting this long for a killed process to be reaped is generous; it cannot refuse SIGKILL.
constexpr int reapMilliseconds = 5000;

void killGroup(QProcess& process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(static_cast<pid_t>(-pid), SIGKILL);
    process.kill();
    process.waitForFinished(reapMilliseconds);
}

// True when the process finished within the time limit; false when it ran out of time or the
// program is ending.
bool finishesInTime(QProcess& process, std::chrono::milliseconds timeLimit)
{
    QDeadlineTimer deadline(timeLimit);
    while (!abandoned) {
        const auto slice =
            std::min(pollInterval, std::chrono::milliseconds(deadline.remainingTime()));
        if (process.waitForFinished(static_cast<int>(slice.count())) ||
            process.state() == QProcess::NotRunning)
            return true;
        if (deadline.hasExpired())
            return false;
    }
    return false;
}

ThumbnailRenderResult readOutput(const QString& outputPath, int edge)
{
    QImageReader reader(outputPath);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(ImageThumbnailRenderer::allocationLimitMiB);
    QImage image;
    if (!reader.read(&image))
        return ThumbnailRenderResult::failed();
    return ThumbnailRenderResult::rendered(ThumbnailScaling::fitInto(image, QSize(edge, edge)));
}
} // namespace

ThumbnailRenderResult ThumbnailerRunner::run(const ThumbnailerEntry& entry,
                                             const QString& inputPath, const QByteArray& inputUri,
                                             int edge, std::chrono::milliseconds timeLimit)
{
    QTemporaryDir outputFolder;
    if (!outputFolder.isValid())
        return ThumbnailRenderResult::failed();
    const QString outputPath = outputFolder.filePath(QStringLiteral("thumbnail.png"));
    const QStringList command = entry.commandLine(inputPath, inputUri, outputPath, edge);
    if (command.constFirst().isEmpty() || abandoned)
        return ThumbnailRenderResult::unsupported();

    QProcess process;
    process.setProgram(command.constFirst());
    process.setArguments(command.mid(1));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so that a timeout also ends whatever it started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted())
        return ThumbnailRenderResult::failed();
    if (!finishesInTime(process, timeLimit)) {
        killGroup(process);
        return ThumbnailRenderResult::timedOut();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return ThumbnailRenderResult::failed();
    return readOutput(outputPath, edge);
}

void ThumbnailerRunner::abandonAll()
{
    abandoned = true;
}
