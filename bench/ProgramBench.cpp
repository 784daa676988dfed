#include "ProgramBench.h"

#include "app/AppContext.h"
#include "platform/forms/windows/Forms.h"

#include <QDir>
#include <QFile>

bool ProgramBench::takeArguments() {
    // The start-up moves into the program folder: a file to write the results
    // to, named from where the benchmark was started, is named in full first.
    const QByteArray out = "--benchmark_out=";
    for (int i = 1; i < argc_; ++i) {
        const QByteArray arg(argv_[i]);
        if (arg.startsWith(out) && arg.size() > out.size() && arg[out.size()] != '/')
            argv_[i] =
                args_
                    .emplace_back(out + QDir::current()
                                            .absoluteFilePath(QString::fromLocal8Bit(arg.mid(out.size())))
                                            .toLocal8Bit())
                    .data();
    }
    bench::takeArguments(argc_, argv_);
    return true;
}

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
