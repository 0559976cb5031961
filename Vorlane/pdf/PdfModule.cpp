#include "PdfModule.h"

#include "PdfReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>

#include <memory>

namespace {
Q_LOGGING_CATEGORY(pdfModuleLog, "vorlane.pdf")

QStringList candidatePaths()
{
    const QString fileName = QStringLiteral(VORLANE_PDF_MODULE_FILE_NAME);
    QStringList paths;
    // Installed, and in the build's own bundle: Contents/MacOS/../PlugIns.
    if (QCoreApplication::instance())
        paths << QDir(QCoreApplication::applicationDirPath())
                     .filePath(QStringLiteral("../PlugIns/") + fileName);
    // Programs of the build outside the bundle (tests, benchmarks) find the one it made.
    paths << QStringLiteral(VORLANE_PDF_MODULE_BUILD_DIR "/") + fileName;
    return paths;
}

// Never unloaded: the documents it opened live in its code. Kept here, in reach, for the life of
// the program.
QLibrary* loadedModule = nullptr;

const PdfReader* loadReader()
{
    QStringList failures;
    for (const QString& path : candidatePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        auto library = std::make_unique<QLibrary>(path);
        const auto entry =
            reinterpret_cast<PdfReaderEntry>(library->resolve(VORLANE_PDF_READER_ENTRY));
        if (entry) {
            loadedModule = library.release();
            return entry();
        }
        failures << library->errorString();
    }
    qCWarning(pdfModuleLog) << "PDF documents cannot be drawn: the PDF module was not loaded"
                            << (failures.isEmpty() ? candidatePaths() : failures);
    return nullptr;
}
} // namespace

const PdfReader* PdfModule::reader()
{
    // Thumbnails and previews render on worker threads: the first of them loads it.
    static const PdfReader* const loaded = loadReader();
    return loaded;
}
