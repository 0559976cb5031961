// standin-file-manager: owns org.freedesktop.FileManager1 on the session bus and prints every
// ShowItems call as one line, "ShowItems <startup id> <uri>...", until it is stopped. For scripts
// that drive Vorlane as a user would.
#include "StandInFileManager.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    StandInFileManager fileManager(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));
    if (!fileManager.isRegistered()) {
        std::fprintf(stderr, "standin-file-manager: the name is taken or there is no bus\n");
        return 1;
    }
    QObject::connect(&fileManager, &StandInFileManager::itemsShown,
                     [](const QStringList& uris, const QString& startupId) {
                         const QString line = QStringLiteral("ShowItems ") + startupId + u' ' +
                                              uris.join(u' ') + u'\n';
                         std::fputs(line.toUtf8().constData(), stdout);
                         std::fflush(stdout);
                     });
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
