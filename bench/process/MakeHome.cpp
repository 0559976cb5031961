// Makes the rebuild benchmark's home with the shared record, leaves it in place and prints its
// folder, for measuring whole programs on it.

#include "RebuildHome.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    TestHome home;
    if (!home.isValid())
        return 1;
    home.keep();
    RebuildHome::populate(home, true, QDateTime::currentDateTime());
    std::printf("%s\n", home.path().toLocal8Bit().constData());
    return 0;
}
