// The command line a desktop handler of .tvr files needs, and nothing more: up to two patch
// set paths, --help and --version. main() reads it once the application exists (which has
// taken out the toolkit's own options) and before it builds the window; the paths are loaded
// once the window is shown, each as its side's LOAD button would load it.
#pragma once

#include <QString>
#include <QStringList>

class Form1;

struct CommandLine
{
    enum class Request {
        Open,    // open the window and load the paths given
        Help,    // print `text` to standard output and exit 0
        Version, // likewise
        Mistake, // print `text` to standard error and exit 2, without opening a window
    };

    Request request = Request::Open;
    QString srcPath;  // absolute; empty when not given
    QString destPath; // absolute; empty when not given
    QString text;     // what to print, ending in a line end; empty for Open
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. Two paths go to
// SRC and DEST, a single one to DEST, the side that can be edited and saved; further paths
// are ignored. Relative paths are taken from `workingDirectory`.
CommandLine parseCommandLine(const QStringList &arguments, const QString &workingDirectory);

// Loads the paths of `commandLine` into `window` (SRC first) from the event loop, so after the
// window is shown. A path that fails shows its load's message and the other still loads.
void openCommandLinePaths(Form1 &window, const CommandLine &commandLine);
