#include "Dialogs.h"
#include "Form1.h"
#include "WindowLook.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WindowLook::registerFonts();
    NativeDialogs dialogs;
    Form1 window(dialogs);
    QApplication::setWindowIcon(window.windowIcon()); // for dialogs and task switchers
    window.show();
    return app.exec();
}
