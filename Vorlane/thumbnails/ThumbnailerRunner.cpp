#include "ThumbnailerRunner.h"

#include "ImageThumbnailRenderer.h"
#include "ThumbnailScaling.h"

#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>
#include <unistd.h>

namespace {
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
    if (command.constFirst().isEmpty())
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
    if (!process.waitForFinished(static_cast<int>(timeLimit.count())) &&
        process.state() != QProcess::NotRunning) {
        killGroup(process);
        return ThumbnailRenderResult::timedOut();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return ThumbnailRenderResult::failed();
    return readOutput(outputPath, edge);
}
