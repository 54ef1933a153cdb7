#include "Dialogs.h"
#include "Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    registerApplicationFonts();
    NativeDialogs dialogs;
    Form1 window(dialogs);
    QApplication::setWindowIcon(window.windowIcon()); // for dialogs and task switchers
    window.show();
    return app.exec();
}
