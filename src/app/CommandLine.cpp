#include "CommandLine.h"

#include "Form1.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QMetaObject>

namespace {

// Not cleaned: "link/.." is where the link leads, as the file system reads it.
QString absolutePath(const QString &path, const QString &workingDirectory)
{
    return QDir(workingDirectory).absoluteFilePath(path);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QString &workingDirectory)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows two TAVRO patch sets side by side, SRC on the left and DEST on\n"
                       "the right, and merges entries from SRC into DEST."));
    // Long names only: Qt's own help and version options would add -h, -? and -v, which the
    // manual page does not promise.
    const QCommandLineOption help(QStringLiteral("help"),
                                  QStringLiteral("Print this summary and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the program's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("SRC.tvr"),
        QStringLiteral("Patch set to load into SRC; a single path is loaded into DEST."),
        QStringLiteral("[SRC.tvr]"));
    parser.addPositionalArgument(
        QStringLiteral("DEST.tvr"),
        QStringLiteral("Patch set to load into DEST, the side that can be edited and saved."),
        QStringLiteral("[DEST.tvr]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.request = CommandLine::Request::Mistake;
        result.text = QStringLiteral("tolvane: ") + parser.errorText() + QStringLiteral("\n\n")
            + parser.helpText();
        return result;
    }
    if (parser.isSet(help)) {
        result.request = CommandLine::Request::Help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.request = CommandLine::Request::Version;
        result.text = QStringLiteral("tolvane " TOLVANE_VERSION "\n");
        return result;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.size() == 1) {
        result.destPath = absolutePath(paths.at(0), workingDirectory);
    } else if (paths.size() >= 2) {
        result.srcPath = absolutePath(paths.at(0), workingDirectory);
        result.destPath = absolutePath(paths.at(1), workingDirectory);
    }
    return result;
}

void openCommandLinePaths(Form1 &window, const CommandLine &commandLine)
{
    const QString src = commandLine.srcPath;
    const QString dest = commandLine.destPath;
    if (src.isEmpty() && dest.isEmpty()) {
        return;
    }
    // One call for both, so a message about SRC is answered before DEST starts loading.
    QMetaObject::invokeMethod(
        &window,
        [&window, src, dest] {
            if (!src.isEmpty()) {
                window.loadPath(Side::Left, src);
            }
            if (!dest.isEmpty()) {
                window.loadPath(Side::Right, dest);
            }
        },
        Qt::QueuedConnection);
}
