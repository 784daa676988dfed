// Qt's warnings (a buffer seeked past its end, for one) are expected on broken
// input; printed at every run they would only slow the fuzzer down.
#include <QtGlobal>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}
