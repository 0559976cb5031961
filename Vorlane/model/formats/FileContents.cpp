#include "FileContents.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
FileContents failed(FileContents::Outcome outcome, int error = 0)
{
    FileContents contents;
    contents.outcome = outcome;
    if (error != 0)
        contents.errorString = qt_error_string(error);
    return contents;
}

// Gives a large buffer its memory pages in one call before read() copies into it. Left to
// themselves, the pages come one fault each as the copy first touches them: on some virtual
// machines a fault costs ten microseconds, twice the page's share of the one call.
void providePages(QByteArray& bytes, qint64 from)
{
#ifdef MADV_POPULATE_WRITE
    constexpr qint64 smallestWorthIt = 64 * 1024;
    if (bytes.size() - from < smallestWorthIt)
        return;
    const auto pageSize = static_cast<quintptr>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<quintptr>(bytes.data() + from);
    const auto end = reinterpret_cast<quintptr>(bytes.data() + bytes.size());
    const quintptr firstPage = (start + pageSize - 1) & ~(pageSize - 1);
    const quintptr pastLastPage = end & ~(pageSize - 1);
    // A kernel before 5.14 refuses the advice; the read then faults the pages in itself.
    if (pastLastPage > firstPage)
        ::madvise(reinterpret_cast<void*>(firstPage), pastLastPage - firstPage,
                  MADV_POPULATE_WRITE);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(from);
#endif
}

// Up to limit + 1 bytes, the one past the limit telling a file that grew beyond it. The buffer
// starts one byte past the size fstat() gave, so a file that did not change is read by one call.
bool readUpTo(int descriptor, qint64 expectedSize, qint64 limit, QByteArray& bytes)
{
    qint64 capacity = std::min(expectedSize, limit) + 1;
    bytes.resize(capacity);
    qint64 filled = 0;
    providePages(bytes, filled);
    for (;;) {
        const qint64 asked = capacity - filled;
        const ssize_t got = ::read(descriptor, bytes.data() + filled, size_t(asked));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        filled += got;
        // A regular file gives less than asked only at its end.
        if (got < asked || capacity > limit)
            break;
        capacity = std::min(capacity * 2, limit + 1);
        bytes.resize(capacity);
        providePages(bytes, filled);
    }
    bytes.truncate(filled);
    return true;
}
} // namespace

FileContents FileContents::read(const QString& path, qint64 maximumSize)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (path.isEmpty() || encoded.contains('\0'))
        return failed(Outcome::Missing);
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int descriptor = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return errno == ENOENT || errno == ENOTDIR ? failed(Outcome::Missing)
                                                   : failed(Outcome::Unreadable, errno);
    FileContents contents;
    struct stat info
    {};
    if (::fstat(descriptor, &info) != 0) {
        contents = failed(Outcome::Unreadable, errno);
    } else if (!S_ISREG(info.st_mode)) {
        contents = failed(Outcome::NotRegularFile);
    } else if (info.st_size > maximumSize) {
        contents = failed(Outcome::TooLarge);
    } else if (!readUpTo(descriptor, info.st_size, maximumSize, contents.bytes)) {
        contents = failed(Outcome::Unreadable, errno);
    } else if (contents.bytes.size() > maximumSize) {
        contents = failed(Outcome::TooLarge);
    } else {
        contents.outcome = Outcome::Read;
    }
    contents.identity = FileIdentity::of(info);
    ::close(descriptor);
    return contents;
}
