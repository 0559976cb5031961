#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// The translator lives as long as the application, which removes it when it goes.
bool installCatalogue(const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
} // namespace

QString Translations::folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../Resources/translations"));
}

bool Translations::install(const QLocale& locale, const QString& catalogues)
{
    // Qt's standard buttons and dialogs, where the system has Qt's translations installed.
    installCatalogue(locale, QStringLiteral("qtbase"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return installCatalogue(locale, QStringLiteral("vorlane"), catalogues);
}
