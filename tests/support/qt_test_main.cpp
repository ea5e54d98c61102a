// The windows under test need one QApplication for the whole run. Without a
// platform chosen (as when CTest lists the tests) they run offscreen.
#include <QApplication>
#include <gtest/gtest.h>

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
    defaultHandler = qInstallMessageHandler(QuietAboutRaise);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // as in the program: only its own code ends it
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
