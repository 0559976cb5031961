// Find by typing in the window: what starts a search, the results across applications with
// their keys, and the results following the store.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "DocumentSearchController.h"
#include "DocumentSearchModel.h"
#include "DocumentSearchView.h"
#include "FileActions.h"
#include "FilesViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>

class DocumentSearchTest : public QObject
{
    Q_OBJECT

public:
    explicit DocumentSearchTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        // Two applications with a report each; the older one's is a whole word, the better match.
        addApplication(QStringLiteral("org.example.Writer"), QStringLiteral("Writer"), 5,
                       {QStringLiteral("Report final.odt"), QStringLiteral("Letter.odt")});
        addApplication(QStringLiteral("org.example.Viewer"), QStringLiteral("Viewer"), 1,
                       {QStringLiteral("reporting draft.pdf"), QStringLiteral("Éclair.png")});
        QVERIFY(refreshStoreAndWait());
        auto actions = std::make_unique<RecordingFileActions>();
        m_actions = actions.get();
        FileActions::install(std::move(actions));
    }

    void cleanupTestCase() { FileActions::install(nullptr); }

    void init()
    {
        m_actions->forget();
        QVERIFY(showFocusedMainWindow(m_controller));
    }

    void typingFindsDocumentsOfEveryApplicationAndEscapeClearsFirst()
    {
        type("report");
        QVERIFY(search()->isSearching());
        QCOMPARE(search()->typedText(), QStringLiteral("report"));
        QCOMPARE(foundNames(), (QStringList{QStringLiteral("Report final.odt"),
                                            QStringLiteral("reporting draft.pdf")}));
        QVERIFY(search()->view()->isVisible());
        QVERIFY(!filesSide()->isVisible());
        QCOMPARE(search()->view()->selectedRow(), 0);

        pressKey(Qt::Key_Escape);
        QVERIFY(!search()->isSearching());
        QVERIFY(filesSide()->isVisible());
        QVERIFY(window()->isShown());
        pressKey(Qt::Key_Escape);
        QVERIFY(!window()->isShown());
    }

    void accentsBackspaceAndSpaceShapeTheWords()
    {
        type("ECL");
        QCOMPARE(foundNames(), QStringList{QStringLiteral("Éclair.png")});
        pressKey(Qt::Key_Backspace);
        pressKey(Qt::Key_Backspace);
        type("  ");
        QCOMPARE(search()->typedText(), QStringLiteral("E  "));
        // "E" alone: a word start of Éclair, inside "Letter", "Report" and "reporting".
        QCOMPARE(foundNames().constFirst(), QStringLiteral("Éclair.png"));
        type("x");
        QCOMPARE(foundNames(), QStringList());
        QVERIFY(search()
                    ->view()
                    ->findChild<QLabel*>(QStringLiteral("documentSearchNothingFound"))
                    ->isVisible());
    }

    void returnOpensWithTheRecordingApplicationAndSpacePreviewsAfterMoving()
    {
        type("report");
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Return);
        QCOMPARE(m_actions->opened.size(), 1);
        QCOMPARE(m_actions->opened.constFirst().appName, QStringLiteral("Viewer"));
        QCOMPARE(m_actions->opened.constFirst().index, 0);
        QCOMPARE(m_actions->opened.constFirst().viewType, QStringLiteral("search"));
        QVERIFY(!m_actions->opened.constFirst().reveal);

        pressKey(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_actions->opened.size(), 2);
        QVERIFY(m_actions->opened.constLast().reveal);

        pressKey(Qt::Key_Space);
        QCOMPARE(search()->typedText(), QStringLiteral("report"));
        QCOMPARE(m_actions->previewed.size(), 1);
        QCOMPARE(m_actions->previewed.constFirst(), search()->view()->list());
        pressKey(Qt::Key_Escape);
    }

    void choosingAnApplicationEndsTheSearch()
    {
        type("report");
        QAbstractItemView* apps =
            m_controller->contentViewController()->appsViewController()->table();
        const QRect second = apps->visualRect(apps->model()->index(1, 0));
        QTest::mouseClick(apps->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
        QVERIFY(!search()->isSearching());
        QVERIFY(filesSide()->isVisible());
    }

    void contextMenuOpensRevealsAndPreviewsTheResultUnderThePointer()
    {
        type("report");
        QListView* list = search()->view()->list();
        const QRect second = list->visualRect(list->model()->index(1, 0));
        const QStringList items = {QStringLiteral("Open"), QStringLiteral("Show in File Manager"),
                                   QStringLiteral("Preview \"reporting draft.pdf\"")};
        for (const QString& item : items) {
            Q_EMIT list->customContextMenuRequested(second.center());
            auto* menu = list->findChild<QMenu*>(QStringLiteral("documentSearchMenu"));
            QVERIFY(menu);
            QCOMPARE(search()->view()->selectedRow(), 1);
            const QList<QAction*> actions = menu->actions();
            const auto action = std::find_if(actions.cbegin(), actions.cend(),
                                             [&](QAction* a) { return a->text() == item; });
            QVERIFY2(action != actions.cend(), qPrintable(item));
            (*action)->trigger();
            menu->close();
            QTRY_VERIFY(!list->findChild<QMenu*>(QStringLiteral("documentSearchMenu")));
        }
        QCOMPARE(m_actions->opened.size(), 2);
        QCOMPARE(m_actions->opened.at(0).appName, QStringLiteral("Viewer"));
        QVERIFY(!m_actions->opened.at(0).reveal);
        QVERIFY(m_actions->opened.at(1).reveal);
        QCOMPARE(m_actions->previewed, QList<QAbstractItemView*>{list});
        pressKey(Qt::Key_Escape);
    }

    void textFieldsKeepTheirTyping()
    {
        auto* field = new QLineEdit(m_controller->contentViewController());
        field->show();
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        type("report");
        QCOMPARE(field->text(), QStringLiteral("report"));
        QVERIFY(!search()->isSearching());
        delete field;
    }

    void resultsFollowTheStoreKeepingTheSelection()
    {
        type("report");
        pressKey(Qt::Key_Down);
        QCOMPARE(selectedName(), QStringLiteral("reporting draft.pdf"));
        addApplication(QStringLiteral("org.example.Notes"), QStringLiteral("Notes"), 0,
                       {QStringLiteral("Report.txt")});
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(foundNames(),
                 (QStringList{QStringLiteral("Report.txt"), QStringLiteral("Report final.odt"),
                              QStringLiteral("reporting draft.pdf")}));
        QCOMPARE(selectedName(), QStringLiteral("reporting draft.pdf"));
        pressKey(Qt::Key_Escape);
    }

private:
    void addApplication(const QString& id, const QString& name, int minutesAgo,
                        const QStringList& documents)
    {
        TestHome& home = m_home.home();
        home.installApplication(id, name);
        const QDateTime when = QDateTime::currentDateTime().addSecs(-60LL * minutesAgo);
        QStringList paths;
        for (const QString& document : documents)
            paths << home.createDocument(QStringLiteral("Documents/%1").arg(document), when);
        home.writeRecord(id, paths, when);
    }

    MainWindow* window() const { return m_controller->window(); }
    DocumentSearchController* search() const
    {
        return m_controller->contentViewController()->documentSearch();
    }
    QWidget* filesSide() const
    {
        return m_controller->contentViewController()->filesViewController();
    }
    // Keys go where the window system delivers them: to the focus widget.
    QWidget* keyReceiver() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : window();
    }
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(keyReceiver(), key, modifiers);
    }
    void type(const char* text)
    {
        for (const QChar c : QString::fromUtf8(text))
            QTest::keyClicks(keyReceiver(), QString(c));
    }

    QStringList foundNames() const
    {
        const DocumentSearchModel* model = search()->view()->model();
        QStringList names;
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }

    QString selectedName() const
    {
        const int row = search()->view()->selectedRow();
        return search()->view()->model()->index(row, 0).data().toString();
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    RecordingFileActions* m_actions = nullptr;
};

WINDOW_TEST_MAIN(DocumentSearchTest)
#include "DocumentSearchTest.moc"
