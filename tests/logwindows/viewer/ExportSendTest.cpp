// The electronic-QSL export as the operator runs it from the earlier-QSO list:
// the mode and its menus, marking rows, the format, the send command with its
// dialogs, the files it leaves and the sender it starts; and the log entry
// window's writers over a range of the log.
#include "app/ProgramRun.h"
#include "core/StartupFiles.h"
#include "core/ini/IniValues.h"
#include "log/AdifExport.h"
#include "logwindows/LogFixture.h"
#include "logwindows/entry/EntryExport.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/QSODATA.h"
#include "logwindows/viewer/EqslExport.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Paths.h"
#include "support/AdifReader.h"
#include "support/Popups.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using logwindows::FlexGrid;

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class ExportSend : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        ASSERT_TRUE(hamlog::demo::writeMasterData(dataPath()));
        logwindows::callCheck = {};
        setJst(QStringLiteral("2024-05-03 10:30"));
        logbook::Globals& g = logbook::g;
        g.EqslType = QStringLiteral("0");
        g.EqslMark = QStringLiteral("N");
        g.EqslMessage = QStringLiteral("ありがとう");
        g.ComQsoBankPath = QStringLiteral(ZV_PROGRAM_DIR "/ComQSOBank.exe");
    }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        sysclock::resetForTest();
        LogTest::TearDown();
    }

    // n QSOs with QQ1ABC, the QSL field of QSO i from qsl (default "J").
    void logQsos(int n, const QString& excluded = {}) {
        std::vector<hamlog::QsoRecord> records(n);
        for (int i = 0; i < n; ++i) {
            hamlog::QsoRecord& r = records[i];
            r.CALL = QStringLiteral("QQ1ABC");
            r.DATE = QStringLiteral("24-01-%1").arg(i + 1, 2, 10, QChar('0'));
            r.TIME = QStringLiteral("08:%1J").arg(i, 2, 10, QChar('0'));
            r.HIS = QStringLiteral("599");
            r.MY = QStringLiteral("5%179").arg(i % 10);
            r.FREQ = QStringLiteral("7.025");
            r.MODE = QStringLiteral("BPSK");
            r.NAME = QStringLiteral("一郎");
            r.QSL = excluded.contains(QChar('a' + i)) ? QStringLiteral("N  ") : QStringLiteral("J  ");
        }
        ASSERT_TRUE(hamlog::appendRecords(dataPath(), records));
    }

    QSODATA& listed() {
        logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
        EXPECT_TRUE(forms::isLoaded<QSODATA>());
        QSODATA& list = forms::QSODATA();
        list.show();
        return list;
    }

    static void clickRow(FlexGrid& grid, int row) {
        grid.scrollTo(grid.model()->index(row - 1, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row - 1, 1)).center());
    }
    static QString mark(QSODATA& list, int row) { return list.MSFlexGrid1->text(row, 0); }
    static bool choose(QAction* item) { return zvtest::chooseMenuItem(item); }

    // Sends with the save dialog answered by the path, and the question after
    // an eQSL file by the answer given.
    static void send(QSODATA& list, const QString& path, std::optional<ui::MsgResult> answer = {}) {
        ui::script::push(path);
        if (answer) ui::script::push(*answer);
        ui::script::clearAsked();
        ASSERT_TRUE(choose(list.eQSLsend));
    }
    QByteArray fileBytes(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString senderLog(const QString& folder) const {
        return QString::fromUtf8(fileBytes(QDir(folder).filePath(QStringLiteral("ComQSOBank.log"))));
    }
};

TEST_F(ExportSend, TheModeMarksRowsAndItsMenusFollowIt) {
    logQsos(12);
    QSODATA& list = listed();
    ASSERT_EQ(list.MSFlexGrid1->rows(), 13);
    EXPECT_EQ(list.eQSLmode->text(), QStringLiteral("電子QSLモードへ"));
    EXPECT_FALSE(list.eQSLsend->isEnabled());
    EXPECT_FALSE(list.eQSLselhou->menuAction()->isEnabled());
    EXPECT_FALSE(list.eQSLtype->isVisible());

    // Outside the mode a click copies the row and marks nothing.
    clickRow(*list.MSFlexGrid1, 3);
    EXPECT_EQ(mark(list, 3), QStringLiteral(" 03"));

    ASSERT_TRUE(choose(list.eQSLmode));
    EXPECT_EQ(list.EqslMode, 1);
    EXPECT_EQ(list.eQSLmode->text(), QStringLiteral("電子QSLモード中"));
    EXPECT_TRUE(list.eQSLsend->isEnabled());
    EXPECT_TRUE(list.eQSLselhou->menuAction()->isEnabled());
    EXPECT_TRUE(list.eQSLtype->isVisible());
    EXPECT_EQ(list.eQSLtype->text(), QStringLiteral("eQSL"));

    clickRow(*list.MSFlexGrid1, 3);
    clickRow(*list.MSFlexGrid1, 12);
    EXPECT_EQ(mark(list, 3), QStringLiteral("eQSL"));
    EXPECT_EQ(mark(list, 12), QStringLiteral("eQSL"));
    clickRow(*list.MSFlexGrid1, 3);
    EXPECT_EQ(mark(list, 3), QStringLiteral("03")) << "a second click unmarks: two digits, no blank";
    clickRow(*list.MSFlexGrid1, 3);

    // A double click in the mode keeps the list open.
    QTest::mouseDClick(list.MSFlexGrid1->viewport(), Qt::LeftButton, {},
                       list.MSFlexGrid1->visualRect(list.MSFlexGrid1->model()->index(0, 1)).center());
    EXPECT_TRUE(forms::isLoaded<QSODATA>());

    // Leaving the mode takes every mark off.
    ASSERT_TRUE(choose(list.eQSLmode));
    EXPECT_EQ(list.EqslMode, 0);
    EXPECT_EQ(mark(list, 3), QStringLiteral("03"));
    EXPECT_EQ(mark(list, 12), QStringLiteral("12"));
    EXPECT_FALSE(list.eQSLsend->isEnabled());
    EXPECT_FALSE(list.eQSLtype->isVisible());

    // All, then 個別選択 clears them again.
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLall));
    for (int row = 1; row <= 12; ++row)
        EXPECT_EQ(mark(list, row), QStringLiteral("eQSL")) << row;
    ASSERT_TRUE(choose(list.eQSLsel));
    for (int row = 1; row <= 12; ++row)
        EXPECT_NE(mark(list, row), QStringLiteral("eQSL")) << row;
}

TEST_F(ExportSend, TheFormatToggleLastsTheRunAndShowsInTheNextList) {
    logQsos(2);
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLtype));
    EXPECT_EQ(logbook::g.EqslType, QStringLiteral("1"));
    EXPECT_EQ(list.eQSLtype->text(), QStringLiteral("QSOBank"));
    ASSERT_TRUE(choose(list.eQSLtype));
    EXPECT_EQ(logbook::g.EqslType, QStringLiteral("0"));
    ASSERT_TRUE(choose(list.eQSLtype));
    forms::unload<QSODATA>();
    QSODATA& again = listed();
    EXPECT_EQ(again.EqslMode, 0) << "a list opens with the mode off";
    ASSERT_TRUE(choose(again.eQSLmode));
    EXPECT_EQ(again.eQSLtype->text(), QStringLiteral("QSOBank"));
    EXPECT_FALSE(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSL_type")))
        << "the toggle is not stored";
}

TEST_F(ExportSend, AllButOneRowGoIntoTheEqslFile) {
    logQsos(4, QStringLiteral("c"));
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLall));
    clickRow(*list.MSFlexGrid1, 2);
    const QString out = path(QStringLiteral("out/ZORVATEK_EQSL240503"));
    QDir().mkpath(QFileInfo(out).absolutePath());
    send(list, out, ui::No);
    ASSERT_GE(ui::script::asked().size(), 3);
    const ui::Asked& dialog = ui::script::asked()[0];
    EXPECT_EQ(dialog.kind, QStringLiteral("saveFile"));
    EXPECT_EQ(dialog.title, QStringLiteral("電子QSLﾃﾞｰﾀ保存"));
    EXPECT_EQ(dialog.prompt, paths::join(folder(), QStringLiteral("ZORVATEK_EQSL240503")))
        << "the program folder and today's name are proposed";
    EXPECT_EQ(ui::script::asked()[1].title, QStringLiteral("ZORVATEK 電子QSL"));
    EXPECT_EQ(ui::script::asked()[1].prompt,
              QStringLiteral("ADIF形式でLOG-DATAを作成しました\r\n直ぐに eQSLのサイトへ接続しますか？"));
    EXPECT_EQ(ui::script::asked()[2].prompt,
              out + QStringLiteral(".ADI") + QStringLiteral("のファイルを作成保存しました"));
    EXPECT_EQ(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSLFOL")),
              QFileInfo(out).absolutePath());

    const auto file = zvtest::readAdif(fileBytes(out + QStringLiteral(".ADI")));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->records.size(), 2u) << "row 2 unmarked, row 3 excluded by its QSL mark";
    EXPECT_EQ(file->records[0].value(QStringLiteral("QSO_DATE")), QStringLiteral("20231231"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("TIME_ON")), QStringLiteral("2300"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("RST_RCVD")), QStringLiteral("509"));
    EXPECT_EQ(file->records[1].value(QStringLiteral("RST_RCVD")), QStringLiteral("539"));
    EXPECT_EQ(file->records[1].value(QStringLiteral("MODE")), QStringLiteral("PSK31"));
    EXPECT_EQ(file->records[1].value(QStringLiteral("QSLMSG")), QStringLiteral("ありがとう"));
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(mark(list, row) == QStringLiteral("eQSL"), row != 2) << "marks stay after sending";
}

TEST_F(ExportSend, NothingMarkedCancelledOrUnsetWritesNothing) {
    logQsos(2);
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    const QString path = this->path(QStringLiteral("keep.ADI"));
    writeFile(QStringLiteral("keep.ADI"), "old");
    send(list, path);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("送信するデータがありません、送信するデータを選択して下さい。"));
    EXPECT_EQ(ui::script::asked()[0].style, ui::OkOnly | ui::Exclamation);
    ui::script::end();
    ui::script::begin();

    clickRow(*list.MSFlexGrid1, 1);
    ui::script::push(QVariant());
    ui::script::clearAsked();
    ASSERT_TRUE(choose(list.eQSLsend));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[1].prompt, QStringLiteral("電子QSLデータの保存を中止しました。"));
    EXPECT_EQ(mark(list, 1), QStringLiteral("eQSL"));

    // A message the file would carry as other characters is asked about
    // before any file; No writes nothing.
    logbook::g.EqslMessage = QStringLiteral("TNX José");
    ui::script::push(ui::No);
    ui::script::clearAsked();
    ASSERT_TRUE(choose(list.eQSLsend));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(QStringLiteral("次のデータには Shift-JIS")));
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    logbook::g.EqslMessage = QStringLiteral("ありがとう");

    logbook::g.EqslType.clear();
    ui::script::end();
    ui::script::begin();
    send(list, path);
    ASSERT_EQ(ui::script::asked().size(), 1) << "with no format set the send asks for no file";
    EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(QStringLiteral("電子QSLの種類が設定されていない")));
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("電子ＱＳＬシステム")));
    EXPECT_EQ(fileBytes(path), QByteArray("old"));

    // The format's key missing at start-up: the log entry's load leaves it unset.
    logbook::g.EqslType = QStringLiteral("E-QSL");
    forms::unload<TEMP_LOG>();
    EXPECT_EQ(forms::TEMP_LOG().Command7->text(), QStringLiteral("未設定"));
    ui::script::end();
    ui::script::begin();
    send(list, path);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(QStringLiteral("電子QSLの種類が設定されていない")));
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
}

TEST_F(ExportSend, AFailedWriteOrABadDateKeepsTheOldFile) {
    logQsos(2);
    std::vector<hamlog::QsoRecord> bad(1);
    bad[0].CALL = QStringLiteral("QQ1ABC");
    bad[0].DATE = QStringLiteral("24-02-30");
    bad[0].TIME = QStringLiteral("12:00J");
    ASSERT_TRUE(hamlog::appendRecords(dataPath(), bad));
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLall));
    writeFile(QStringLiteral("keep.ADI"), "old");
    send(list, path(QStringLiteral("keep.ADI")));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[1].prompt,
              QStringLiteral("接続不可\r\nRecord No=3 の日付または時刻が正しくありません"));
    EXPECT_EQ(fileBytes(path(QStringLiteral("keep.ADI"))), QByteArray("old"));

    clickRow(*list.MSFlexGrid1, 3);
    send(list, path(QStringLiteral("gone/x.ADI")));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[1].prompt, QStringLiteral("接続不可")) << "a folder that is not there";

    QFile::setPermissions(path(QStringLiteral("keep.ADI")), QFileDevice::ReadOwner);
    send(list, path(QStringLiteral("keep.ADI")));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[1].prompt, QStringLiteral("接続不可")) << "a read-only file";
    EXPECT_EQ(fileBytes(path(QStringLiteral("keep.ADI"))), QByteArray("old"));
}

TEST_F(ExportSend, AFileSizeLimitFailsTheExportInsteadOfEndingTheProgram) {
    // An eQSL file of 1,201 QSOs, far beyond a limit of 64 KiB.
    std::vector<logbook::ExportQso> qsos(1201);
    for (int i = 0; i < 1201; ++i) {
        logbook::ExportQso& q = qsos[i];
        q.call = QStringLiteral("QQ1ABC");
        q.date = QStringLiteral("2023-%1-%2")
                     .arg(i / 112 + 1, 2, 10, QChar('0'))
                     .arg(i % 28 + 1, 2, 10, QChar('0'));
        q.time = QStringLiteral("%1:%2J").arg(i % 24, 2, 10, QChar('0')).arg(i % 60, 2, 10, QChar('0'));
        q.his = q.my = QStringLiteral("599");
        q.freq = QStringLiteral("7.025");
        q.mode = QStringLiteral("BPSK");
    }
    const logbook::ExportFile file = logbook::eqslAdif(qsos, QStringLiteral("ありがとう"));
    ASSERT_TRUE(file.ok());
    ASSERT_GT(file.bytes.size(), 65536);
    writeFile(QStringLiteral("keep.ADI"), "old");

    // The program's own start-up settings, then `ulimit -f 64`, in a process of
    // its own that writes the file as the export does.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        app::prepareProcess();
        const rlimit limit{65536, 65536};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
        _exit(files::replaceWhole(path(QStringLiteral("keep.ADI")), file.bytes) ? 11 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write is reported as failed";
    EXPECT_EQ(fileBytes(path(QStringLiteral("keep.ADI"))), QByteArray("old"));
    EXPECT_EQ(QDir(folder()).entryList({QStringLiteral(".keep.ADI*")}, QDir::Files | QDir::Hidden),
              QStringList{})
        << "no temporary file is left";
}

TEST_F(ExportSend, TheEqslPageOpensFromItsShortcut) {
    logQsos(1);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    clickRow(*list.MSFlexGrid1, 1);
    // No shortcut file: the page cannot open.
    send(list, path(QStringLiteral("a.ADI")), ui::Yes);
    ASSERT_EQ(ui::script::asked().size(), 3);
    EXPECT_EQ(ui::script::asked()[2].prompt, QStringLiteral("接続不可"));
    EXPECT_TRUE(catcher.opened.isEmpty());

    writeFile(core::kEqslShortcutFile, "[InternetShortcut]\r\nURL=https://example.org/eqsl/\r\n");
    send(list, path(QStringLiteral("a.ADI")), ui::Yes);
    EXPECT_EQ(ui::script::asked().size(), 2) << "nothing follows an opened page";
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(QStringLiteral("https://example.org/eqsl/")));
}

TEST_F(ExportSend, QsoBankFilesGoToTheSender) {
    logQsos(3, QStringLiteral("b"));
    logbook::g.EqslType = QStringLiteral("1");
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLall));
    const QString folder = path(QStringLiteral("電子 QSL"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString xml = QDir(folder).filePath(QStringLiteral("送信 ファイル"));
    send(list, xml);
    EXPECT_EQ(ui::script::asked().size(), 1) << "no message follows the hand-off";
    EXPECT_EQ(ui::script::asked()[0].prompt,
              paths::join(this->folder(), QStringLiteral("ZORVATEK_EQSL240503")));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !senderLog(folder).isEmpty(); }));
    const QStringList lines = senderLog(folder).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("upload ") + xml + QStringLiteral(".xml: 2 QSOs"));
    EXPECT_EQ(lines[1],
              QStringLiteral("2024-01-01 08:00:00 JST\tQQ1ABC\t7.025\tPSK31\t599\t509\tありがとう"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2024-01-03 08:02:00 JST\tQQ1ABC")));
    EXPECT_EQ(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSLQFOL")), folder);

    // Without the sender the file is written and the operator told.
    logbook::g.ComQsoBankPath = path(QStringLiteral("nowhere/ComQSOBank.exe"));
    send(list, path(QStringLiteral("b.xml")));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[1].prompt, QStringLiteral("接続不可"));
    EXPECT_TRUE(fileBytes(path(QStringLiteral("b.xml"))).startsWith("<?xml"));
}

TEST_F(ExportSend, EveryMarkedRowExcludedStillGivesAFileAndStartsTheSender) {
    logQsos(2, QStringLiteral("ab"));
    logbook::g.EqslType = QStringLiteral("1");
    QSODATA& list = listed();
    ASSERT_TRUE(choose(list.eQSLmode));
    ASSERT_TRUE(choose(list.eQSLall));
    send(list, path(QStringLiteral("none.xml")));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !senderLog(folder()).isEmpty(); }));
    EXPECT_EQ(senderLog(folder()),
              QStringLiteral("upload ") + path(QStringLiteral("none.xml")) + QStringLiteral(": 0 QSOs\n"));

    logbook::g.EqslType = QStringLiteral("0");
    send(list, path(QStringLiteral("none.ADI")), ui::No);
    const auto file = zvtest::readAdif(fileBytes(path(QStringLiteral("none.ADI"))));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->records.empty());
}

// A page of the log viewer: rows of the grid's 19 cells, record numbers from
// `first`, the rows after `count` empty.
std::vector<QStringList> viewerPage(int first, int count) {
    std::vector<QStringList> rows;
    for (int i = 0; i < 100; ++i) {
        QStringList cells(19);
        if (i < count) {
            const int recNo = first + i;
            cells[0] = cells[18] = QString::number(recNo);
            cells[1] = QStringLiteral("QQ1A%1").arg(recNo);
            cells[3] = QStringLiteral("2024-01-01");
            cells[4] = QStringLiteral("09:30J");
            cells[7] = QStringLiteral("7.025");
            cells[8] = QStringLiteral("BPSK");
            cells[11] = QStringLiteral("花子");
            cells[13] = QStringLiteral("N");
        }
        rows.push_back(cells);
    }
    return rows;
}

TEST_F(ExportSend, TheViewersPageBecomesAnElogFile) {
    core::g.UserCall = QStringLiteral("JR1ZZZ");
    // Cancelled: nothing is written, nothing is said.
    logwindows::exportLogPage(viewerPage(1, 50));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].title, QStringLiteral("電子LOGﾃﾞｰﾀ保存(ADIF形式)"));
    EXPECT_EQ(ui::script::asked()[0].prompt, paths::join(folder(), QStringLiteral("ELOG_1to50")))
        << "named after the first and last record shown";

    // A folder the settings cannot name: the file is written all the same and
    // the folder is not remembered, which is said once.
    const QString unnamed = path(QStringLiteral("café/ELOG_1to50"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(unnamed).absolutePath()));
    for (int time = 0; time < 2; ++time) {
        ui::script::push(unnamed);
        ui::script::clearAsked();
        logwindows::exportLogPage(viewerPage(1, 50));
        ASSERT_EQ(ui::script::asked().size(), time == 0 ? 2 : 1);
        EXPECT_TRUE(ui::script::asked().back().prompt.startsWith(
            time == 0 ? QFileInfo(unnamed).absolutePath() + QStringLiteral("\r\nこのフォルダ名の「é」は")
                      : path(QStringLiteral("ELOG_1to50"))));
        EXPECT_TRUE(QFileInfo::exists(unnamed + QStringLiteral(".ADI")));
        EXPECT_FALSE(core::IniStored(QStringLiteral("E-LOG"), QStringLiteral("eLOGFOL")));
    }

    // A value the file would carry as other characters is said, by record and
    // field, before any file is asked for; No writes nothing.
    std::vector<QStringList> named = viewerPage(1, 50);
    named[2][11] = QStringLiteral("José");
    ui::script::clearAsked();
    ui::script::push(ui::No);
    logwindows::exportLogPage(named);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral(" NAME「é」\r\n")))
        << ui::script::asked()[0].prompt.toStdString();

    const QString out = path(QStringLiteral("logs/ELOG_1to50"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(out).absolutePath()));
    ui::script::push(out);
    ui::script::clearAsked();
    logwindows::exportLogPage(viewerPage(1, 50));
    EXPECT_EQ(ui::script::asked().size(), 1) << "no message follows";
    const auto file = zvtest::readAdif(fileBytes(out + QStringLiteral(".ADI")));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->records.size(), 50u) << "the empty rows are left out; the excluded mark is not tested";
    EXPECT_EQ(file->records[49].value(QStringLiteral("CALL")), QStringLiteral("QQ1A50"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("OPERATOR")), QStringLiteral("JR1ZZZ"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("NAME")), QStringLiteral("花子"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("TIME_ON")), QStringLiteral("0030"));
    EXPECT_EQ(core::IniStored(QStringLiteral("E-LOG"), QStringLiteral("eLOGFOL")),
              QFileInfo(out).absolutePath());

    // A QSO whose time does not convert: the message names it, the old file stays.
    std::vector<QStringList> page = viewerPage(201, 100);
    page[41][4] = QStringLiteral("12:3");
    const QByteArray before = fileBytes(out + QStringLiteral(".ADI"));
    ui::script::push(out + QStringLiteral(".ADI"));
    ui::script::clearAsked();
    logwindows::exportLogPage(page);
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              paths::join(QFileInfo(out).absolutePath(), QStringLiteral("ELOG_201to300")));
    EXPECT_EQ(ui::script::asked()[1].prompt,
              out + QStringLiteral(".ADIのファイルを作成できませんでした\r\n") +
                  QStringLiteral("Record No=242 の日付または時刻が正しくありません"));
    EXPECT_EQ(fileBytes(out + QStringLiteral(".ADI")), before);
}

// The log entry window's writers over a range of the log.
class EntryExport : public ExportSend {
  protected:
    void SetUp() override {
        ExportSend::SetUp();
        logQsos(6, QStringLiteral("d"));
        TEMP_LOG& w = forms::TEMP_LOG();
        logbook::g.LoggedRecNo = 2;
        w.ReloadHamlogRecord();
        ASSERT_EQ(w.Text1->text(), QStringLiteral("QQ1ABC"));
    }
};

TEST_F(EntryExport, ARangeIsWrittenInOrderWithoutExcludedRecords) {
    logbook::Globals& g = logbook::g;
    g.ExportFromRecNo = 6;
    g.ExportToRecNo = 3;
    g.ExportFilePath = path(QStringLiteral("range.xml"));
    ui::script::clearAsked();
    ASSERT_TRUE(logwindows::WriteQsoBankXml());
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(g.ExportFromRecNo, 3);
    EXPECT_EQ(g.ExportToRecNo, 6);
    const qsizetype records = fileBytes(g.ExportFilePath).count("<qso_record>");
    EXPECT_EQ(records, 3) << "records 3, 5 and 6; 4 is excluded";
    EXPECT_TRUE(fileBytes(g.ExportFilePath).contains("<daytime>2024-01-03 08:02:00 JST</daytime>"));
    EXPECT_EQ(forms::TEMP_LOG().StatusBar1->text(1), QStringLiteral("Record No=2"))
        << "the window's record again";

    g.ExportFromRecNo = 5;
    g.ExportToRecNo = 0;
    g.ExportFilePath = path(QStringLiteral("one.ADI"));
    ASSERT_TRUE(logwindows::WriteEqslAdif());
    const auto file = zvtest::readAdif(fileBytes(g.ExportFilePath));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->records.size(), 1u);
    EXPECT_EQ(file->records[0].value(QStringLiteral("QSO_DATE")), QStringLiteral("20240104"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("TIME_ON")), QStringLiteral("2304"));
    EXPECT_EQ(g.ExportToRecNo, 5);

    // What the file cannot carry is said by record and field before it is
    // written, for either service; No keeps the old file.
    const QByteArray written = fileBytes(g.ExportFilePath);
    g.EqslMessage = QStringLiteral("Merci José");
    for (const bool xml : {false, true}) {
        ui::script::clearAsked();
        ui::script::push(ui::No);
        EXPECT_FALSE(xml ? logwindows::WriteQsoBankXml() : logwindows::WriteEqslAdif());
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("\r\nRecord No=5 QSLMSG「é」\r\n")))
            << ui::script::asked()[0].prompt.toStdString();
    }
    EXPECT_EQ(fileBytes(g.ExportFilePath), written);
}

TEST_F(EntryExport, WithoutARangeTheWindowsQsoIsWritten) {
    logbook::Globals& g = logbook::g;
    TEMP_LOG& w = forms::TEMP_LOG();
    w.Text1->setText(QStringLiteral("ABC"));
    w.Text2->setText(QStringLiteral("KH0"));
    w.Text15->setText(QStringLiteral("$DX"));
    w.Text4->setText(QStringLiteral("08:59J"));
    w.Text3->setText(QStringLiteral("2025-01-01"));
    w.Label17->setText(QStringLiteral("7.025"));
    g.ExportFromRecNo = 0;
    g.HamlogRecNo = 9;
    g.ExportFilePath = path(QStringLiteral("one.xml"));
    ASSERT_TRUE(logwindows::WriteQsoBankXml());
    const QByteArray xml = fileBytes(g.ExportFilePath);
    EXPECT_TRUE(xml.contains("<callsign>KH0/ABC</callsign>"));
    EXPECT_TRUE(xml.contains("<daytime>2025-01-01 08:59:00 JST</daytime>"));
    // The entry keeps what the operator typed, and a second file is again
    // written from it rather than from a record the log does not hold.
    EXPECT_EQ(w.Text1->text(), QStringLiteral("ABC"));
    EXPECT_EQ(g.ExportFromRecNo, 0);
    g.ExportFilePath = path(QStringLiteral("again.ADI"));
    ui::script::clearAsked();
    ASSERT_TRUE(logwindows::WriteEqslAdif());
    EXPECT_TRUE(ui::script::asked().isEmpty());
    const auto again = zvtest::readAdif(fileBytes(g.ExportFilePath));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->records.size(), 1u);
    EXPECT_EQ(again->records[0].value(QStringLiteral("CALL")), QStringLiteral("KH0/ABC"));
    EXPECT_EQ(logwindows::exportErrorMessage(), QStringLiteral("EQSL_ERROR!!!  STRT=9  END=9 stop >>9"));
}

TEST_F(EntryExport, FailuresNameTheRecordAndKeepTheOldFile) {
    logbook::Globals& g = logbook::g;
    writeFile(QStringLiteral("keep.xml"), "old");
    g.ExportFilePath = path(QStringLiteral("keep.xml"));
    g.ExportFromRecNo = 5;
    g.ExportToRecNo = 8;
    ui::script::clearAsked();
    EXPECT_FALSE(logwindows::WriteQsoBankXml());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("EQSL_ERROR!!!  STRT=5  END=8 stop >>7"));
    EXPECT_EQ(fileBytes(g.ExportFilePath), QByteArray("old"));

    g.ExportFilePath = path(QStringLiteral("keep.ADI"));
    writeFile(QStringLiteral("keep.ADI"), "old");
    ui::script::clearAsked();
    EXPECT_FALSE(logwindows::WriteEqslAdif());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              g.ExportFilePath +
                  QStringLiteral("のファイルを作成できませんでした\r\nRecord No=7 を書き出せませんでした"));
    EXPECT_EQ(fileBytes(g.ExportFilePath), QByteArray("old"));

    // The log is gone: its message, and for QSOBank the export error after it.
    QFile::remove(dataPath() + QStringLiteral(".HDB"));
    g.ExportFromRecNo = 1;
    g.ExportToRecNo = 2;
    ui::script::clearAsked();
    EXPECT_FALSE(logwindows::WriteQsoBankXml());
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(
        QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\nHAMLOG50.DLL=")));
    EXPECT_TRUE(ui::script::asked()[1].prompt.startsWith(QStringLiteral("EQSL_ERROR!!!  STRT=1  END=2")));
    ui::script::clearAsked();
    EXPECT_FALSE(logwindows::WriteEqslAdif());
    EXPECT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(fileBytes(path(QStringLiteral("keep.xml"))), QByteArray("old"));
    EXPECT_EQ(fileBytes(path(QStringLiteral("keep.ADI"))), QByteArray("old"));
}

} // namespace

#include "ExportSendTest.moc"
