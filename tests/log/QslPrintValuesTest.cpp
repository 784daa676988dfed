// What the QSL printing programs are handed of a stored QSO.
#include "log/QslPrint.h"
#include "platform/os/Cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(QslPrintValues, MmqslLinesInJst) {
    const struct {
        const char* date;
        const char* time;
        std::optional<const char*> line;
    } cases[] = {
        {"24-05-02", "16:30U", "24.05.03,0130,QQ1ABC,599,7,BPSK,,太郎,東京都,J,*,,"},
        {"24-05-02", "16:30J", "24.05.02,1630,QQ1ABC,599,7,BPSK,,太郎,東京都,J,*,,"},
        {"24-12-31", "15:00U", "25.01.01,0000,QQ1ABC,599,7,BPSK,,太郎,東京都,J,*,,"},
        {"95-02-28", "23:59J", "95.02.28,2359,QQ1ABC,599,7,BPSK,,太郎,東京都,J,*,,"},
        {"24-02-30", "12:00J", std::nullopt},
        {"24-05-02", "12:3", std::nullopt},
        {"", "", std::nullopt},
        {"24-05-02", "25:00J", std::nullopt},
    };
    for (const auto& c : cases) {
        hamlog::QsoRecord r;
        r.CALL = QStringLiteral("QQ1ABC              ");
        r.DATE = QString::fromLatin1(c.date);
        r.TIME = QString::fromLatin1(c.time);
        r.HIS = QStringLiteral("599         ");
        r.FREQ = QStringLiteral("7");
        r.MODE = QStringLiteral(" BPSK ");
        r.NAME = QStringLiteral("太郎");
        r.QTH = QStringLiteral("東京都");
        r.QSL = QStringLiteral("J*");
        const std::optional<QString> line = logbook::mmqslLogLine(r);
        if (c.line)
            EXPECT_EQ(line, QString::fromUtf8(*c.line)) << c.date << " " << c.time;
        else
            EXPECT_EQ(line, std::nullopt) << c.date << " " << c.time;
    }
}

TEST(QslPrintValues, TheProgramChosenByItsPath) {
    const struct {
        const char* path;
        bool mmqsl;
    } cases[] = {{"/opt/qsl/MMQSL.exe", true},
                 {"/opt/qsl/mmqsl.EXE", true},
                 {"MMQSL.EXE", false},
                 {"/opt/qsl/HLQSLN.EXE", false},
                 {"", false},
                 {"/opt/MMQSL/HLQSLN.EXE", false}};
    for (const auto& c : cases)
        EXPECT_EQ(logbook::isMmqslProgram(QString::fromLatin1(c.path)), c.mmqsl) << c.path;
}

TEST(QslPrintValues, HandOverFile) {
    EXPECT_EQ(logbook::qslHandOver(QStringLiteral("QQ1ABC/1"), 1234), QByteArray("QQ1ABC/1,1234\r\n"));
    EXPECT_EQ(logbook::qslHandOver(QStringLiteral("局"), 7), cp932::encode(QStringLiteral("局")) + ",7\r\n");
}

} // namespace
