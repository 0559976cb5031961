#pragma once

#include <QByteArrayView>
#include <QString>

// Whether a JPEG file holds all of its picture. Qt's reader fills what a cut-off file lacks with
// grey and reports success; a preview should say the file is damaged instead. The segments are
// walked to the end-of-image marker: a file that stops before it is incomplete. Data after the
// marker (the video some cameras append) does not matter.
class JpegCompleteness
{
public:
    static bool isComplete(const QString& path);
    static bool isComplete(QByteArrayView bytes);
};
