#include "BenchmarkHome.h"

#include <QDateTime>

BenchmarkHome::BenchmarkHome(int applications, int documentsEach)
    : m_systemDataDirs(
          qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int a = 0; a < applications; ++a) {
        const QString id = QStringLiteral("org.example.App%1").arg(a, 3, 10, QLatin1Char('0'));
        m_home.installApplication(id, QStringLiteral("Application %1").arg(a));
        const QDateTime when = now.addSecs(-60LL * (a + 1));
        QStringList documents;
        for (int d = 0; d < documentsEach; ++d)
            documents << m_home.createDocument(
                QStringLiteral("Documents/App%1/Document %2.txt").arg(a).arg(d), when.addSecs(-d));
        m_home.writeRecord(id, documents, when);
    }
}

QProcessEnvironment BenchmarkHome::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The home's applications first, then the system's icon themes.
    environment.insert(QStringLiteral("XDG_DATA_DIRS"),
                       m_home.systemDataDir() + u':' + m_systemDataDirs);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}
