#pragma once

#include <QString>
#include <QStringList>

// How typed text and document names are compared: both are folded to the same form (case and
// accents dropped, compatibility forms such as ligatures and full-width letters spelled out) and
// cut into words.
class SearchText
{
public:
    // Lower case without accents: "Résumé" and "RESUME" both give "resume".
    static QString fold(const QString& text);
    // The words a person may type: the runs of letters and digits of the folded text.
    static QStringList queryWords(const QString& text);
    // The words a name is found by: each run of letters and digits and, inside it, the parts
    // that start at a capital letter or where letters and digits meet ("AnnualReport2024" gives
    // "annualreport2024", "annual", "report" and "2024"), all folded.
    static QStringList nameWords(const QString& text);
};
