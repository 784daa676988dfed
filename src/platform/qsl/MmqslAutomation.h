#pragma once
// The automation object "MMQSL.Application" of the QSL card printing program
// MMQSL. Creating it starts the program (the configured MMQSL.EXE, given the
// name of a local socket to call back on) and waits a few seconds for it to
// answer; every member is one request and one answer over that socket. The
// object lives for one print: destroying it releases the program, which ends.
//
// A member that fails (the program refuses it, does not answer in time or is
// gone) gives false or nothing, as a failed automation call would.
#include <QString>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QProcess;

namespace mmqsl {

class Application {
  public:
    explicit Application(const QString& programPath);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // False when the program did not start or did not answer.
    bool created() const { return socket_ != nullptr; }

    bool OpenDoc(const QString& path) { return call(QStringLiteral("OpenDoc"), path).has_value(); }
    bool DeleteLog() { return call(QStringLiteral("DeleteLog")).has_value(); }
    bool AddLog(const QString& line) { return call(QStringLiteral("AddLog"), line).has_value(); }
    bool SortLog97(int how) { return call(QStringLiteral("SortLog97"), QString::number(how)).has_value(); }
    bool SetPrintMax() { return call(QStringLiteral("SetPrintMax")).has_value(); }
    bool Foreground() { return call(QStringLiteral("Foreground")).has_value(); }
    bool DoPrint() { return call(QStringLiteral("DoPrint")).has_value(); }
    bool set(const QString& property, short value) {
        return call(property + QLatin1Char('='), QString::number(value)).has_value();
    }
    std::optional<int> GetPrintedPos(short which) {
        return number(call(QStringLiteral("GetPrintedPos"), QString::number(which)));
    }
    std::optional<int> PrintStat() { return number(call(QStringLiteral("PrintStat"))); }

    // One member: the answer's value, nothing when it failed.
    std::optional<QString> call(const QString& member, const QString& argument = {});

  private:
    static std::optional<int> number(const std::optional<QString>& value);

    std::unique_ptr<QLocalServer> server_;
    std::unique_ptr<QProcess> process_;
    QLocalSocket* socket_ = nullptr;
};

} // namespace mmqsl
