#pragma once

#include "ThumbnailRenderResult.h"
#include "ThumbnailerEntry.h"

#include <QByteArray>
#include <QString>

#include <chrono>

// Runs one installed thumbnailer for one file: the program directly (never a shell), with no
// input and its output discarded, in a process group of its own that is killed whole when it
// runs out of time. The PNG it writes into a private temporary folder is read back, fitted into
// the requested square.
class ThumbnailerRunner
{
public:
    static ThumbnailRenderResult run(const ThumbnailerEntry& entry, const QString& inputPath,
                                     const QByteArray& inputUri, int edge,
                                     std::chrono::milliseconds timeLimit);

    // The program is ending: running thumbnailers are killed at once, later ones not started.
    static void abandonAll();
};
