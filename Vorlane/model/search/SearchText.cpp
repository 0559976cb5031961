#include "SearchText.h"

namespace {
bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber();
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Where a new part starts inside a run: a capital after a small letter, or a letter next to a
// digit.
bool startsPart(QChar previous, QChar current)
{
    if (previous.isLower() && current.isUpper())
        return true;
    return previous.isDigit() != current.isDigit();
}

// The runs of word characters of text, unfolded.
QStringList runsOf(const QString& text)
{
    QStringList runs;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && isWordCharacter(text.at(i));
        if (inWord && start < 0)
            start = i;
        if (!inWord && start >= 0) {
            runs.append(text.mid(start, i - start));
            start = -1;
        }
    }
    return runs;
}
} // namespace

QString SearchText::fold(const QString& text)
{
    if (isAscii(text))
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        // The accents decomposition split off.
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c);
    }
    return folded.toCaseFolded();
}

QStringList SearchText::queryWords(const QString& text)
{
    return runsOf(fold(text));
}

QStringList SearchText::nameWords(const QString& text)
{
    QStringList words;
    // The parts are cut before folding: folding loses the capitals that mark them.
    for (const QString& run : runsOf(text)) {
        const QString foldedRun = fold(run);
        words.append(foldedRun);
        // Folding ASCII keeps every letter in its place: the parts are pieces of the folded run.
        const bool samePlaces = foldedRun.size() == run.size() && isAscii(run);
        qsizetype partStart = 0;
        for (qsizetype i = 1; i <= run.size(); ++i) {
            if (i < run.size() && !startsPart(run.at(i - 1), run.at(i)))
                continue;
            if (partStart == 0 && i == run.size())
                break; // the whole run is one part, already there
            words.append(samePlaces ? foldedRun.mid(partStart, i - partStart)
                                    : fold(run.mid(partStart, i - partStart)));
            partStart = i;
        }
    }
    return words;
}
