// Wendrel: overlays up to ten 1-D spectra from FITS files on one plot.
#include <QApplication>

#include "app/startup.h"
#include "windows/program.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setApplicationName("Wendrel");
    application.setQuitOnLastWindowClosed(false);  // only the main window's closing ends the program
    wendrel::Program program(wendrel::SettingsPathInCurrentFolder());
    program.Start();
    // Qt has taken its own options (-platform and the like) out of the arguments.
    program.LoadAtStart(application.arguments().mid(1));
    return application.exec();
}
