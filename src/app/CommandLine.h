// The command line a desktop handler of .tvr files needs, and nothing more: up to two patch
// set paths, -h or --help, and --version. main() reads it before the application exists, so
// help, the version and a mistake need no display; the toolkit's own options (-platform,
// -style, -display, ...) are passed over for the application to take. The paths are loaded
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

// `arguments` as the program was given them, the program first and the toolkit's options
// included. Two paths go to SRC and DEST, a single one to DEST, the side that can be edited
// and saved; further paths are ignored. Relative paths are taken from `workingDirectory`.
CommandLine parseCommandLine(const QStringList &arguments, const QString &workingDirectory);

// Loads the paths of `commandLine` into `window` (SRC first) from the event loop, so after the
// window is shown. A path that fails shows its load's message and the other still loads.
void openCommandLinePaths(Form1 &window, const CommandLine &commandLine);
