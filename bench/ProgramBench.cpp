#include "ProgramBench.h"

#include "app/AppContext.h"
#include "platform/forms/windows/Forms.h"

#include <QFile>

ProgramBench::ProgramBench(int& argc, char** argv) : argc_(argc), argv_(argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZORVATEK_HOME", home_.path().toUtf8());
    app_ = std::make_unique<QApplication>(argc_, argv_);
}

bool ProgramBench::writeSettings(const QByteArray& ini) const {
    QFile file(home_.path() + QStringLiteral("/ZORVATEK.INI"));
    return file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size();
}

int ProgramBench::run(const std::vector<bench::Goal>& goals, const std::function<void()>& start) {
    app::AppContext context;
    if (start) start();
    const int result = bench::runBenchmarks(argc_, argv_, goals);
    forms::unloadAllExcept();
    return result;
}
