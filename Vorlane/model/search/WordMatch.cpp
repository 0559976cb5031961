#include "WordMatch.h"

namespace {
// The letters of typed appear in word in their order, the first one at the word's start.
bool isFuzzyMatch(const QString& typed, const QString& word)
{
    if (typed.isEmpty() || word.isEmpty() || word.front() != typed.front())
        return false;
    qsizetype next = 1;
    for (qsizetype i = 1; i < word.size() && next < typed.size(); ++i) {
        if (word.at(i) == typed.at(next))
            ++next;
    }
    return next == typed.size();
}
} // namespace

WordMatch::Tier WordMatch::of(const QString& typedWord, const QString& word)
{
    if (typedWord.size() > word.size())
        return Tier::none;
    if (word.startsWith(typedWord))
        return typedWord.size() == word.size() ? Tier::whole : Tier::prefix;
    if (word.contains(typedWord))
        return Tier::inside;
    return isFuzzyMatch(typedWord, word) ? Tier::fuzzy : Tier::none;
}

WordMatch::Tier WordMatch::best(const QString& typedWord, const QStringList& words)
{
    Tier best = Tier::none;
    for (const QString& word : words) {
        best = std::max(best, of(typedWord, word));
        if (best == Tier::whole)
            break;
    }
    return best;
}
