#pragma once

#include <QString>

// A date heading in an application's files list: the combined row it stands on and its group name.
struct RecentFileGroup
{
    qsizetype index = 0;
    QString string;

    friend bool operator==(const RecentFileGroup&, const RecentFileGroup&) = default;
};
