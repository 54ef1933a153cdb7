#include "CommandLine.h"
#include "DesktopAnimations.h"
#include "Dialogs.h"
#include "Form1.h"
#include "WindowLook.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

// The command line as the program was given it, the toolkit's own options included.
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// The marquee shows a new frame up to 80 times a second, each a small image. On X11, shared
// memory makes every frame wait for the server's word that the image was taken, which costs
// more than sending the few kilobytes over the socket; the window is too small for shared
// memory to pay off elsewhere. A user who sets the variable keeps their choice.
void preferSocketImagesOnX11()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before the application exists, which without a display would end the program:
    // help, the version and a mistake are answered in any terminal.
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
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

    preferSocketImagesOnX11();
    QApplication app(argc, argv);
    WindowLook::registerFonts();
    NativeDialogs dialogs;
    Form1 window(dialogs);
    QApplication::setWindowIcon(window.windowIcon()); // for dialogs and task switchers
    window.show();
    // The desktop's wish for stillness reaches the window from here, so no window built by a
    // test ever asks the bus.
    DesktopAnimations animations;
    QObject::connect(&animations, &DesktopAnimations::changed, &window,
                     &Form1::setDesktopAnimations);
    animations.start();
    openCommandLinePaths(window, commandLine);
    return app.exec();
}
