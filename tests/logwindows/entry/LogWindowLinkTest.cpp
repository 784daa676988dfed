// The log button with the window link: the logging program's window runs as a
// real process on the test's log.
#include "logwindows/QsoWindowFixture.h"

#include "logwindows/entry/HamlogLink.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/SpotHamlog.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"

#include <QAbstractButton>
#include <QDirIterator>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QThread>
#include <QTimer>

#include <array>
#include <atomic>
#include <csignal>

namespace {

class LogWindowLink : public zvtest::LoggingProgramTest {
  protected:
    void SetUp() override {
        LoggingProgramTest::SetUp();
        logbook::g.HamlogLink = 2;
        rig::g.RigFreqText = QStringLiteral("7.041");
    }
    PSK31MAIN& boxes(const QString& call, const QString& name, const QString& qth) {
        PSK31MAIN& m = forms::PSK31MAIN();
        zvtest::setBoxText(m.Text5, call);
        QTest::keyClick(m.Text5, Qt::Key_Return); // the call typed is the station's
        zvtest::setBoxText(m.Text6, name);
        zvtest::setBoxText(m.Text7, QStringLiteral("599"));
        zvtest::setBoxText(m.Text14, qth);
        ui::script::clearAsked();
        return m;
    }
    void press() { QTest::mouseClick(forms::PSK31MAIN().Command5, Qt::LeftButton); }
};

TEST_F(LogWindowLink, FirstPressHandsTheQsoOverAndTheSecondStoresIt) {
    startLoggingProgram();
    raiseSerial(startContest(true, false));
    PSK31MAIN& m =
        boxes(QStringLiteral(" QQ1AAA "), QStringLiteral("太郎"), QStringLiteral("東京都八王子市"));
    ASSERT_EQ(m.Text11->text(), QStringLiteral("002"));
    press();
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(core::g.HisCall, QStringLiteral("QQ1AAA"));
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG保存"));
    EXPECT_EQ(colour::backColor(m.Command5), 0x0000FFu);
    EXPECT_EQ(logCount(), 0);
    const int contestNo = m.VScroll4->value();

    press();
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
    EXPECT_EQ(colour::backColor(m.Command5), 0xC0C0C0u);
    EXPECT_EQ(m.VScroll4->value(), contestNo + 1);
    EXPECT_EQ(m.Text11->text(), QStringLiteral("003"));
    ASSERT_EQ(logCount(), 1);
    // The call came first (it starts the program's entry), every item after it.
    const hamlog::QsoRecord r = stored(1);
    EXPECT_EQ(r.CALL.trimmed(), QStringLiteral("QQ1AAA"));
    EXPECT_EQ(r.REM1.trimmed(), QStringLiteral("002(SendNo)"));
    EXPECT_EQ(r.FREQ.trimmed(), QStringLiteral("7.041"));
    EXPECT_EQ(r.MODE.trimmed(), QStringLiteral("BPSK"));
    EXPECT_EQ(r.HIS.trimmed(), QStringLiteral("599"));
    EXPECT_EQ(r.NAME.trimmed(), QStringLiteral("太郎"));
    EXPECT_EQ(r.QTH.trimmed(), QStringLiteral("東京都八王子市"));
    // The save emptied the program's entry: the QTH asked for afterwards comes
    // from its log for the call in the box, given to it first.
    zvtest::clearBox(m.Text14);
    QTest::mouseClick(m.Label47, Qt::LeftButton);
    EXPECT_EQ(m.Text14->text(), QStringLiteral("東京都八王子市"));

    // A double click on the red button stores the QSO with its first click; the
    // second would hand the same QSO over again, and asks first.
    setJst(QStringLiteral("2025-01-02 10:00"));
    boxes(QStringLiteral("QQ1DBL"), QStringLiteral("花子"), QString());
    press();
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::push(ui::No);
    QTest::mouseClick(m.Command5, Qt::LeftButton);
    QTest::mouseDClick(m.Command5, Qt::LeftButton);
    QTest::mouseRelease(m.Command5, Qt::LeftButton);
    EXPECT_EQ(askedPrompts(),
              QStringList{QStringLiteral("このQSOは保存したばかりです。\r\nもう一度LOG作成しますか？")});
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
    press();
    EXPECT_EQ(logCount(), 2) << "stored once";
}

TEST_F(LogWindowLink, AnEmptyCallIsNotHandedOver) {
    startLoggingProgram();
    for (const QString& call : {QString(), QStringLiteral("   ")}) {
        PSK31MAIN& m = boxes(call, QStringLiteral("太郎"), QString());
        press();
        EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("CALL DATA がありません")});
        EXPECT_EQ(core::g.HamlogEntrySent, 0);
        EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
        EXPECT_EQ(m.Text6->text(), QStringLiteral("太郎")) << "the boxes keep what was typed";
    }
    // Nor a box the log cannot hold: refused at the box, the typing kept.
    const std::array<std::array<QString, 3>, 2> refused = {{
        {QStringLiteral("名前〜€é"), QString(), QStringLiteral("「Name」の「€é」")},
        {QString(), QStringLiteral("Ena😀"), QStringLiteral("「QTH」の「😀」")},
    }};
    for (const auto& [name, qth, said] : refused) {
        PSK31MAIN& named = boxes(QStringLiteral("QQ1AAA"), name, qth);
        press();
        EXPECT_EQ(
            askedPrompts(),
            QStringList{said + QStringLiteral("はLOG に保存できない文字です。\n別の文字に直して下さい。")});
        EXPECT_EQ(core::g.HamlogEntrySent, 0);
        EXPECT_EQ(named.Text6->text() + named.Text14->text(), name + qth);
    }
    // Nor is a serial number the operator mistyped.
    startContest(true, false);
    PSK31MAIN& m = boxes(QStringLiteral("QQ1AAA"), QStringLiteral("太郎"), QString());
    m.Text11->setFocus();
    m.Text11->selectAll();
    QTest::keyClicks(m.Text11, QStringLiteral("5x"));
    press();
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("Contest ナンバーが正しくありません")});
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
    EXPECT_EQ(logCount(), 0);
}

TEST_F(LogWindowLink, NameAndQthKnownToOneSideEndUpOnBoth) {
    fillLog(1); // QQ1AA1, name NAME1, no QTH
    startLoggingProgram();
    PSK31MAIN& m = boxes(QStringLiteral("QQ1AA1"), QString(), QStringLiteral("横浜市"));
    logwindows::HamlogSendQso();
    EXPECT_EQ(m.Text6->text(), QStringLiteral("NAME1"));
    EXPECT_EQ(m.Text14->text(), QStringLiteral("横浜市"));
    EXPECT_TRUE(logwindows::HamlogAskQth());
    EXPECT_EQ(logbook::g.HamlogQthReply, QStringLiteral("横浜市"));

    // Both sides know a name: each keeps its own.
    zvtest::setBoxText(m.Text6, QStringLiteral("Taro"));
    logwindows::HamlogSendQso();
    EXPECT_EQ(m.Text6->text(), QStringLiteral("Taro"));
    EXPECT_TRUE(logwindows::HamlogAskName());
    EXPECT_EQ(logbook::g.HamlogNameReply, QStringLiteral("NAME1"));
    EXPECT_EQ(m.Text6->text(), QStringLiteral("NAME1")); // an explicit request fills the box

    // What the program gave is QQ1AA1's: a call typed over it takes it away,
    // and the next station's hand-over neither keeps nor sends it.
    m.Text5->selectAll();
    QTest::keyClicks(m.Text5, QStringLiteral("QQ2NEW"));
    EXPECT_TRUE(m.Text6->text().isEmpty());
    EXPECT_TRUE(m.Text14->text().isEmpty());
    logwindows::HamlogSendQso();
    EXPECT_TRUE(m.Text6->text().isEmpty());
    // A name the operator typed is theirs, whatever the call.
    zvtest::setBoxText(m.Text6, QStringLiteral("Hanako"));
    m.Text5->selectAll();
    QTest::keyClicks(m.Text5, QStringLiteral("QQ1AA1"));
    logwindows::HamlogSendQso();
    EXPECT_EQ(m.Text6->text(), QStringLiteral("Hanako"));
}

TEST_F(LogWindowLink, AClickOnTheQthLabelFetchesTheProgramsQth) {
    startLoggingProgram();
    PSK31MAIN& m = boxes(QStringLiteral("QQ1AA1"), QString(), QStringLiteral("横浜市"));
    logwindows::HamlogSendQso();
    zvtest::clearBox(m.Text14);
    logbook::g.HamlogSending = 1; // a hand-over cut short keeps the boxes closed to replies
    QTest::mouseClick(m.Label47, Qt::LeftButton);
    EXPECT_EQ(logbook::g.HamlogSending, 0);
    EXPECT_EQ(m.Text14->text(), QStringLiteral("横浜市"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(ui::script::asked().isEmpty());

    // The program answers for the call in the box, given to it first: an empty
    // answer keeps what was typed, and an answer that comes after another call
    // was typed is not taken.
    boxes(QStringLiteral("QQ3OSA"), QString(), QStringLiteral("大阪府大阪市"));
    press();
    press();
    ASSERT_EQ(logCount(), 1);
    struct Case {
        QString call, qth, typedMeanwhile, shown;
    } cases[] = {
        {QStringLiteral("QQ6ZZZ"), QStringLiteral("Nara"), {}, QStringLiteral("Nara")},
        {QStringLiteral("QQ3OSA"), {}, {}, QStringLiteral("大阪府大阪市")},
        {QStringLiteral("QQ5NEW"), QStringLiteral("Kobe"), {}, QStringLiteral("Kobe")},
        {QStringLiteral("QQ3OSA"), {}, QStringLiteral("QQ4MID"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.call + c.typedMeanwhile).toStdString());
        m.Text5->selectAll();
        QTest::keyClicks(m.Text5, c.call);
        m.Text14->selectAll();
        QTest::keyClick(m.Text14, Qt::Key_Delete);
        QTest::keyClicks(m.Text14, c.qth);
        QTimer typing;
        QObject::connect(&typing, &QTimer::timeout, [&] {
            if (!forms::waitsRun()) return;
            typing.stop();
            m.Text5->selectAll();
            QTest::keyClicks(m.Text5, c.typedMeanwhile);
        });
        if (!c.typedMeanwhile.isEmpty()) typing.start(0);
        QTest::mouseClick(m.Label47, Qt::LeftButton);
        EXPECT_FALSE(typing.isActive());
        EXPECT_EQ(m.Text14->text(), c.shown);
    }
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

// While a QSO is handed over, nothing gives the logging program another call
// unasked; an entry it started anew (a spot's call, a restart, a look-up
// after it) takes the whole QSO again: the save stores the QSO handed over.
TEST_F(LogWindowLink, NothingButTheOperatorReplacesAHandedOverQso) {
    enum Way { QthCaption, CallCheck, LinkChange, Spot, Restart, RestartThenQth, Clear };
    const QString lookUp = QStringLiteral("別のCALLを問い合わせるとこのQSOは破棄されます");
    const std::tuple<Way, QString, QString> cases[] = {
        {QthCaption, QStringLiteral("QQ5BBB"), lookUp},
        {CallCheck, QStringLiteral("QQ5CCC"), lookUp},
        {LinkChange, QStringLiteral("QQ5DDD"), QStringLiteral("ＬＯＧ連携を変更するとこのQSOは破棄されます")},
        {Spot, QStringLiteral("QQ5EEE"), {}},
        {Restart, QStringLiteral("QQ5FFF"), {}},
        {RestartThenQth, QStringLiteral("QQ5GGG"), {}},
        {Clear, QStringLiteral("QQ5HHH"), QStringLiteral("消去するとこのQSOは破棄されます")}};
    startLoggingProgram();
    writeIni(QStringLiteral("[HamLog]\nHAMLOGtype=2\nHAMLOGexePOS=/opt/HAMLOGW.EXE\n"));
    PSK31MAIN& m = forms::PSK31MAIN();
    for (const auto& [way, call, question] : cases) {
        SCOPED_TRACE(call.toStdString());
        boxes(call, QStringLiteral("Bravo"), QStringLiteral("Beppu"));
        press();
        const int count = logCount();
        m.Text5->selectAll();
        QTest::keyClick(m.Text5, Qt::Key_Z, Qt::ShiftModifier);
        if (!question.isEmpty()) ui::script::push(ui::No);
        if (way == QthCaption || way == CallCheck)
            QTest::mouseClick(way == CallCheck ? m.Label1 : m.Label47, Qt::LeftButton);
        if (way == CallCheck) { // the call kept as typed, looked up again, is asked about again
            ui::script::push(ui::No);
            QTest::mouseClick(m.Label1, Qt::LeftButton);
        }
        if (way == LinkChange) {
            ASSERT_TRUE(zvtest::chooseMenuItem(m.PSKCFG));
            CFGSHEET& s = forms::CFGSHEET();
            QTest::mouseClick(s.SSTab1->tabBar(), Qt::LeftButton, {},
                              s.SSTab1->tabBar()->tabRect(2).center());
            QTest::mouseClick(s.Option8[1], Qt::LeftButton, {}, QPoint(8, s.Option8[1]->height() / 2));
            forms::unload<CFGSHEET>();
        }
        if (way == Clear) QTest::mouseClick(m.Command4, Qt::LeftButton);
        if (way == Spot) spots::SendSpotToHamlog(QStringLiteral("Z"), {}, QStringLiteral("NOR"), {}, {}, {});
        if (way >= Restart) {
            program.kill();
            program.waitForFinished(zvtest::kSafetyNetMsecs);
            ASSERT_TRUE(zvtest::waitUntil([] { return hamlog::window::findWindow() == 0; }));
            startLoggingProgram();
        }
        if (way == RestartThenQth) {
            m.Text5->selectAll();
            QTest::keyClicks(m.Text5, call);
            QTest::mouseClick(m.Label47, Qt::LeftButton);
        }
        EXPECT_EQ(askedPrompts().size(), question.isEmpty() ? 0 : way == CallCheck ? 2 : 1);
        EXPECT_TRUE(askedPrompts().value(0).contains(question));
        EXPECT_TRUE(askedPrompts().value(way == CallCheck ? 1 : 0).contains(question));
        EXPECT_EQ(logbook::g.HamlogLink + core::g.HamlogEntrySent, 3);
        m.Text5->selectAll();
        QTest::keyClicks(m.Text5, call);
        press();
        ASSERT_EQ(logCount(), count + 1);
        const hamlog::QsoRecord r = stored(count + 1);
        EXPECT_EQ(
            QStringList({r.CALL.trimmed(), r.HIS.trimmed(), r.NAME.trimmed(), r.QTH.trimmed()}),
            QStringList({call, QStringLiteral("599"), QStringLiteral("Bravo"), QStringLiteral("Beppu")}));
    }
}

// The operator's Yes lets the handed-over (or typed) station go whole: none of
// its name, report or QTH stays to be stored with the next call.
TEST_F(LogWindowLink, AYesLetsTheHandedOverStationGoWhole) {
    enum Way { CallCheck, GetList, Clear, CtrlC };
    const std::tuple<Way, QString, bool> cases[] = {{CallCheck, QStringLiteral("QQ9AAA"), true},
                                                    {GetList, QStringLiteral("QQ9BBB"), true},
                                                    {Clear, QString(), true},
                                                    {CtrlC, QString(), true},
                                                    {GetList, QStringLiteral("QQ9CCC"), false}};
    startLoggingProgram();
    PSK31MAIN& m = forms::PSK31MAIN();
    for (const auto& [way, next, handOver] : cases) {
        SCOPED_TRACE(next.toStdString());
        boxes(QStringLiteral("QQ5EEE"), QStringLiteral("Eiji"), QStringLiteral("Ena"));
        zvtest::setBoxText(m.Text7, QStringLiteral("559"));
        if (handOver) press();
        ui::script::push(ui::Yes);
        if (way == CallCheck) {
            m.Text5->selectAll();
            QTest::keyClicks(m.Text5, next);
            QTest::mouseClick(m.Label1, Qt::LeftButton);
        } else if (way == GetList) {
            m.List1->addItems({next, QStringLiteral("Cancel")});
            m.List1->show();
            QTest::mouseClick(m.List1->viewport(), Qt::LeftButton, {},
                              m.List1->visualItemRect(m.List1->item(0)).center());
        } else if (way == Clear) {
            QTest::mouseClick(m.Command4, Qt::LeftButton);
        } else {
            m.Text1->setFocus();
            QTest::keyClick(m.Text1, Qt::Key_C, Qt::ControlModifier);
        }
        ASSERT_EQ(askedPrompts().size(), 1);
        EXPECT_TRUE(askedPrompts()[0].startsWith(handOver ? QStringLiteral("LOG作成で渡した")
                                                          : QStringLiteral("入力中のQSO")));
        EXPECT_EQ(core::g.HamlogEntrySent, 0);
        EXPECT_EQ(QStringList({m.Text5->text(), m.Text6->text(), m.Text7->text(), m.Text14->text()}),
                  QStringList({next, QString(), QString(), QString()}));
        if (next.isEmpty()) continue;
        const int count = logCount();
        press();
        press();
        ASSERT_EQ(logCount(), count + 1);
        const hamlog::QsoRecord r = stored(count + 1);
        EXPECT_EQ(QStringList({r.CALL.trimmed(), r.HIS.trimmed(), r.NAME.trimmed(), r.QTH.trimmed()}),
                  QStringList({next, QString(), QString(), QString()}));
    }
}

TEST_F(LogWindowLink, TheDeclinedQuestionDropsTheEntryAndCancelKeepsItPending) {
    startLoggingProgram();
    logbook::g.HamlogConfirmOn = 1;
    PSK31MAIN& m = boxes(QStringLiteral("QQ2BBB"), QString(), QString());
    press();
    ui::script::push(ui::Cancel);
    press();
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG保存"));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("LOG を保存しますか？"));
    EXPECT_EQ(ui::script::asked()[0].title, QStringLiteral("ZORVATEK_LOG_SAVE"));
    ui::script::push(ui::No);
    press();
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    press(); // the dropped entry is gone: a new hand-over starts
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::push(ui::Yes);
    press();
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(logCount(), 1);
}

TEST_F(LogWindowLink, WithoutTheProgramNothingIsPendingOrTakenAsStored) {
    PSK31MAIN& m = boxes(QStringLiteral("QQ3CCC"), QString(), QString());
    press();
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("Turbo HAMLOG/Winが起動していません。")});
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(logwindows::HamlogAskRecNo(), std::nullopt);

    // The program goes away between the two presses: the QSO stays pending.
    startLoggingProgram();
    press();
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    program.kill();
    program.waitForFinished(zvtest::kSafetyNetMsecs);
    hamlog::window::disconnect();
    ui::script::clearAsked();
    press();
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG保存"));
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("Turbo HAMLOG/Winが起動していません。")});
}

TEST_F(LogWindowLink, LogKeyHandsTheQsoOverAsTheButtonDoes) {
    startLoggingProgram();
    PSK31MAIN& m = boxes(QStringLiteral("QQ4DDD"), QStringLiteral("Hanako"), QString());
    m.show();
    m.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&m));
    QTest::keyClick(m.Text5, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG保存"));
    EXPECT_TRUE(logwindows::HamlogAskName());
    EXPECT_EQ(logbook::g.HamlogNameReply, QStringLiteral("Hanako"));
    EXPECT_EQ(logCount(), 0);
}

// The logging program's entry cleared in the program itself with the QSO
// handed over: the save fails and says so, the QSO stays pending, and the
// next press hands it over again and stores it.
TEST_F(LogWindowLink, AFailedSaveKeepsTheQsoPendingAndTheNextPressStoresItOnce) {
    startLoggingProgram();
    PSK31MAIN& m = boxes(QStringLiteral("QQ6FFF"), QStringLiteral("太郎"), QStringLiteral("大阪市"));
    press();
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    QLocalSocket other;
    other.connectToServer(hamlog::window::serverName());
    ASSERT_TRUE(other.waitForConnected(zvtest::kSafetyNetMsecs));
    other.write(hamlog::window::encodeFrame(
        {hamlog::window::FrameKind::CopyData, hamlog::window::item(hamlog::window::HamlogCmdClear)}));
    ASSERT_TRUE(other.waitForReadyRead(zvtest::kSafetyNetMsecs)) << "the program has cleared its entry";

    press();
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOG_SAVE を失敗しました")});
    EXPECT_EQ(logCount(), 0);
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG保存"));
    EXPECT_EQ(m.Text5->text(), QStringLiteral("QQ6FFF"));
    EXPECT_EQ(m.Text6->text(), QStringLiteral("太郎"));

    ui::script::clearAsked();
    press();
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    ASSERT_EQ(logCount(), 1);
    EXPECT_EQ(stored(1).CALL.trimmed(), QStringLiteral("QQ6FFF"));
    EXPECT_EQ(stored(1).QTH.trimmed(), QStringLiteral("大阪市"));
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));

    // Stopped while the question is open, the logging program does not answer
    // the save: that is said once, in a word that waits for no answer, and the
    // press ends there with the QSO pending, so that the end chosen meanwhile
    // acts. Let go, the program takes the save late; the next press finds it
    // stored and stores nothing twice.
    logbook::g.HamlogConfirmOn = 1;
    boxes(QStringLiteral("QQ2LLL"), QStringLiteral("次郎"), QStringLiteral("京都市"));
    press();
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    const auto pid = static_cast<pid_t>(program.processId());
    ui::script::end(); // the boxes as the operator gets them
    const QString question = QStringLiteral("LOG を保存しますか？");
    QStringList said;
    bool answering = false;
    QTimer operatorAnswers;
    QObject::connect(&operatorAnswers, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (answering || !box || !box->isVisible()) return;
        answering = true;
        said << box->text();
        if (box->text() == question) {
            EXPECT_EQ(::kill(pid, SIGSTOP), 0);
        }
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        QTest::mouseClick(yes ? yes : box->button(QMessageBox::Ok), Qt::LeftButton);
        answering = false;
    });
    operatorAnswers.start(20);
    // While the stopped program is waited for, the windows' events run, and
    // the owner of the waits knows it.
    int ranWhileStopped = 0;
    QTimer windows;
    QObject::connect(&windows, &QTimer::timeout, [&] {
        ranWhileStopped += said.size() == 1 && !QApplication::activeModalWidget() && forms::waitsRun();
    });
    windows.start(20);
    press();
    operatorAnswers.stop();
    windows.stop();
    EXPECT_GT(ranWhileStopped, 0);
    EXPECT_EQ(said, QStringList{question});
    QMessageBox* notice = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) notice = box;
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(), QStringLiteral("Turbo HAMLOG/Winが応答しません。"));
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::begin();
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(m.pEnd));
    EXPECT_EQ(askedPrompts().size(), 1);
    EXPECT_TRUE(askedPrompts().value(0).contains(QStringLiteral("終了するとこのQSOは破棄されます")));
    notice->close();
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(zvtest::waitUntil([this] { return logCount() == 2; }));
    ui::script::clearAsked();
    press();
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
    ASSERT_EQ(logCount(), 2);
    EXPECT_EQ(stored(2).CALL.trimmed(), QStringLiteral("QQ2LLL"));
}

// The save stores the boxes as corrected since the hand-over, and a save the
// logging program took on its own meanwhile is not repeated by Ctrl+L.
TEST_F(LogWindowLink, TheSaveStoresTheCorrectedBoxesOnce) {
    startLoggingProgram();
    PSK31MAIN& m = forms::PSK31MAIN();
    m.show();
    m.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&m));
    // The last two: a name changed or emptied, a QTH emptied or typed and a report changed since the
    // hand-over.
    const char* cases[][8] = {{"QQ2TYP0", "Typo", "559", "Wrong", "QQ2TYPO", "Fixed", "579", "Right"},
                              {"QQ2AAA", "", "559", "", "QQ2AAA", "Jiro", "599", "Osaka"},
                              {"QQ7GHI", "TOM", "579", "SPRINGFIELD", "QQ7GHI", "Tommy", "569", ""},
                              {"QQ7GHJ", "TOM", "579", "", "QQ7GHJ", "", "579", "SPRINGFIELD"}};
    for (const auto& c : cases) {
        boxes(QLatin1String(c[0]), QLatin1String(c[1]), QLatin1String(c[3]));
        zvtest::setBoxText(m.Text7, QLatin1String(c[2]));
        press();
        // A typed call other than the one handed over is asked about; a No keeps the QSO, corrected.
        const bool callChanged = qstrcmp(c[0], c[4]) != 0;
        if (callChanged) ui::script::push(ui::No);
        for (int i : {0, 1, 2, 3}) {
            QLineEdit* box = std::array{m.Text5, m.Text6, m.Text7, m.Text14}[i];
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, QLatin1String(c[4 + i]));
        }
        EXPECT_EQ(ui::script::asked().size(), callChanged ? 1 : 0);
        ui::script::clearAsked();
        press();
        const hamlog::QsoRecord r = stored(logCount());
        EXPECT_EQ(QStringList({r.CALL.trimmed(), r.NAME.trimmed(), r.HIS.trimmed(), r.QTH.trimmed()}),
                  QStringList({c[4], c[5], c[6], c[7]}));
    }
    ui::script::push(ui::Yes); // the QSO just stored, handed over once more
    press();
    ui::script::clearAsked();
    QLocalSocket other; // the logging program's own save
    other.connectToServer(hamlog::window::serverName());
    ASSERT_TRUE(other.waitForConnected(zvtest::kSafetyNetMsecs));
    other.write(hamlog::window::encodeFrame(
        {hamlog::window::FrameKind::CopyData, hamlog::window::item(hamlog::window::HamlogCmdSave)}));
    ASSERT_TRUE(zvtest::waitUntil([this] { return logCount() == 5; }));
    QTest::keyClick(m.Text5, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(logCount(), 5);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

// A logging program's window that answers every request with a text holding no
// record count, on a thread of its own (the system waits for its answers).
class GarbledWindow : public QThread {
  public:
    void run() override {
        QLocalServer server;
        QLocalServer::removeServer(hamlog::window::serverName());
        if (!server.listen(hamlog::window::serverName())) return;
        listening = true;
        if (!server.waitForNewConnection(zvtest::kSafetyNetMsecs)) return;
        QLocalSocket* s = server.nextPendingConnection();
        QByteArray buffer;
        while (s->state() == QLocalSocket::ConnectedState && s->waitForReadyRead(zvtest::kSafetyNetMsecs)) {
            buffer += s->readAll();
            bool broken = false;
            while (auto frame = hamlog::window::takeFrame(buffer, broken)) {
                if (frame->data.dwData == hamlog::window::HamlogReqRecNo) {
                    hamlog::window::CopyData reply;
                    reply.lpData = QByteArray("count= ABC\r\n");
                    reply.cbData = quint32(reply.lpData->size());
                    s->write(hamlog::window::encodeFrame({hamlog::window::FrameKind::CopyData, reply}));
                }
                s->write(hamlog::window::encodeFrame({hamlog::window::FrameKind::Handled, {}}));
                s->flush();
            }
        }
    }
    std::atomic<bool> listening = false;
};

TEST_F(LogWindowLink, AnAnswerWithoutARecordCountSaysLogSaveErr) {
    GarbledWindow window;
    window.start();
    ASSERT_TRUE(zvtest::waitUntil([&] { return window.listening.load(); }));
    PSK31MAIN& m = boxes(QStringLiteral("QQ5EEE"), QString(), QString());
    press();
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOG Save Err")});
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), QStringLiteral("LOG作成"));
    hamlog::window::disconnect();
    window.wait(zvtest::kSafetyNetMsecs);
}

} // namespace
