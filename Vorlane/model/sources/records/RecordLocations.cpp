#include "RecordLocations.h"

#include <QStandardPaths>

namespace {
QString& suffixStorage()
{
    static QString suffix = QStringLiteral(".sfl3");
    return suffix;
}
} // namespace

QString recordFolderPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/com.apple.sharedfilelist/"
                          "com.apple.LSSharedFileList.ApplicationRecentDocuments");
}

QString recordFileSuffix()
{
    return suffixStorage();
}

void setRecordFileSuffix(const QString& suffix)
{
    suffixStorage() = suffix;
}
