#pragma once

#include "TestHome.h"

// A temporary home whose system data folder still has the desktop's MIME database (a link to
// /usr/share/mime), so files are typed as on a real desktop, but no thumbnailer of the machine's
// own: the tests install the ones they want.
class ThumbnailTestHome : public TestHome
{
public:
    ThumbnailTestHome();

    QString document(const QString& name) const;
};
