#include "CommandLine.h"
#include "DesktopAnimations.h"
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
    preferSocketImagesOnX11();
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
    // The desktop's wish for stillness reaches the window from here, so no window built by a
    // test ever asks the bus.
    DesktopAnimations animations;
    QObject::connect(&animations, &DesktopAnimations::changed, &window,
                     &Form1::setDesktopAnimations);
    animations.start();
    openCommandLinePaths(window, commandLine);
    return app->exec();
}
