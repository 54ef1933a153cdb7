// Writes every set of LimitSets.h as a file into the folder given, named after the set, so
// that the comparison of two stores reads the limits the store's tests check.
#include "LimitSets.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_limit_sets FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const limits::NamedLimitSet &set : limits::limitSets()) {
        const QByteArray bytes = set.make().file;
        QFile file(folder.filePath(QString::fromLatin1(set.name + ".tvr")));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "write_limit_sets: cannot write %s\n",
                         qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
