#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class TestHome;

// The documents the files views are tested with: real pictures and PDF files, recorded by a
// desktop application the way it records them, dated around a fixed noon so that the list always
// has its three headings.
//
// "Viewer" (org.example.Viewer) has nine documents: four used today, two yesterday (this
// week: the calendar's week began two days before), three older. Its rows in the list are
// TODAY, files 0-3, THIS WEEK, files 4-5, LAST WEEK AND BEYOND, files 6-8. "Editor"
// (org.example.Editor) has two older text files.
class FilesTestHome
{
public:
    struct Document
    {
        QString name;
        QString relativePath;
        int minutesBeforeNoon;
    };

    // The fixed moment the tests live at: today, 12:00 local time.
    static QDateTime now();
    // A calendar at now() whose week began two days before; the system's time zone.
    static void installCalendar();
    // Gives the test home's system data folder the desktop's MIME database and icon themes
    // (links to /usr/share), so documents are typed and drawn as on a real desktop.
    static void useSystemDataFolders(const TestHome& home);

    // Viewer's documents, newest first (the order the views show them).
    static const QList<Document>& viewerDocuments();
    static QStringList viewerNames();

    static void addViewer(TestHome& home);
    static void addEditor(TestHome& home);

    // Writes a document of the type its suffix names: a photo-like JPEG or PNG picture, or a
    // PDF page with a heading and lines of text.
    static QString writeDocument(const QString& path, int seed);
    static QString writePicture(const QString& path, int seed);
    static QString writePdf(const QString& path, int seed);

    // Where tests keep their screenshots.
    static QString artifactsFolder();
};
