#include "RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Seconds from 1970, about three million years either way: a last change beyond is shown as
// this one, which every time zone can name.
constexpr qint64 FarthestTime = 100'000'000'000'000;

} // namespace

RegularFile::RegularFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        return;
    }
    // Without O_NONBLOCK, opening a FIFO waits for a writer; its type is known only once
    // it is open.
    m_descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info = {};
    if (m_descriptor < 0) {
        // A socket cannot be opened at all; it is still no missing file.
        const bool something = ::stat(name.constData(), &info) == 0 && !S_ISDIR(info.st_mode);
        m_opened = something && !S_ISREG(info.st_mode) ? Opened::NotAFile : Opened::Missing;
        return;
    }
    if (::fstat(m_descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_opened = Opened::NotAFile;
        return;
    }
    const int flags = ::fcntl(m_descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(m_descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return;
    }
    m_opened = Opened::File;
    m_size = qint64(info.st_size);
    // A file system such as tmpfs keeps any 64-bit time a tool sets; in milliseconds that
    // could overflow, and near the end of their range a date east of UTC is invalid.
    const qint64 seconds = std::clamp<qint64>(info.st_mtim.tv_sec, -FarthestTime, FarthestTime);
    m_modified = QDateTime::fromMSecsSinceEpoch(seconds * 1000 + info.st_mtim.tv_nsec / 1000000);
}

RegularFile::~RegularFile()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

qint64 RegularFile::read(char *buffer, qint64 room)
{
    if (m_opened != Opened::File) {
        return -1;
    }
    for (;;) {
        const ssize_t got = ::read(m_descriptor, buffer, size_t(room));
        if (got >= 0 || errno != EINTR) {
            return qint64(got);
        }
    }
}

void RegularFile::skipHole()
{
    if (m_opened != Opened::File) {
        return;
    }
    const off_t at = ::lseek(m_descriptor, 0, SEEK_CUR);
    // No stored byte at or after `at`: the rest of the file is one hole.
    if (at >= 0 && ::lseek(m_descriptor, at, SEEK_DATA) < 0 && errno == ENXIO) {
        ::lseek(m_descriptor, 0, SEEK_END);
    }
}
