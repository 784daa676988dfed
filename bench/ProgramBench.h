#pragma once
// The start-up that every benchmark of the running program shares: Qt's
// offscreen platform, a program folder of its own ($ZORVATEK_HOME), the
// application and, while the benchmarks run, its context.
#include "Goals.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <list>
#include <memory>

class ProgramBench {
  public:
    ProgramBench(int& argc, char** argv);
    QString home() const { return home_.path(); }
    // ZORVATEK.INI in the program folder, as the operator left it; false when it cannot be written.
    bool writeSettings(const QByteArray& ini) const;
    // Makes the application's context, runs `start` in it (the start-up, a log
    // to look up), then the benchmarks held to their goals; the windows are
    // unloaded before the context goes. Answers main's exit code.
    int run(const std::vector<bench::Goal>& goals, const std::function<void()>& start = {});

  private:
    // Names the output file in full and takes the benchmark library's
    // arguments, ending the program on a bad one before anything is made.
    bool takeArguments();

    int& argc_;
    char** argv_;
    // Arguments made anew (a relative path named in full); argv_ points into them.
    std::list<QByteArray> args_;
    bool taken_ = takeArguments();
    QTemporaryDir home_;
    std::unique_ptr<QApplication> app_;
};
