#pragma once

#include <QString>

// The in-memory thumbnail cache's key for a file at a requested size in points: the path, "-",
// the width, "x", the height, for example "/tmp/Report.pdf-86.0x86.0". The same file at another
// size is another key.
QString thumbnailKey(const QString& filePath, double width, double height);

// A size written as its shortest decimal that reads back as the same double, with at least one
// fractional digit: 86 gives "86.0", 172.5 gives "172.5", 0.1 gives "0.1".
QString thumbnailKeyNumber(double value);
