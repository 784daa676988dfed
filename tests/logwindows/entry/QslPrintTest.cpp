// QSL printing from the log entry window through the two printing programs'
// stand-ins, lying in a folder whose name has a blank and Japanese.
#include "logwindows/LogFixture.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "support/Popups.h"

#include <QDir>
#include <QFile>

namespace {

class QslPrint : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        printerFolder_ = path(QStringLiteral("QSL 印刷"));
        ASSERT_TRUE(QDir().mkpath(printerFolder_));
        logbook::g.QslPrintProgKind = 1;
        logbook::g.QslSendMark = QStringLiteral("*");
        logbook::g.MmqslPrintWaitMs = 60000;
    }
    void TearDown() override {
        qunsetenv("MMQSL_STANDIN_FAIL");
        qunsetenv("MMQSL_STANDIN_PRINT");
        LogTest::TearDown();
    }
    // Puts the stand-in into the printer folder under the given name.
    QString install(const char* built, const QString& as) {
        const QString target = printerFolder_ + QLatin1Char('/') + as;
        EXPECT_TRUE(QFile::copy(paths::join(paths::executableFolder(), QString::fromLatin1(built)), target));
        return target;
    }
    QByteArray printed(const char* name) const {
        QFile f(printerFolder_ + QLatin1Char('/') + QString::fromLatin1(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A QSO in the log, browsed to in the log entry window.
    TEMP_LOG& browseTo(const QString& call, const QString& date, const QString& time) {
        hamlog::QsoRecord r;
        r.CALL = call;
        r.DATE = date;
        r.TIME = time;
        r.HIS = QStringLiteral("599");
        r.FREQ = QStringLiteral("7.025");
        r.MODE = QStringLiteral("BPSK");
        r.NAME = QStringLiteral("太郎");
        r.QTH = QStringLiteral("東京都");
        r.QSL = QStringLiteral("J");
        EXPECT_TRUE(hamlog::appendRecords(dataPath(), {r}));
        TEMP_LOG& w = openFromMain(QString());
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        EXPECT_EQ(w.Text1->text(), call);
        return w;
    }
    void printFrom(TEMP_LOG& w) {
        ui::script::clearAsked();
        EXPECT_TRUE(zvtest::chooseMenuItem(w.HLQ));
    }

    QString printerFolder_;
};

TEST_F(QslPrint, NothingStoredYetSaysSo) {
    logbook::g.QslPrintProgPath = install("HLQSLN.EXE", QStringLiteral("HLQSLN.EXE"));
    logbook::g.HamlogConfirmText = QStringLiteral("YES");
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ1ABC"));
    EXPECT_FALSE(w.HLQ->isEnabled()) << "a new entry has nothing to print";
    ui::script::push(ui::No); // the save is declined: the item comes, nothing is stored
    pressF1();
    ASSERT_EQ(logCount(), 0);
    ASSERT_TRUE(w.HLQ->isEnabled());
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("このLOG は未だ登録されていません")});
    EXPECT_FALSE(QFile::exists(printerFolder_ + QStringLiteral("/WORK2.DAT")));
}

// A save the operator declined in the library's question leaves nothing of the
// entry to print, also after an earlier QSO was stored.
TEST_F(QslPrint, ADeclinedSaveLeavesNoCardToPrint) {
    logbook::g.QslPrintProgPath = install("HLQSLN.EXE", QStringLiteral("HLQSLN.EXE"));
    logbook::g.HamlogConfirmText = QStringLiteral("YES");
    TEMP_LOG* w = &openFromMain(QStringLiteral("QQ9ABC"));
    ui::script::push(ui::Yes);
    pressF1();
    ASSERT_EQ(logCount(), 1);
    w = &openFromMain(QStringLiteral("QQ5NEW"));
    ui::script::push(ui::No);
    pressF1();
    ASSERT_EQ(logCount(), 1);
    printFrom(*w);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("このLOG は未だ登録されていません")});
    EXPECT_FALSE(QFile::exists(printerFolder_ + QStringLiteral("/WORK2.DAT")));
}

TEST_F(QslPrint, TheLoggingProgramsPrinterTakesTheStoredQsoThroughItsHandOverFile) {
    logbook::g.QslPrintProgPath = install("HLQSLN.EXE", QStringLiteral("HLQSLN.EXE"));
    // A contest save empties the boxes: the QSO is read back from the log.
    fillLog(3);
    startContest(false, false);
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ9QSL"));
    EXPECT_TRUE(zvtest::chooseMenuItem(w.Contest));
    ASSERT_EQ(logCount(), 4);
    ASSERT_TRUE(w.Text1->text().isEmpty());
    printFrom(w);
    EXPECT_TRUE(askedPrompts().isEmpty());
    EXPECT_EQ(readFile(QStringLiteral("QSL 印刷/WORK2.DAT")), QByteArray("QQ9QSL,4\r\n"));
    ASSERT_TRUE(zvtest::waitUntil([this] { return !printed("HLQSLN_PRINTED.TXT").isEmpty(); }));
    EXPECT_EQ(printed("HLQSLN_PRINTED.TXT"), QByteArray("ARGS\tLINK\nQQ9QSL,4\r\n"));

    // Gone from its folder: the operator is told where to look.
    QFile::remove(logbook::g.QslPrintProgPath);
    QFile::remove(printerFolder_ + QStringLiteral("/WORK2.DAT"));
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{logbook::g.QslPrintProgPath +
                                          QStringLiteral("が見つかりません、環境設定を確認してください")});
    EXPECT_FALSE(QFile::exists(printerFolder_ + QStringLiteral("/WORK2.DAT")));
}

TEST_F(QslPrint, MmqslPrintsTheCardAndMarksTheQsoSent) {
    logbook::g.QslPrintProgPath = install("MMQSL.EXE", QStringLiteral("MMQSL.exe"));
    logbook::g.MmqslSetting = path(QStringLiteral("カード 定義.MQL"));
    writeFile(QStringLiteral("カード 定義.MQL"), "card");
    TEMP_LOG& w = browseTo(QStringLiteral("QQ2MMQ"), QStringLiteral("24-05-02"), QStringLiteral("16:30U"));
    ui::script::push(ui::Yes);
    printFrom(w);
    ASSERT_EQ(askedPrompts().size(), 1);
    EXPECT_EQ(
        askedPrompts()[0],
        QStringLiteral("交信番号1をＭＭＱＳＬで差込印刷しました.\r\nHAMLOG に Sendマークをつけますか？"));
    EXPECT_EQ(ui::script::asked()[0].title, QStringLiteral("ＱＳＬ印刷"));
    EXPECT_EQ(QString::fromUtf8(printed("MMQSL_PRINTED.TXT")),
              QStringLiteral("DOC\t") + logbook::g.MmqslSetting +
                  QStringLiteral("\nLOG\t24.05.03,0130,QQ2MMQ,599,7.025,BPSK,,太郎,東京都,J,,,\n"));
    EXPECT_EQ(stored(1).QSL, QStringLiteral("J* "));
    EXPECT_EQ(w.Text16->text(), QStringLiteral("*")) << "the record is shown again as read back";

    // No: the mark stays off.
    hamlog::HamlogHandle h;
    ASSERT_EQ(hamlog::HamlogOpen(0, h, dataPath(), 0), hamlog::Done);
    EXPECT_EQ(hamlog::QSL_Send(h, 1, ' '), hamlog::Done);
    hamlog::HamlogClose(h, 0);
    ui::script::push(ui::No);
    printFrom(w);
    EXPECT_EQ(stored(1).QSL, QStringLiteral("J  "));
}

TEST_F(QslPrint, MmqslPrintsTheCallAsTheEntryWritesIt) {
    logbook::g.QslPrintProgPath = install("MMQSL.EXE", QStringLiteral("MMQSL.EXE"));
    logbook::g.MmqslSetting = path(QStringLiteral("card.MQL"));
    writeFile(QStringLiteral("card.MQL"), "card");
    TEMP_LOG& w = browseTo(QStringLiteral("KH0XYZ"), QStringLiteral("24-05-02"), QStringLiteral("12:00J"));
    QTest::keyClicks(w.Text2, QStringLiteral("JD1"));
    QTest::keyClicks(w.Text14, QStringLiteral("$DX"));
    ui::script::push(ui::No);
    printFrom(w);
    EXPECT_TRUE(QString::fromUtf8(printed("MMQSL_PRINTED.TXT"))
                    .contains(QStringLiteral("\nLOG\t24.05.02,1200,JD1/KH0XYZ,")))
        << printed("MMQSL_PRINTED.TXT").toStdString();

    // Without "$DX" the part follows the call.
    w.Text14->clear();
    ui::script::push(ui::No);
    printFrom(w);
    EXPECT_TRUE(QString::fromUtf8(printed("MMQSL_PRINTED.TXT")).contains(QStringLiteral(",KH0XYZ/JD1,")))
        << printed("MMQSL_PRINTED.TXT").toStdString();
}

TEST_F(QslPrint, MmqslFailuresSaySo) {
    const QString error = QStringLiteral("MMQSLでのｴﾗｰです(^^ゞ");
    logbook::g.QslPrintProgPath = install("MMQSL.EXE", QStringLiteral("MMQSL.EXE"));
    logbook::g.MmqslSetting = path(QStringLiteral("card.mql"));
    writeFile(QStringLiteral("card.mql"), "card");
    TEMP_LOG& w = browseTo(QStringLiteral("QQ3MMQ"), QStringLiteral("24-05-02"), QStringLiteral("12:00J"));

    qputenv("MMQSL_STANDIN_FAIL", "AddLog");
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{error});
    qunsetenv("MMQSL_STANDIN_FAIL");

    // A print that never ends is given up after the wait.
    qputenv("MMQSL_STANDIN_PRINT", "never");
    logbook::g.MmqslPrintWaitMs = 300;
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{error});
    qunsetenv("MMQSL_STANDIN_PRINT");

    // The card definition file is gone.
    QFile::remove(logbook::g.MmqslSetting);
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{error});

    logbook::g.MmqslSetting = QStringLiteral("card.txt");
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral(
                                  "QSL定義ﾌｧｲﾙが設定されていません、環境設定で*.MQLﾌｧｲﾙを指定して下さい。")});

    // MMQSL itself is not there.
    logbook::g.MmqslSetting = path(QStringLiteral("card.mql"));
    writeFile(QStringLiteral("card.mql"), "card");
    QFile::remove(logbook::g.QslPrintProgPath);
    printFrom(w);
    EXPECT_EQ(askedPrompts(), QStringList{error});
    EXPECT_EQ(printed("MMQSL_PRINTED.TXT").count("LOG\t"), 1) << "only the endless print started";
    EXPECT_EQ(stored(1).QSL, QStringLiteral("J  "));
}

} // namespace
