// The window program: the application object starts it, the event loop runs it until
// the main window closes (or, when started for an automation client, until the
// process is ended).

#include "Commands.h"
#include "OstrevanApp.h"

#include <QApplication>

int RunGui(int argc, char** argv) {
    QApplication application(argc, argv);
    COstrevanApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
