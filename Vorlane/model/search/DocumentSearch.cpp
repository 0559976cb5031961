#include "DocumentSearch.h"

#include "SearchText.h"
#include "WordMatch.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>

namespace {
// The document's folder as a person knows it: below the home folder when inside it.
QString folderOf(const QUrl& fileUrl, const QString& home)
{
    const QString path = fileUrl.isLocalFile() ? fileUrl.toLocalFile() : fileUrl.path();
    const QString folder = QFileInfo(path).path();
    if (folder == home)
        return {};
    if (folder.startsWith(home + QLatin1Char('/')))
        return folder.mid(home.size() + 1);
    return folder;
}
} // namespace

DocumentSearch::DocumentSearch(const QList<RecentApp>& apps, const DocumentSearch* previous)
    : m_homePath(QDir::homePath())
{
    for (qsizetype appIndex = 0; appIndex < apps.size(); ++appIndex) {
        const QList<RecentFile>& files = apps.at(appIndex).recentFiles();
        for (qsizetype fileIndex = 0; fileIndex < files.size(); ++fileIndex) {
            m_documents.append({
                .appIndex = appIndex,
                .fileIndex = fileIndex,
                .words = wordsOf(files.at(fileIndex), previous),
            });
        }
    }
}

std::shared_ptr<const DocumentSearch::Words> DocumentSearch::wordsOf(const RecentFile& file,
                                                                     const DocumentSearch* previous)
{
    const QUrl& key = file.filePath();
    const auto sameName = [&file](const auto found) {
        return found.value()->fileName == file.name();
    };
    if (const auto known = m_words.constFind(key); known != m_words.cend() && sameName(known))
        return known.value();
    if (previous) {
        if (const auto known = previous->m_words.constFind(key);
            known != previous->m_words.cend() && sameName(known))
            return m_words.insert(key, known.value()).value();
    }
    const QString folder = folderOf(file.filePath(), m_homePath);
    auto folderWords = m_folderWords.constFind(folder);
    if (folderWords == m_folderWords.cend())
        folderWords = m_folderWords.insert(folder, SearchText::nameWords(folder));
    const QDateTime& used = file.dateAccessed();
    auto words = std::make_shared<const Words>(Words{
        .fileName = file.name(),
        .used = used,
        .usedAt = used.isValid() ? used.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(),
        .name = SearchText::nameWords(file.name()),
        .folder = folderWords.value(),
        .sortName = SearchText::fold(file.name()),
    });
    m_words.insert(key, words);
    return words;
}

int DocumentSearch::scoreOf(const Document& document, const QStringList& typedWords, bool inFolders)
{
    int score = 0;
    for (const QString& typed : typedWords) {
        WordMatch::Tier tier = WordMatch::best(typed, document.words->name);
        if (inFolders && tier != WordMatch::Tier::whole)
            tier = std::max(tier, WordMatch::best(typed, document.words->folder));
        if (tier == WordMatch::Tier::none)
            return -1;
        score += static_cast<int>(tier);
    }
    return score;
}

QList<DocumentSearch::Hit> DocumentSearch::find(const QString& typed) const
{
    const QStringList typedWords = SearchText::queryWords(typed);
    const bool inFolders = typed.contains(QLatin1Char('/'));
    struct Found
    {
        int score;
        const Document* document;
    };
    QList<Found> found;
    for (const Document& document : m_documents) {
        const int score = scoreOf(document, typedWords, inFolders);
        if (score >= 0)
            found.append({score, &document});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return comesBefore(*a.document, *b.document);
    });
    QList<Hit> hits;
    hits.reserve(found.size());
    for (const Found& hit : std::as_const(found))
        hits.append({hit.document->appIndex, hit.document->fileIndex, hit.score});
    return hits;
}

bool DocumentSearch::comesBefore(const Document& a, const Document& b)
{
    if (a.words->usedAt != b.words->usedAt)
        return a.words->usedAt > b.words->usedAt;
    if (a.words->sortName != b.words->sortName)
        return a.words->sortName < b.words->sortName;
    // The same name at the same moment: the store's order decides, so the order never wavers.
    return std::pair(a.appIndex, a.fileIndex) < std::pair(b.appIndex, b.fileIndex);
}
