// Program entry: the command line, the application, its one window, and the event loop until
// the window closes.
#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Ucompiler.h"
#include "error_display.h"
#include "window_args.h"

namespace {

// While the application object connects to the display, the toolkit's complaints about a
// display it cannot reach are held back, and its fatal end becomes one line and exit code 1.
void on_startup_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const QByteArray category(context.category != nullptr ? context.category : "");
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "zorvant: cannot open the window: no display could be reached%s\n",
                     qEnvironmentVariableIsEmpty("DISPLAY") &&
                             qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                         ? " (DISPLAY is not set)"
                         : "");
        std::_Exit(1);
    }
    if (category.startsWith("qt.qpa")) return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    const WindowArgs args = parse_window_args(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.action) {
        case WindowArgs::Action::Help:
            std::printf("%s%s", window_usage(), window_help());
            return 0;
        case WindowArgs::Action::Version:
            std::printf("zorvant %s\n", ZORVANT_VERSION);
            return 0;
        case WindowArgs::Action::Usage:
            std::fprintf(stderr, "zorvant: %s\n%s", args.problem.c_str(), window_usage());
            return 2;
        case WindowArgs::Action::OpenWindow:
            break;
    }
    prepare_application_environment();
    const QtMessageHandler previous = qInstallMessageHandler(on_startup_message);
    ZorvantApplication app(argc, argv);
    qInstallMessageHandler(previous);
    // The desktop finds the window's icon and name through its entry.
    QGuiApplication::setDesktopFileName("zorvant");
    Tfmain fmain;
    fmain.show();
    if (!args.file.empty()) fmain.open_file(QString::fromLocal8Bit(args.file.c_str()));
    // 1 when a signal ended the session and its unsaved work could be kept nowhere.
    return app.exec();
}
