// Program entry: the application, its one window, and the event loop until the window closes.
#include <QApplication>

#include "Ucompiler.h"
#include "error_display.h"

int main(int argc, char** argv) {
    prepare_application_environment();
    ZorvantApplication app(argc, argv);
    Tfmain fmain;
    fmain.show();
    app.exec();
    return 0;
}
