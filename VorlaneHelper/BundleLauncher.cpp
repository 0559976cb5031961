#include "BundleLauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QXmlStreamReader>

namespace {
// CFBundleExecutable of an Info.plist: the <string> after that <key> in the top dictionary.
QString bundleExecutableEntry(const QString& infoPlistPath)
{
    QFile file(infoPlistPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != u"plist" || !xml.readNextStartElement() ||
        xml.name() != u"dict")
        return {};
    while (xml.readNextStartElement()) {
        if (xml.name() != u"key") {
            xml.skipCurrentElement();
            continue;
        }
        const bool isExecutable = xml.readElementText() == u"CFBundleExecutable";
        if (!xml.readNextStartElement())
            return {};
        if (isExecutable)
            return xml.name() == u"string" ? xml.readElementText() : QString();
        xml.skipCurrentElement();
    }
    return {};
}

// A plain file name: anything that would lead out of Contents/MacOS is no executable's name.
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u"..";
}
} // namespace

QString BundleLauncher::executableName(const QString& bundlePath)
{
    const QString named =
        bundleExecutableEntry(bundlePath + QStringLiteral("/Contents/Info.plist"));
    return isPlainFileName(named) ? named : QFileInfo(bundlePath).completeBaseName();
}

QString BundleLauncher::executablePath(const QString& bundlePath)
{
    return bundlePath + QStringLiteral("/Contents/MacOS/") + executableName(bundlePath);
}

QString BundleLauncher::launch(const QString& bundlePath)
{
    if (!QFileInfo(bundlePath).isDir())
        return QStringLiteral("The application %1 cannot be opened because it does not exist.")
            .arg(bundlePath);
    const QString executable = executablePath(bundlePath);
    const QFileInfo executableInfo(executable);
    if (!executableInfo.isFile() || !executableInfo.isExecutable())
        return QStringLiteral("The application %1 cannot be opened because its executable %2 "
                              "is missing or cannot be run.")
            .arg(bundlePath, executable);
    QProcess process;
    process.setProgram(executable);
    if (!process.startDetached())
        return QStringLiteral("The application %1 cannot be opened: %2")
            .arg(bundlePath, process.errorString());
    return {};
}
