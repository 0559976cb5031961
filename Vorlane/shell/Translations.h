#pragma once

#include <QLocale>
#include <QString>

// Vorlane's texts, and Qt's own in its standard dialogs, in the language of the desktop.
class Translations
{
public:
    // Where Vorlane's catalogues lie: the bundle's Resources/translations beside the program,
    // alike in the build tree and installed.
    static QString folder();

    // Installs on the application the catalogues of `locale`'s languages found in `catalogues`
    // and Qt's own; a language without a catalogue leaves the texts English. Returns whether
    // Vorlane's catalogue was found.
    static bool install(const QLocale& locale = QLocale::system(),
                        const QString& catalogues = folder());
};
