// Typing to find documents with 5,000 of them (50 applications of 100) in the window: for each
// key of a three-letter search, the time from the key to the window repainted with the narrowed
// results (one frame is 16 ms). Keys go to the focus widget as the window system delivers them.
// bench_window_search_typing [rounds]   (offscreen; no X server needed)
#include "BenchmarkHome.h"
#include "DocumentSearchController.h"
#include "DocumentSearchModel.h"
#include "DocumentSearchView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "SharedReferences.h"
#include "StallMeter.h"
#include "ViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>

namespace {
void sendKey(int key, const QString& text = {})
{
    QWidget* receiver = QApplication::focusWidget();
    if (!receiver)
        receiver = sharedMainWindowController->window();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(receiver, &release);
}

// The key's handling and the window's repaint, in milliseconds.
double typeAndPaint(QChar c)
{
    QElapsedTimer timer;
    timer.start();
    sendKey(Qt::Key_A + (c.toUpper().unicode() - 'A'), QString(c));
    sharedMainWindowController->window()->repaint();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    BenchmarkHome home(50, 100);
    MainWindowController controller;
    sharedMainWindowController = &controller;
    controller.window()->resize(780, 440);
    controller.window()->show();
    // A person looks at the window a moment before typing: the words are cut meanwhile.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    DocumentSearchController* search = controller.contentViewController()->documentSearch();
    const QString typed = QStringLiteral("doc");
    QList<QList<double>> keys(typed.size());
    qsizetype found = 0;
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < typed.size(); ++i)
            keys[i] << typeAndPaint(typed.at(i));
        found = search->view()->model()->rowCount();
        sendKey(Qt::Key_Escape);
        QCoreApplication::processEvents();
    }
    std::printf("5,000 documents, \"%s\" typed %d times, %lld found:\n", qPrintable(typed), rounds,
                static_cast<long long>(found));
    double worst = 0;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const double keyWorst = *std::max_element(keys.at(i).cbegin(), keys.at(i).cend());
        worst = std::max(worst, keyWorst);
        std::printf("  key %lld '%s': median %.2f ms, worst %.2f ms\n",
                    static_cast<long long>(i + 1), qPrintable(QString(typed.at(i))),
                    StallMeter::median(keys.at(i)), keyWorst);
    }
    std::printf("worst key %.2f ms (one frame is 16 ms)\n", worst);
    return 0;
}
