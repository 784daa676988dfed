#include "QslPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int kPrintMsecs = 100;

} // namespace

QslPrinter::QslPrinter(QLocalSocket& socket, QString folder)
    : socket_(socket), folder_(std::move(folder)), failing_(qEnvironmentVariable("MMQSL_STANDIN_FAIL")),
      endless_(qEnvironmentVariable("MMQSL_STANDIN_PRINT") == QLatin1String("never")) {
    connect(&socket_, &QLocalSocket::readyRead, this, &QslPrinter::readRequests);
    connect(&socket_, &QLocalSocket::disconnected, this, &QslPrinter::released);
}

void QslPrinter::readRequests() {
    while (socket_.canReadLine()) {
        QByteArray line = socket_.readLine();
        line.chop(1);
        const std::optional<mmqsl::Request> request = mmqsl::parseRequest(line);
        const mmqsl::Reply reply =
            request ? answer(*request) : mmqsl::Reply{false, QStringLiteral("unknown request")};
        socket_.write(mmqsl::replyLine(reply.ok, reply.value));
    }
}

mmqsl::Reply QslPrinter::answer(const mmqsl::Request& r) {
    const QString m = r.member;
    if (!failing_.isEmpty() && (m == failing_ || m == failing_ + QLatin1Char('='))) return {false, m};
    if (m == QLatin1String("OpenDoc")) {
        if (!QFileInfo(r.argument).isFile()) return {false, QStringLiteral("no such file")};
        document_ = r.argument;
        return {true, {}};
    }
    if (m == QLatin1String("DeleteLog")) {
        lines_.clear();
        return {true, {}};
    }
    if (m == QLatin1String("AddLog")) {
        lines_ << r.argument;
        return {true, {}};
    }
    if (m == QLatin1String("DoPrint")) return print();
    if (m == QLatin1String("GetPrintedPos")) return {true, QStringLiteral("0")};
    if (m == QLatin1String("PrintStat")) return {true, QString::number(printStat_)};
    if (m == QLatin1String("PrintStat=")) {
        printStat_ = r.argument.toInt();
        return {true, {}};
    }
    for (const char* known : {"SortLog97", "SetPrintMax", "Foreground", "EnableLogFile=", "DisableExit="})
        if (m == QLatin1String(known)) return {true, {}};
    return {false, QStringLiteral("no such member")};
}

mmqsl::Reply QslPrinter::print() {
    if (document_.isEmpty()) return {false, QStringLiteral("no card definition")};
    QFile record(folder_ + QStringLiteral("/MMQSL_PRINTED.TXT"));
    if (!record.open(QIODevice::Append)) return {false, QStringLiteral("cannot print")};
    record.write((QStringLiteral("DOC\t") + document_ + QLatin1Char('\n')).toUtf8());
    for (const QString& line : lines_)
        record.write((QStringLiteral("LOG\t") + line + QLatin1Char('\n')).toUtf8());
    printStat_ = 1;
    if (!endless_) QTimer::singleShot(kPrintMsecs, this, [this] { printStat_ = 2; });
    return {true, {}};
}
