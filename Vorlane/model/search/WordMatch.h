#pragma once

#include <QString>
#include <QStringList>

// How well one typed word matches the words of a name, from best to none. A document is found
// when every typed word matches; the better its words match, the higher it stands.
class WordMatch
{
public:
    enum class Tier
    {
        none = 0,
        // The typed letters appear in order within one word, the first one starting it:
        // "rpt" in "report".
        fuzzy = 1,
        // The typed word lies inside a word: "port" in "report".
        inside = 2,
        // A word starts with the typed word: "rep" in "report".
        prefix = 3,
        // The typed word is a whole word: "report".
        whole = 4,
    };

    // The best tier the typed word reaches against any of the words. Both are folded.
    static Tier best(const QString& typedWord, const QStringList& words);
    static Tier of(const QString& typedWord, const QString& word);
};
