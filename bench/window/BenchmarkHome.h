#pragma once

#include "TestHome.h"

#include <QProcessEnvironment>

// A temporary home with applications that have recent documents, and the environment that
// points Vorlane at it.
class BenchmarkHome
{
public:
    BenchmarkHome(int applications, int documentsEach);

    TestHome& home() { return m_home; }
    QProcessEnvironment environment() const;

private:
    QString m_systemDataDirs;
    TestHome m_home;
};
