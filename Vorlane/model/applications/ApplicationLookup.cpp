#include "ApplicationLookup.h"

#include "DesktopApplicationIndex.h"

namespace {
bool isPlausibleIdentifier(const QString& identifier)
{
    return !identifier.isEmpty() && !identifier.contains(u'/') && !identifier.startsWith(u'.');
}
} // namespace

QString ApplicationLookup::urlForApplicationWithBundleIdentifier(const QString& bundleIdentifier)
{
    if (!isPlausibleIdentifier(bundleIdentifier))
        return {};
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();
    return urlForApplicationWithBundleIdentifier(bundleIdentifier, index);
}

QString
ApplicationLookup::urlForApplicationWithBundleIdentifier(const QString& bundleIdentifier,
                                                         DesktopApplicationIndex& refreshedIndex)
{
    if (!isPlausibleIdentifier(bundleIdentifier))
        return {};
    // The index knows every entry by its desktop id, those in subfolders included, and applies
    // the rule that the first entry with an id decides, even one that hides the application.
    return refreshedIndex.findById(bundleIdentifier).path;
}
