// The test executables' entry: a QApplication on the offscreen platform, and a
// program folder of its own for the whole run (each fixture may set another).
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Freed memory is filled, so that a use after free inside the libraries,
// which are not instrumented, reads garbage and fails at once.
extern "C" const char* __asan_default_options() {
    return "max_free_fill_size=4096:free_fill_byte=165";
}
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("ZORVATEK_HOME", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("ZV_PROGRAM_DIR")) qputenv("ZV_PROGRAM_DIR", ZV_PROGRAM_DIR);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
