#include "RegistrationAttribution.h"

DesktopApplicationIndex::Match
attributeRegistration(DesktopApplicationIndex& index, const RecentlyUsedFile::Bookmark& bookmark,
                      const RecentlyUsedFile::Application& registration)
{
    if (bookmark.localPath.isEmpty())
        return {};
    return index.find(registration.name, registration.exec);
}
