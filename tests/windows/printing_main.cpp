// One QApplication for the printing tests. CUPS is asked through a socket of
// this process's own, where only the scheduler the real-printing test starts
// listens, so that printers of the machine play no part.
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/windows/private_cups.h"

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot raise windows and says so each time.
void QuietAboutRaise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("does not support raise()")) return;
    defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", wendrel::testing::PrivateCupsSocket().toLocal8Bit());
    defaultHandler = qInstallMessageHandler(QuietAboutRaise);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
