// The SSTV window's QSO boxes as the operator uses them: typing, the log
// entry kept in step (library link), the call-sign check, the contest number,
// clearing for the next QSO, the RSV list and its editor, the QTH pop-up, the
// UTC box, the log button against the logging program's window, the menus.
#include "app/ProgramRun.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/os/EndSignals.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "sstv/SstvFixture.h"
#include "sstv/workshop/SstvTitles.h"
#include "support/Contest.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/receive/RxPicking.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <csignal>

namespace {

class SstvQso : public zvtest::SstvWindowTest {
  protected:
    void SetUp() override {
        SstvWindowTest::SetUp();
        zvtest::freshRigGlobals();
        ASSERT_TRUE(hamlog::createLog(path(QStringLiteral("HAMLOG"))));
        logbook::Globals& g = logbook::g;
        g.HamlogPath = path(QStringLiteral("HAMLOG.HDB"));
        g.HamlogDataPath = path(QStringLiteral("HAMLOG"));
        g.HamlogConfirmText = QStringLiteral("NO");
        core::g.LogModeTextSstv = QStringLiteral("SSTV");
    }
    void TearDown() override {
        hamlog::window::disconnect();
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(zvtest::kSafetyNetMsecs);
        }
        hamlog::HamlogClose(logbook::g.HamlogHandle, 0);
        SstvWindowTest::TearDown();
    }
    SSTVForm& withLink(int link) {
        logbook::g.HamlogLink = link;
        return window();
    }
    void startLoggingProgram() {
        program.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                      {QStringLiteral("--log"), path(QStringLiteral("HAMLOG.HDB"))});
        ASSERT_TRUE(program.waitForStarted(zvtest::kSafetyNetMsecs));
        ASSERT_TRUE(zvtest::waitUntil([] { return hamlog::window::findWindow() > 0; }));
    }
    int logCount() {
        hamlog::HamlogHandle h;
        if (hamlog::HamlogOpen(0, h, path(QStringLiteral("HAMLOG")), 0) != hamlog::Done) return -1;
        const int n = hamlog::Vdbf_rcount(h);
        hamlog::HamlogClose(h, 0);
        return n;
    }
    QString storedField(int recNo, int field) {
        hamlog::HamlogHandle h;
        QString text;
        if (hamlog::HamlogOpen(0, h, path(QStringLiteral("HAMLOG")), 0) == hamlog::Done &&
            hamlog::THW_read(h, recNo, 3) == hamlog::Done)
            hamlog::ThwString(text, h, field);
        hamlog::HamlogClose(h, 0);
        return text.trimmed();
    }
    static void drop(QWidget* box, const QString& text) {
        QMimeData mime;
        mime.setText(text);
        const QPointF at = QRectF(box->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &dropped);
    }

    QProcess program;
};

TEST_F(SstvQso, TypingCapitalsAndTheEnterOrder) {
    SSTVForm& f = withLink(0);
    f.Text1->setFocus();
    QTest::keyClicks(f.Text1, QStringLiteral("qx1/abc"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QX1/ABC"));
    EXPECT_EQ(core::g.HisCall, QStringLiteral("QX1/ABC"));
    QTest::keyClick(f.Text1, Qt::Key_Return);
    EXPECT_EQ(f.focusWidget(), f.Text7);
    QTest::keyClicks(f.Text7, QStringLiteral("taro"));
    EXPECT_EQ(f.Text7->text(), QStringLiteral("taro")) << "the name is taken as typed";
    QTest::keyClick(f.Text7, Qt::Key_Return);
    EXPECT_EQ(f.focusWidget(), f.Text5);
    zvtest::clearBox(f.Text5);
    QTest::keyClicks(f.Text5, QStringLiteral("5a9-5"));
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595")) << "the RSV box drops letters";
    QTest::keyClick(f.Text5, Qt::Key_Backspace);
    EXPECT_EQ(f.Text5->text(), QStringLiteral("59"));
    QTest::keyClick(f.Text5, Qt::Key_Return);
    EXPECT_EQ(f.focusWidget(), f.Text14);
    // Outside contest mode Enter in the QTH box stays there and letters stay as typed.
    QTest::keyClicks(f.Text14, QStringLiteral("tokyo"));
    QTest::keyClick(f.Text14, Qt::Key_Return);
    EXPECT_EQ(f.Text14->text(), QStringLiteral("tokyo"));
    EXPECT_EQ(f.focusWidget(), f.Text14);
    EXPECT_EQ(terminal::receive::g.QthText, QStringLiteral("tokyo"));
    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    zvtest::clearBox(f.Text14);
    QTest::keyClicks(f.Text14, QStringLiteral("599-012a"));
    EXPECT_EQ(f.Text14->text(), QStringLiteral("599-012A"));
    EXPECT_EQ(terminal::receive::g.QthText, QStringLiteral("tokyo")) << "an exchange is no QTH";
    QTest::keyClick(f.Text14, Qt::Key_Return);
    EXPECT_EQ(f.focusWidget(), f.Text1);
}

TEST_F(SstvQso, TheLibraryLinkKeepsTheLogEntryInStep) {
    SSTVForm& f = withLink(1);
    core::g.QthOperation = QStringLiteral("QTH");
    ::TEMP_LOG& log = forms::TEMP_LOG();
    struct Case {
        const char* typed;
        bool prefixFirst;
        const char* call;
        const char* other;
        const char* rem2;
    } cases[] = {
        {"QX1ABC", false, "QX1ABC", "", "kept"},
        {"QX1ABC/2", false, "QX1ABC", "2", ""},
        {"QX1ABC/P/M", false, "QX1ABC", "P/M", ""},
        {"KH6/QX1ABC", true, "QX1ABC", "KH6", "$DX"},
    };
    for (const Case& c : cases) {
        zvtest::clearBox(f.Text1);
        log.Text15->setText(QStringLiteral("kept"));
        f.Check4->setChecked(c.prefixFirst);
        QTest::keyClicks(f.Text1, QString::fromLatin1(c.typed));
        EXPECT_EQ(log.Text1->text(), QString::fromLatin1(c.call)) << c.typed;
        EXPECT_EQ(log.Text2->text(), QString::fromLatin1(c.other)) << c.typed;
        EXPECT_EQ(log.Text15->text(), QString::fromLatin1(c.rem2)) << c.typed;
    }
    EXPECT_EQ(core::g.HisCallBase, QStringLiteral("KH6"));
    EXPECT_EQ(core::g.HisCallSuffix, QStringLiteral("QX1ABC"));
    EXPECT_FALSE(log.Text3->text().isEmpty()) << "a new QSO takes the time";
    QTest::keyClicks(f.Text7, QStringLiteral("Taro"));
    EXPECT_EQ(log.Text12->text(), QStringLiteral("Taro"));
    zvtest::clearBox(f.Text5);
    QTest::keyClicks(f.Text5, QStringLiteral("57"));
    EXPECT_EQ(log.Text5->text(), QStringLiteral("57"));
    QTest::keyClicks(f.Text14, QStringLiteral("Tokyo "));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("Tokyo"));
}

// A QSO logged from the SSTV window: the "/" part typed with the call stays
// split in the entry and whole in the log, and a QTH pasted with line breaks
// reaches the log as one line, also in a contest.
TEST_F(SstvQso, TheLoggedQsoKeepsTheSlashPartAndOneLineQth) {
    SSTVForm& f = withLink(1);
    ASSERT_TRUE(zvtest::waitExposed(&f));
    core::g.QthOperation = QStringLiteral("Free");
    const QString joined = QStringLiteral("Line1 東京 Line2 大阪 Line3");
    const auto pasteQth = [&f] {
        f.activateWindow();
        f.Text14->setFocus();
        f.Text14->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("Line1 東京\r\nLine2 大阪\nLine3"));
        QTest::keyClick(f.Text14, Qt::Key_V, Qt::ControlModifier);
    };
    f.activateWindow();
    f.Text1->setFocus();
    QTest::keyClicks(f.Text1, QStringLiteral("ja1abc/3"));
    pasteQth();
    EXPECT_EQ(f.Text14->text(), joined);
    EXPECT_TRUE(zvtest::chooseByClick(f.Label47, f.ADDQTHUPD, Qt::LeftButton));
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ::TEMP_LOG& log = forms::TEMP_LOG();
    EXPECT_EQ(log.Text1->text(), QStringLiteral("JA1ABC"));
    EXPECT_EQ(log.Text2->text(), QStringLiteral("3"));
    EXPECT_EQ(log.Text13->text(), joined);
    QTest::keyClick(log.Text1, Qt::Key_F1);
    ASSERT_EQ(logCount(), 1);
    hamlog::HamlogHandle h;
    ASSERT_EQ(hamlog::HamlogOpen(0, h, path(QStringLiteral("HAMLOG")), 0), hamlog::Done);
    ASSERT_EQ(hamlog::THW_read(h, 1, 3), hamlog::Done);
    QString call, qth;
    hamlog::ThwString(call, h, hamlog::FieldCall);
    hamlog::ThwString(qth, h, hamlog::FieldQth);
    hamlog::HamlogClose(h, 0);
    EXPECT_EQ(call.trimmed(), QStringLiteral("JA1ABC/3"));
    EXPECT_EQ(qth.trimmed(), joined);
    EXPECT_EQ(log.Text1->text(), QStringLiteral("JA1ABC")) << "the stored QSO shown again";
    EXPECT_EQ(log.Text2->text(), QStringLiteral("3"));

    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    pasteQth();
    EXPECT_EQ(f.Text14->text(), joined);
}

TEST_F(SstvQso, EachWayOfAskingRunsTheCallSignCheck) {
    SSTVForm& f = withLink(1);
    // With an empty call the check asks for one: each way of asking shows it.
    const auto asks = [] {
        const bool asked = !ui::script::asked().isEmpty() &&
                           ui::script::asked().back().prompt == QStringLiteral("CallSign を記入してください");
        ui::script::clearAsked();
        return asked;
    };
    ui::script::clearAsked();
    QTest::keyClick(f.Text1, Qt::Key_Down);
    EXPECT_TRUE(asks()) << "Down";
    QTest::mouseDClick(f.Text1, Qt::LeftButton);
    EXPECT_TRUE(asks()) << "double click";
    QTest::mouseClick(f.Label2, Qt::LeftButton);
    EXPECT_TRUE(asks()) << "the Call Sign label";
    terminal::macros::g.MacroMoveMode = 1;
    QTest::keyClick(f.Text1, Qt::Key_Down);
    EXPECT_FALSE(asks()) << "not while macros are being moved";
    QTest::mouseClick(f.Label2, Qt::LeftButton);
    EXPECT_TRUE(asks()) << "the label does not look at the macro move";
    terminal::macros::g.MacroMoveMode = 0;

    // A known call: the check runs on it and reports in the status bar.
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    f.StatusBar1->setText(1, QStringLiteral("old"));
    core::g.StatusMessage.clear();
    QTest::keyClick(f.Text1, Qt::Key_Down);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    EXPECT_NE(f.StatusBar1->text(1), QStringLiteral("old"));
}

TEST_F(SstvQso, DroppedTextIsCleanedAndChecked) {
    SSTVForm& f = withLink(1);
    sstv::AddTitleLabel();
    sstv::titles.SstvTitleLines[1] = QStringLiteral("de %c");
    sstv::titles.SstvTitleRefreshOn = 1;
    core::g.StatusMessage.clear();
    drop(f.Text1, QStringLiteral("  qx1abc\t\r\n"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QX1ABC")) << "a call however it arrives";
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("de QX1ABC"));
    drop(f.Text1, QStringLiteral("QX1ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QX1ABCDEFGHIJKLMNOPQ"));
    // Pasted by key over the whole box, a call drops its line break and blanks,
    // a report keeps its digits, every box keeps to the log field it feeds,
    // and a paste of nothing changes nothing.
    const std::pair<QLineEdit*, std::pair<QString, QString>> pastes[] = {
        {f.Text1, {QStringLiteral("qq1 xy/p\r\n"), QStringLiteral("QQ1XY/P")}},
        {f.Text5, {QStringLiteral("5 9x5\r\n"), QStringLiteral("595")}},
        {f.Text5, {QStringLiteral("5").repeated(13), QStringLiteral("5").repeated(12)}},
        {f.Text7,
         {QStringLiteral("n").repeated(70) + QStringLiteral("\r\n"), QStringLiteral("n").repeated(64)}},
        {f.Text14, {QStringLiteral("Q").repeated(14686), QStringLiteral("Q").repeated(128)}},
        {f.Text1, {QString(), QStringLiteral("QQ1XY/P")}},
    };
    f.show();
    f.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&f));
    for (const auto& [box, texts] : pastes) {
        box->setFocus();
        ASSERT_TRUE(zvtest::waitUntil([box] { return box->hasFocus(); }));
        box->selectAll();
        QApplication::clipboard()->setText(texts.first);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), texts.second);
    }
}

TEST_F(SstvQso, ContestNumberShowsThreeDigitsAndIsStored) {
    SSTVForm& f = withLink(0);
    struct Case {
        int value;
        const char* shown;
    } cases[] = {{7, "007"}, {42, "042"}, {123, "123"}, {1234, "1234"}, {0, "000"}};
    for (const Case& c : cases) {
        f.VScroll4->setValue(c.value);
        EXPECT_EQ(f.Text11->text(), QLatin1String(c.shown));
        EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")),
                  QLatin1String(c.shown));
    }
    f.Text11->setText(QStringLiteral("99999"));
    EXPECT_EQ(f.VScroll4->value(), 32766) << "held to the spin's range";
    f.Text11->setText(QStringLiteral("x1"));
    EXPECT_EQ(f.VScroll4->value(), 0);
    EXPECT_EQ(f.Text11->text(), QStringLiteral("000"));
}

TEST_F(SstvQso, ClearingAsksForAnUnsavedEntryAndStartsTheNextQso) {
    core::g.HisRstPresetOn = QStringLiteral("1");
    SSTVForm& f = withLink(1);
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    // The entry kept in step out of sight was never opened: nothing to ask.
    logbook::g.LogWindowOpen = 1;
    ASSERT_FALSE(forms::TEMP_LOG().Text1->text().isEmpty());
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_TRUE(f.Text1->text().isEmpty());
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    zvtest::setBoxText(f.Text7, QStringLiteral("Taro"));
    zvtest::setBoxText(f.Text14, QStringLiteral("Tokyo"));
    f.Check4->setChecked(true);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_TRUE(forms::TEMP_LOG().isVisible());
    ui::script::clearAsked();
    ui::script::push(ui::No);
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QX1ABC")) << "No leaves everything";
    EXPECT_EQ(core::g.HisCall, QStringLiteral("QX1ABC"));
    EXPECT_EQ(f.ClearBusy, 0);

    ui::script::push(ui::Yes);
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    for (QLineEdit* box : {f.Text1, f.Text7, f.Text14})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595"));
    EXPECT_FALSE(f.Check4->isChecked());
    EXPECT_TRUE(core::g.HisCall.isEmpty());
    EXPECT_TRUE(forms::TEMP_LOG().Text1->text().isEmpty()) << "a fresh entry";

    // In contest mode the preset follows the contest's fixed report (the window
    // link starts no log entry that would bring its own).
    logbook::g.HamlogLink = 2;
    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    EXPECT_TRUE(f.Text5->text().isEmpty());
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON)); // the contest ends
    ASSERT_TRUE(zvtest::beginContest(f.CONON, false, true));
    core::g.HisRstPresetOn = QStringLiteral("0");
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595"));
}

TEST_F(SstvQso, WithoutALinkClearingLeavesTheBoxes) {
    SSTVForm& f = withLink(0);
    EXPECT_FALSE(f.Command1->isEnabled());
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    zvtest::setBoxText(f.Text7, QStringLiteral("Taro"));
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QX1ABC"));
    EXPECT_EQ(f.Text7->text(), QStringLiteral("Taro"));
    EXPECT_TRUE(core::g.HisCall.isEmpty());
}

TEST_F(SstvQso, RsvListPicksAndItsEditorRewritesTheFile) {
    writeFile("RSVmenu.DAT", "595\r\n5999\r\n   \r\n 57 \r\n");
    SSTVForm& f = withLink(0);
    ASSERT_EQ(f.List4->count(), 3);
    EXPECT_EQ(f.List4->item(1)->text(), QStringLiteral("599"));
    EXPECT_EQ(f.List4->item(2)->text(), QStringLiteral("57")) << "trimmed before it is cut";
    QTest::mouseClick(f.Label5, Qt::LeftButton);
    ASSERT_TRUE(f.List4->isVisible());
    const QRect entry = f.List4->visualItemRect(f.List4->item(1));
    QTest::mouseClick(f.List4->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(f.Text5->text(), QStringLiteral("599"));
    EXPECT_FALSE(f.List4->isVisible());
    EXPECT_EQ(f.focusWidget(), f.Text1);

    QTest::mouseClick(f.Command3, Qt::LeftButton);
    EXPECT_EQ(f.Command3->text(), QStringLiteral("RST set完了"));
    ASSERT_TRUE(f.Text10->isVisible());
    EXPECT_EQ(f.Text10->toPlainText(), QStringLiteral("595\n5999\n 57\n")) << "each stored line whole";
    QTest::keyClicks(f.Text10, QStringLiteral("5999"));
    QTest::keyClick(f.Text10, Qt::Key_Return);
    QTest::keyClicks(f.Text10, QStringLiteral("  "));
    QTest::keyClick(f.Text10, Qt::Key_Return);
    // A line typed longer than the list takes is said first; No goes back to the box.
    ui::script::clearAsked();
    ui::script::push(ui::No);
    QTest::mouseClick(f.Command3, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("RSVの一覧には各行の先頭3文字だけが使われます:\r\n"
                             "5999 → 599\r\n"
                             "行はこのまま保存します。よろしいですか？"));
    EXPECT_TRUE(f.Text10->isVisible());
    EXPECT_EQ(f.RsvEditMode, 1);
    EXPECT_EQ(readFile("RSVmenu.DAT"), QByteArray("595\r\n5999\r\n   \r\n 57 \r\n"));
    ui::script::push(ui::Yes);
    QTest::mouseClick(f.Command3, Qt::LeftButton);
    EXPECT_EQ(f.Command3->text(), QStringLiteral("RSVmenu set"));
    EXPECT_FALSE(f.Text10->isVisible());
    EXPECT_EQ(readFile("RSVmenu.DAT"), QByteArray("595\r\n5999\r\n   \r\n 57 \r\n5999\r\n\r\n"))
        << "the lines not changed keep their bytes";
    ASSERT_EQ(f.List4->count(), 4);
    EXPECT_EQ(f.List4->item(3)->text(), QStringLiteral("599"));
}

TEST_F(SstvQso, AnUnwritableRsvFileIsReportedAndTheListKept) {
    SSTVForm& f = withLink(0);
    QTest::mouseClick(f.Command3, Qt::LeftButton);
    QTest::keyClicks(f.Text10, QStringLiteral("57"));
    QTest::keyClick(f.Text10, Qt::Key_Return);
    // A folder where the file should be: no one can write it, root included.
    QFile::remove(path(QStringLiteral("RSVmenu.DAT")));
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("RSVmenu.DAT")));
    ui::script::clearAsked();
    QTest::mouseClick(f.Command3, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("RSVmenu.DAT に書き込めませんでした。"));
    EXPECT_TRUE(f.Text10->isVisible()) << "what was typed stays";
    EXPECT_EQ(f.Text10->toPlainText(), QStringLiteral("595\n57\n"));
    EXPECT_EQ(f.RsvEditMode, 1);
    ASSERT_EQ(f.List4->count(), 1);
    EXPECT_EQ(f.List4->item(0)->text(), QStringLiteral("595"));
}

TEST_F(SstvQso, QthPopupWritesTheLogEntry) {
    SSTVForm& f = withLink(1);
    zvtest::setBoxText(f.Text14, QStringLiteral("Tokyo"));
    ::TEMP_LOG& log = forms::TEMP_LOG();
    log.Text14->setText(QStringLiteral("  "));
    log.Text15->setText(QStringLiteral("JCC 100101"));
    EXPECT_TRUE(zvtest::chooseByClick(f.Label47, f.ADDREM1, Qt::LeftButton));
    EXPECT_EQ(log.Text14->text(), QStringLiteral("QTH=Tokyo"));
    EXPECT_TRUE(zvtest::chooseByClick(f.Label47, f.ADDREM1, Qt::LeftButton));
    EXPECT_EQ(log.Text14->text(), QStringLiteral("QTH=Tokyo,QTH=Tokyo"));
    EXPECT_TRUE(zvtest::chooseByClick(f.Label47, f.ADDREM2, Qt::LeftButton));
    EXPECT_EQ(log.Text15->text(), QStringLiteral("JCC 100101,QTH=Tokyo"));
    log.Text13->setText(QStringLiteral("Osaka"));
    EXPECT_TRUE(zvtest::chooseByClick(f.Label47, f.ADDQTHUPD, Qt::LeftButton));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("Tokyo"));
}

TEST_F(SstvQso, TheUtcBoxSwitchesLogTimesAndTheTitles) {
    // 08:30 on the PC clock.
    sysclock::setUtcForTest(QDateTime(QDate(2026, 3, 9), QTime(23, 30), Qt::UTC));
    SSTVForm& f = withLink(0);
    sstv::AddTitleLabel();
    sstv::titles.SstvTitleLines[1] = QStringLiteral("%L %U");
    sstv::SstvRefreshTitles();
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("2026-03-10 08:30J"));
    QTest::mouseClick(f.Check1, Qt::LeftButton);
    EXPECT_EQ(core::g.LogTimeUtc, 1);
    EXPECT_EQ(core::g.TimeZoneOffsetH, -9);
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("2026-03-09 23:30U"));
    f.Check1->setChecked(false);
    EXPECT_EQ(core::g.LogTimeUtc, 0);
    EXPECT_EQ(core::g.TimeZoneOffsetH, 0);
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("2026-03-10 08:30J"));
    sysclock::resetForTest();
}

TEST_F(SstvQso, EveryBoxChangeReexpandsTheTitles) {
    SSTVForm& f = withLink(0);
    sstv::AddTitleLabel();
    sstv::titles.SstvTitleLines[1] = QStringLiteral("%c %n %r %q #%N");
    QTest::keyClicks(f.Text1, QStringLiteral("qx1abc"));
    QTest::keyClicks(f.Text7, QStringLiteral("Taro"));
    zvtest::clearBox(f.Text5);
    QTest::keyClicks(f.Text5, QStringLiteral("57"));
    QTest::keyClicks(f.Text14, QStringLiteral("Tokyo"));
    f.Text11->setText(QStringLiteral("12"));
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("QX1ABC Taro 57 Tokyo #012"));
    f.Text11->clear();
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("QX1ABC Taro 57 Tokyo #"));
}

TEST_F(SstvQso, InSstvModeTheLogWindowsUseTheseBoxes) {
    SSTVForm& f = withLink(1);
    const logwindows::QsoBoxes boxes = logwindows::operatingBoxes();
    EXPECT_EQ(boxes.call, f.Text1);
    EXPECT_EQ(boxes.name, f.Text7);
    EXPECT_EQ(boxes.rst, f.Text5);
    EXPECT_EQ(boxes.qth, f.Text14);
    EXPECT_EQ(boxes.contestNo, f.Text11);
    EXPECT_EQ(boxes.status, f.StatusBar1);
    // The log button opens the log entry filled from here.
    zvtest::setBoxText(f.Text7, QStringLiteral("Taro"));
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_TRUE(forms::isLoaded<::TEMP_LOG>());
    EXPECT_TRUE(forms::TEMP_LOG().isVisible());
    EXPECT_EQ(forms::TEMP_LOG().Text12->text(), QStringLiteral("Taro"));
    EXPECT_EQ(core::g.HamlogEntrySent, 0) << "the window link's state is not touched";
}

// An end by a signal asks nothing, not even for a QSO handed over to the
// logging program: the SSTV window ends the run as its exit item would.
TEST_F(SstvQso, ASignalEndsWithoutAskingForAHandedOverQso) {
    startLoggingProgram();
    SSTVForm& f = withLink(2);
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    const endsignals::Watch watch;
    QObject::connect(&watch, &endsignals::Watch::ended, [] { app::endBySignal(); });
    ui::script::clearAsked();
    ::raise(SIGTERM);
    EXPECT_TRUE(zvtest::waitUntil([&] { return ends == 1; }));
    terminal::mainwindow::setProcessEndForTest({});
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_FALSE(forms::isLoaded<SSTVForm>());
}

TEST_F(SstvQso, LogButtonWithTheLoggingProgramsWindow) {
    startLoggingProgram();
    SSTVForm& f = withLink(2);
    ASSERT_TRUE(zvtest::beginContest(f.CONON, true)); // with serial numbers
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_FALSE(f.Label47->toolTip().isEmpty());
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    zvtest::setBoxText(f.Text5, QStringLiteral("595"));
    // The serial bar's top arrow raises the number to 7.
    for (int i = 0; i < 10 && f.VScroll4->value() < 7; ++i)
        QTest::mouseClick(f.VScroll4, Qt::LeftButton, {}, QPoint(f.VScroll4->width() / 2, 3));
    ASSERT_EQ(f.VScroll4->value(), 7);
    ui::script::clearAsked();
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(f.Command1->text(), QStringLiteral("LOG保存"));
    EXPECT_EQ(colour::backColor(f.Command1), 0x0000FFu);
    EXPECT_EQ(logCount(), 0);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(f.Command1->text(), QStringLiteral("LOG作成"));
    EXPECT_EQ(colour::backColor(f.Command1), 0xC0C0C0u);
    EXPECT_EQ(logCount(), 1);
    EXPECT_EQ(f.Text11->text(), QStringLiteral("008")) << "the serial number moves on";

    // The question: Cancel keeps the QSO pending, No drops it, Yes stores it.
    logbook::g.HamlogConfirmOn = 1;
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ui::script::push(ui::Cancel);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(colour::backColor(f.Command1), 0x0000FFu);
    ui::script::push(ui::No);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(colour::backColor(f.Command1), 0xC0C0C0u);
    EXPECT_EQ(logCount(), 1);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ui::script::push(ui::Yes);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(logCount(), 2);
    EXPECT_EQ(f.Text11->text(), QStringLiteral("009"));

    // Corrections typed after the hand-over are what the save stores.
    logbook::g.HamlogConfirmOn = 0;
    zvtest::setBoxText(f.Text1, QStringLiteral("QX2TYP0"));
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    for (auto [box, typed] : {std::pair{f.Text1, "qx2typo"}, std::pair{f.Text7, "Fixed"}}) {
        box->selectAll();
        QTest::keyClicks(box, QLatin1String(typed));
    }
    ui::script::push(ui::No); // the call corrected: no other station
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(storedField(3, hamlog::FieldCall), QStringLiteral("QX2TYPO"));
    EXPECT_EQ(storedField(3, hamlog::FieldName), QStringLiteral("Fixed"));

    // The clear button drops a pending QSO on the operator's word and greys the button.
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::clearAsked();
    ui::script::push(ui::No);
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("消去するとこのQSOは破棄されます")));
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(f.Text7->text(), QStringLiteral("Fixed"));
    ui::script::push(ui::Yes);
    QTest::mouseClick(f.Command7, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_TRUE(f.Text7->text().isEmpty());
    EXPECT_EQ(f.Command1->text(), QStringLiteral("LOG作成"));
    EXPECT_EQ(colour::backColor(f.Command1), 0xC0C0C0u);
    EXPECT_TRUE(f.Text1->text().isEmpty());
}

// A received FSK ID takes the call box only while it holds no other
// station's QSO; otherwise it is said, and the picture is saved under it.
TEST_F(SstvQso, AnFskIdNeverSwapsTheCallOfAQsoInProgress) {
    struct Row {
        int link;
        const char *call, *name;
        bool handOver;
        bool taken;
        bool stored = false; // handed over and stored: nothing of it stays
    };
    const Row rows[] = {{2, "QQ6SSE", "Uniform", true, false},
                        {1, "QQ6SSL", "Shin", false, false},
                        {0, "QQ6SSN", "", false, false},
                        {2, "", "", false, true},
                        {2, "QQ6STO", "Oscar", true, true, true}};
    startLoggingProgram();
    SSTVForm& f = withLink(2);
    QCheckBox* fsk = f.Check2[30];
    QTest::mouseClick(fsk, Qt::LeftButton, {}, QPoint(6, fsk->height() / 2));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.call);
        withLink(row.link);
        for (auto [box, typed] : {std::pair{f.Text1, row.call}, std::pair{f.Text7, row.name}}) {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, QLatin1String(typed));
        }
        if (row.handOver) QTest::mouseClick(f.Command1, Qt::LeftButton);
        if (row.stored) QTest::mouseClick(f.Command1, Qt::LeftButton);
        ui::script::clearAsked();
        core::g.StatusMessage.clear();
        const int count = logCount();
        ASSERT_TRUE(receive(sstveng::Scottie1));
        EXPECT_TRUE(ui::script::asked().isEmpty());
        EXPECT_EQ(f.Text1->text(), row.taken ? QStringLiteral("QQ9ABC") : QLatin1String(row.call));
        EXPECT_EQ(f.Text7->text(), row.stored ? QString() : QString::fromUtf8(row.name));
        EXPECT_EQ(core::g.StatusMessage.contains(QStringLiteral("QQ9ABC")), !row.taken);
        if (!row.handOver || row.stored) continue;
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        ASSERT_EQ(logCount(), count + 1);
        EXPECT_EQ(storedField(count + 1, hamlog::FieldCall), QLatin1String(row.call));
    }
}

// A call dropped on the box while a QSO is handed over goes in only on the
// operator's word, and then alone.
TEST_F(SstvQso, ADroppedCallAsksAboutTheHandedOverQso) {
    startLoggingProgram();
    SSTVForm& f = withLink(2);
    for (const ui::MsgResult answer : {ui::No, ui::Yes}) {
        zvtest::setBoxText(f.Text1, QStringLiteral("QQ6SSE"));
        zvtest::setBoxText(f.Text7, QStringLiteral("Uniform"));
        if (core::g.HamlogEntrySent == 0) QTest::mouseClick(f.Command1, Qt::LeftButton);
        ASSERT_EQ(core::g.HamlogEntrySent, 1);
        ui::script::clearAsked();
        ui::script::push(answer);
        drop(f.Text1, QStringLiteral("qq7drp"));
        ASSERT_EQ(ui::script::asked().size(), 1);
        const bool yes = answer == ui::Yes;
        EXPECT_EQ(f.Text1->text() + f.Text7->text(),
                  yes ? QStringLiteral("QQ7DRP") : QStringLiteral("QQ6SSEUniform"));
        EXPECT_EQ(core::g.HamlogEntrySent, yes ? 0 : 1);
    }
}

TEST_F(SstvQso, AClickOnTheQthLabelFetchesTheProgramsQth) {
    startLoggingProgram();
    SSTVForm& f = withLink(2);
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    zvtest::setBoxText(f.Text14, QStringLiteral("横浜市"));
    logwindows::HamlogSendQso();
    zvtest::clearBox(f.Text14);
    logbook::g.HamlogSending = 1;
    QTest::mouseClick(f.Label47, Qt::LeftButton);
    EXPECT_EQ(logbook::g.HamlogSending, 0);
    EXPECT_EQ(f.Text14->text(), QStringLiteral("横浜市"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(SstvQso, TheLogButtonSaysSoWhenTheProgramIsNotRunning) {
    SSTVForm& f = withLink(2);
    zvtest::setBoxText(f.Text1, QStringLiteral("QQ1ABC"));
    ui::script::clearAsked();
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.HamlogEntrySent, 0) << "nothing is marked sent";
    EXPECT_EQ(f.Command1->text(), QStringLiteral("LOG作成"));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("Turbo HAMLOG/Winが起動していません。"));
}

TEST_F(SstvQso, MenusOfTheWindow) {
    rig::g.TransverterUse = QStringLiteral("YES");
    rig::g.TransverterOn = QStringLiteral("0");
    SSTVForm& f = withLink(0);
    EXPECT_FALSE(f.dxinfo->isEnabled()) << "no Internet at all times";
    ASSERT_TRUE(zvtest::chooseMenuItem(f.TRVon));
    EXPECT_TRUE(f.TRVon->isChecked());
    EXPECT_EQ(core::IniStored(QStringLiteral("RIG_CON_CFG"), QStringLiteral("TRVon")), QStringLiteral("1"));
    ASSERT_TRUE(zvtest::chooseMenuItem(f.TRVon));
    EXPECT_FALSE(f.TRVon->isChecked());
    EXPECT_EQ(rig::g.TransverterOn, QStringLiteral("0"));
    EXPECT_EQ(core::IniStored(QStringLiteral("RIG_CON_CFG"), QStringLiteral("TRVon")), QStringLiteral("0"));
    for (QAction* item : {f.PSKCFG, f.VOLTX, f.VOLRX, f.STVHelp})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    // CW stands in the mode list, greyed: its keyer runs only beside RTTY.
    EXPECT_TRUE(f.PSKMODE[core::ModeCw]->isVisible());
    EXPECT_FALSE(f.PSKMODE[core::ModeCw]->isEnabled());
    EXPECT_EQ(f.TB_ON->text(), QStringLiteral("タイトルバー入れ"));

    // The status bar's "SSTV" panel opens the mode menu; the first panel does not.
    QMenu* popup = zvtest::popupByClick(f.StatusBar1->panel(2), Qt::LeftButton);
    EXPECT_EQ(popup, f.PMS);
    if (popup) popup->close();
    QTest::mouseClick(f.StatusBar1->panel(1), Qt::LeftButton);
    EXPECT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(SstvQso, TheSpotItemFollowsTheInternetSetting) {
    rig::g.InternetAlwaysOn = QStringLiteral("YES");
    SSTVForm& f = withLink(0);
    EXPECT_TRUE(f.dxinfo->isEnabled());
    EXPECT_EQ(f.dxinfo->text(), QStringLiteral("Zorvatek spot server"));
}

} // namespace

namespace {

TEST_F(SstvQso, TheLogViewerItemAndTheLoadShowTheViewer) {
    logbook::g.HamlogViewerOn = QStringLiteral("NO");
    SSTVForm& f = withLink(1);
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
    ASSERT_TRUE(f.HLDAT_VIEW->isEnabled());
    ASSERT_TRUE(zvtest::chooseMenuItem(f.HLDAT_VIEW));
    EXPECT_EQ(logbook::g.HamlogViewerOn, QStringLiteral("YES"));
    ASSERT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_TRUE(forms::LOGDATAVIEW().isVisible());

    // The next load of the window, with the viewer on, shows it again.
    forms::unload<LOGDATAVIEW>();
    forms::unload<SSTVForm>();
    window();
    ASSERT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_TRUE(forms::LOGDATAVIEW().isVisible());
}

} // namespace

namespace {

// The operator edits the QTH box with the keys a text box knows, before,
// during and after a contest; the exchange's length holds only in the contest.
TEST_F(SstvQso, TheQthBoxEditsLikeATextBoxInAndOutOfAContest) {
    SSTVForm& f = withLink(0);
    ASSERT_TRUE(zvtest::waitExposed(&f));
    f.activateWindow();
    f.Text14->setFocus();
    QTest::keyClicks(f.Text14, QStringLiteral("Tokyo"));
    QTest::keyClick(f.Text14, Qt::Key_Home);
    QTest::keyClicks(f.Text14, QStringLiteral("X"));
    EXPECT_EQ(f.Text14->text(), QStringLiteral("XTokyo"));
    QTest::keyClick(f.Text14, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.Text14, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("XTokyo"));
    QTest::keyClick(f.Text14, Qt::Key_Backspace);
    EXPECT_EQ(f.Text14->text(), QString()) << "the whole selection goes";

    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    f.activateWindow();
    f.Text14->setFocus();
    QTest::keyClicks(f.Text14, QStringLiteral("599-012 abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(f.Text14->text(), QStringLiteral("599-012 ABCDEFGHIJKLMNOPQRST")) << "28 letters";
    QTest::keyClick(f.Text14, Qt::Key_Home);
    QTest::keyClick(f.Text14, Qt::Key_Delete);
    QTest::keyClick(f.Text14, Qt::Key_Z);
    EXPECT_EQ(f.Text14->text(), QStringLiteral("Z99-012 ABCDEFGHIJKLMNOPQRST"));

    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON));
    ASSERT_EQ(core::g.ContestMode, 0);
    f.Text14->setFocus();
    QTest::keyClick(f.Text14, Qt::Key_End);
    QTest::keyClicks(f.Text14, QStringLiteral(" uvw"));
    EXPECT_EQ(f.Text14->text(), QStringLiteral("Z99-012 ABCDEFGHIJKLMNOPQRST uvw"));
}

// A QTH typed before the contest starts, or one the log puts into the box,
// stays whole; only what is typed or pasted in the contest keeps to the
// exchange's length.
TEST_F(SstvQso, AContestKeepsTheQthTheBoxAlreadyHolds) {
    SSTVForm& f = withLink(0);
    ASSERT_TRUE(zvtest::waitExposed(&f));
    f.activateWindow();
    f.Text14->setFocus();
    const QString qth = QStringLiteral("Tokyo Shinjuku-ku Nishi-Shinjuku 2-8-1");
    QTest::keyClicks(f.Text14, qth);
    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    EXPECT_EQ(f.Text14->text(), qth);
    f.activateWindow();
    f.Text14->setFocus();
    ASSERT_TRUE(zvtest::waitUntil([&f] { return f.Text14->hasFocus(); }));
    QTest::keyClick(f.Text14, Qt::Key_End);
    QTest::keyClicks(f.Text14, QStringLiteral("x"));
    EXPECT_EQ(f.Text14->text(), qth) << "no room for a letter more";
    QTest::keyClick(f.Text14, Qt::Key_Backspace);
    EXPECT_EQ(f.Text14->text(), qth.chopped(1));

    zvtest::setBoxText(f.Text14, qth + QStringLiteral(" JCC1001"));
    EXPECT_EQ(f.Text14->text(), qth + QStringLiteral(" JCC1001")) << "the log's QTH is not cut";

    QApplication::clipboard()->setText(QStringLiteral("599-012 ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    QTest::keyClick(f.Text14, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.Text14, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Text14->text(), QStringLiteral("599-012 ABCDEFGHIJKLMNOPQRST")) << "the paste over all of it";
}

} // namespace
