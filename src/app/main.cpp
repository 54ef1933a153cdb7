#include "CommandLine.h"
#include "Dialogs.h"
#include "Form1.h"
#include "WindowLook.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

// True when the command line only asks for --help or --version. Those need no display, so
// a core application answers them in any terminal; anything else, the toolkit's own options
// included, is read by the GUI application.
bool asksOnlyForText(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const CommandLine::Request request = parseCommandLine(arguments, QString()).request;
    return request == CommandLine::Request::Help || request == CommandLine::Request::Version;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = asksOnlyForText(argc, argv)
        ? std::make_unique<QCoreApplication>(argc, argv)
        : std::make_unique<QApplication>(argc, argv);
    const CommandLine commandLine =
        parseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    switch (commandLine.request) {
    case CommandLine::Request::Help:
    case CommandLine::Request::Version:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Request::Mistake:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 2;
    case CommandLine::Request::Open:
        break;
    }

    WindowLook::registerFonts();
    NativeDialogs dialogs;
    Form1 window(dialogs);
    QApplication::setWindowIcon(window.windowIcon()); // for dialogs and task switchers
    window.show();
    openCommandLinePaths(window, commandLine);
    return app->exec();
}
