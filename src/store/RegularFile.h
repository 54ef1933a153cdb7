// A patch set file opened for reading, once per load, without ever blocking. Only regular
// files are read: a FIFO without a writer would hang the window and a device such as
// /dev/zero would fill memory, so they are refused at once. Used by LoadPatchSet and
// PatchSetFileExists; closed when it goes out of scope.
#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

class RegularFile
{
public:
    enum class Opened {
        File,     // a regular file, ready to read
        Missing,  // nothing readable there: no such file, no access, or a directory
        NotAFile, // something else: a FIFO, a device or a socket
    };

    explicit RegularFile(const QString &path);
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    Opened opened() const { return m_opened; }
    // The size when it was opened; it may still change while it is read.
    qint64 size() const { return m_size; }
    // The last change of its contents when it was opened, in local time. Always valid for an
    // opened file: a time more than about three million years from 1970 is given as that far.
    QDateTime modified() const { return m_modified; }
    // Up to `room` bytes; 0 at the end, -1 on a read error.
    qint64 read(char *buffer, qint64 room);
    // Moves the read position past a hole of a sparse file, to the next stored byte or to the
    // end. A hole reads as zero bytes, so this only spares reading them; it does nothing where
    // the file system cannot tell holes apart.
    void skipHole();

private:
    int m_descriptor = -1;
    Opened m_opened = Opened::Missing;
    qint64 m_size = 0;
    QDateTime m_modified;
};
