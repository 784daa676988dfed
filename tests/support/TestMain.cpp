// The test executables' entry: a QApplication on the offscreen platform, and a
// program folder of its own for the whole run (each fixture may set another).
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("ZORVATEK_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("ZV_PROGRAM_DIR")) qputenv("ZV_PROGRAM_DIR", ZV_PROGRAM_DIR);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
