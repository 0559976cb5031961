#pragma once

#include "TestHome.h"

#include <QDateTime>
#include <QString>

// The home every whole-rebuild measurement uses: 50 installed applications with a record of 20
// existing documents each, and optionally a shared recently-used file of 2,000 bookmarks over 30
// more applications (one or two per bookmark, every document existing).
namespace RebuildHome {
constexpr int applicationCount = 50;
constexpr int documentsPerApplication = 20;
constexpr int sharedApplicationCount = 30;
constexpr int sharedBookmarkCount = 2000;

QString recordDocumentPath(const QString& home, int application, int document);
QString sharedDocumentPath(const QString& home, int bookmark);

void populate(TestHome& home, bool withSharedRecord, const QDateTime& now);
} // namespace RebuildHome
