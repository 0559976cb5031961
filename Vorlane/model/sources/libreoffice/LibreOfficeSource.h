#pragma once

#include "RecentSource.h"

#include <QString>

// LibreOffice's own list of recent documents (PickListReader), in the profile's
// registrymodifications.xcu: an entry per LibreOffice module that opened documents in it, when
// the import filter names the module (Writer, Calc, Impress, Draw), else under LibreOffice itself.
// Documents keep the list's order, newest first; as the list has no dates, each is dated by the
// desktop's record of it or its modification, never later than the one before it.
//
// The list lives among every other setting of LibreOffice, which writes the whole file from
// memory when it quits: Vorlane leaves it alone and says how to clear it in LibreOffice.
// Identity: filePath is the profile file's URL with the module's desktop id as fragment.
class LibreOfficeSource final : public RecentSource
{
public:
    QList<RecentApp> read() override;
    QList<WatchedPath> watchedPaths() const override;
    bool owns(const RecentApp& app) const override;
    Clearing clearing() const override { return Clearing::keptByItsOwner; }
    QString notClearedBecause() const override;

    // ~/.config/libreoffice/4/user/registrymodifications.xcu
    static QString profileFilePath();
    // The desktop id of the module an import filter belongs to; libreoffice-startcenter when the
    // filter names none.
    static QString moduleOfFilter(const QString& filter);
};
