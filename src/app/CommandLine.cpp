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

// The toolkit's own options, which the application object takes out of the command line when
// it starts (QGuiApplication, QApplication and the X11 platform). The command line is read
// before that, since --help, --version and a mistake must be answered without a display, so
// these are known here and passed over, each with its value, rather than called unknown.
// clang-format off
const char *const ToolkitOptionsWithValue[] = {
    // every platform
    "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style", "stylesheet",
    // X11
    "display", "geometry", "title", "icon", "name", "visual",
};
const char *const ToolkitFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb"};
// clang-format on

void addToolkitOptions(QCommandLineParser &parser)
{
    for (const char *name : ToolkitOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : ToolkitFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// Qt names the program in the usage line only once an application object exists, and before
// that writes a stand-in; the program is named here as it was started, as Qt would name it.
QString helpText(const QCommandLineParser &parser, const QString &program)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + program
        + text.mid(text.indexOf(QLatin1String(" [options]")));
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QString &workingDirectory)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows two TAVRO patch sets side by side, SRC on the left and DEST on\n"
                       "the right, and merges entries from SRC into DEST."));
    // The toolkit's options are words behind one dash ("-platform offscreen"), so every such
    // word is an option's name; -h is the one short name.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not Qt's own help and version options, which would add -? and -v, which the manual page
    // does not promise, and print before the toolkit's options are known.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this summary and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the program's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    addToolkitOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("SRC.tvr"),
        QStringLiteral("Patch set to load into SRC; a single path is loaded into DEST."),
        QStringLiteral("[SRC.tvr]"));
    parser.addPositionalArgument(
        QStringLiteral("DEST.tvr"),
        QStringLiteral("Patch set to load into DEST, the side that can be edited and saved."),
        QStringLiteral("[DEST.tvr]"));

    const QString program = arguments.value(0, QStringLiteral("tolvane"));
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.request = CommandLine::Request::Mistake;
        result.text = QStringLiteral("tolvane: ") + parser.errorText() + QStringLiteral("\n\n")
            + helpText(parser, program);
        return result;
    }
    if (parser.isSet(help)) {
        result.request = CommandLine::Request::Help;
        result.text = helpText(parser, program);
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
