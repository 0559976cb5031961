#pragma once

#include "DesktopApplicationIndex.h"
#include "RecentlyUsedFile.h"

// The installed application a registration's document is listed under: the index's find() for
// documents that are local files, invalid for others (they are never listed). Listing and
// clearing both decide by this, so clearing an entry removes exactly the registrations listed
// under it.
DesktopApplicationIndex::Match
attributeRegistration(DesktopApplicationIndex& index, const RecentlyUsedFile::Bookmark& bookmark,
                      const RecentlyUsedFile::Application& registration);
