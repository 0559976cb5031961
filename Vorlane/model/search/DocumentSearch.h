#pragma once

#include "RecentApp.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// Finds documents of every application by the words a person types. Built once from the store's
// list (the names cut into folded words ahead), it answers each typed text without touching a
// name again.
//
// A document is found when every typed word matches one of its name's words (WordMatch): case
// and accents do not matter, and a word may be typed in part or with letters left out. With a
// "/" in the text, the words of the document's folder count as well (below the home folder, for
// documents inside it), so "work/rep" finds the reports in a folder called Work.
//
// Order: the sum of the typed words' tiers, highest first (a whole word counts 4, a word's start
// 3, a part inside a word 2, letters left out 1); ties newest first, then by name. Text with no
// words (a lone "/") finds every document, newest first.
class DocumentSearch
{
public:
    struct Hit
    {
        // Where the document is in the list the search was built from.
        qsizetype appIndex = -1;
        qsizetype fileIndex = -1;
        int score = 0;
    };

    DocumentSearch() = default;
    // Cuts the words of every document of apps. The words of a document the previous search
    // had (same location, same name) are taken from it: after a refresh of the store, most are.
    explicit DocumentSearch(const QList<RecentApp>& apps, const DocumentSearch* previous = nullptr);

    // The documents the typed text finds, best first.
    QList<Hit> find(const QString& typed) const;
    qsizetype documentCount() const { return m_documents.size(); }

private:
    struct Words
    {
        QString fileName;
        // Local times take a time zone lookup to compare: the moment is worked out once.
        QDateTime used;
        qint64 usedAt;
        QStringList name;
        QStringList folder;
        QString sortName;
    };

    struct Document
    {
        qsizetype appIndex;
        qsizetype fileIndex;
        // Shared with the other documents of the same location, name and date.
        std::shared_ptr<const Words> words;
    };

    std::shared_ptr<const Words> wordsOf(const RecentFile& file, const DocumentSearch* previous);
    static int scoreOf(const Document& document, const QStringList& typedWords, bool inFolders);
    // Among documents that match alike: newest first, then by name.
    static bool comesBefore(const Document& a, const Document& b);

    QString m_homePath;
    QList<Document> m_documents;
    // By location; the name is checked.
    QHash<QUrl, std::shared_ptr<const Words>> m_words;
    // Words of folders, which many documents share.
    QHash<QString, QStringList> m_folderWords;
};
