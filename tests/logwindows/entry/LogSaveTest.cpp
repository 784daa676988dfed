// Saving the entry through the logging library: append, update, the library's
// question, and what a failed save keeps.
#include "logwindows/LogFixture.h"

#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/text/TextRule.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "settings/sheet/CFGSHEET.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QTabBar>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

namespace {

using zvtest::LogTest;

TEST_F(LogTest, F1AppendsThenUpdatesTheSameRecord) {
    fillLog(120);
    setJst(QStringLiteral("2024-01-15 21:30"));
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ3ABC"), QStringLiteral("太郎"));
    w.Text13->setText(QStringLiteral("東京都八王子市"));
    w.Text16->setText(QStringLiteral("*"));
    pressF1();

    EXPECT_EQ(logCount(), 121);
    const hamlog::QsoRecord r = stored(121);
    EXPECT_EQ(r.CALL.trimmed(), QStringLiteral("QQ3ABC"));
    EXPECT_EQ(r.DATE, QStringLiteral("24-01-15"));
    EXPECT_EQ(r.TIME, QStringLiteral("21:30J"));
    EXPECT_EQ(r.HIS.trimmed(), QStringLiteral("599"));
    EXPECT_EQ(r.FREQ.trimmed(), QStringLiteral("1.9"));
    EXPECT_EQ(r.MODE.trimmed(), QStringLiteral("BPSK"));
    EXPECT_EQ(r.QSL, QStringLiteral("J* "));
    EXPECT_EQ(r.NAME.trimmed(), QStringLiteral("太郎"));
    EXPECT_EQ(r.QTH.trimmed(), QStringLiteral("東京都八王子市"));
    // Reread and shown for editing.
    EXPECT_EQ(logbook::g.LogEditMode, 1);
    EXPECT_EQ(logbook::g.LogEntrySaved, 1);
    EXPECT_EQ(logbook::g.HamlogRecNo, 121);
    EXPECT_EQ(logbook::g.LoggedRecNo, 121);
    EXPECT_EQ(w.StatusBar1->text(1), QStringLiteral("Record No=121"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("2024-01-15"));
    EXPECT_EQ(w.Text13->text(), QStringLiteral("東京都八王子市"));
    EXPECT_TRUE(w.Command4->isVisibleTo(&w));
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(w.LSave->text(), QStringLiteral("保存完了")) << "the operator sees the QSO stored";
    EXPECT_FALSE(w.LSave->isEnabled());

    w.Text14->setText(QStringLiteral("FB QSO"));
    pressF1();
    EXPECT_EQ(logCount(), 121);
    EXPECT_EQ(stored(121).REM1.trimmed(), QStringLiteral("FB QSO"));
    EXPECT_EQ(stored(121).NAME.trimmed(), QStringLiteral("太郎"));
    EXPECT_EQ(logbook::g.LogEntrySaved, 1);
    EXPECT_EQ(logbook::g.HamlogRecNo, 121);

    // The log button pressed again while the entry shows the QSO it stored
    // asks before a second record: No keeps the record on show, Yes adds one
    // (F1 asks no more). F1 on a new page of the call just stored asks too.
    setJst(QStringLiteral("2024-01-15 21:45"));
    PSK31MAIN& m = forms::PSK31MAIN();
    int records = 121;
    for (const bool newPage : {false, true, false}) {
        for (const ui::MsgResult answer : {ui::No, ui::Yes}) {
            SCOPED_TRACE(newPage * 10 + (answer == ui::Yes));
            if (newPage) {
                QTest::keyClick(m.Text5, Qt::Key_End);
                QTest::keyClick(m.Text5, Qt::Key_Backspace);
                QTest::keyClick(m.Text5, Qt::Key_C, Qt::ShiftModifier);
                ASSERT_EQ(logbook::g.LogEditMode, 0);
            }
            ui::script::clearAsked();
            ui::script::push(answer);
            if (!newPage) {
                const QString saveItem = w.LSave->text();
                QTest::mouseClick(m.Command5, Qt::LeftButton);
                EXPECT_EQ(logbook::g.LogEditMode, answer == ui::Yes ? 0 : 1);
                EXPECT_EQ(w.LSave->text(), answer == ui::Yes ? QStringLiteral("LOG保存(F1)") : saveItem);
            }
            pressF1();
            EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral(
                                          "このQSOは保存したばかりです。\r\nもう一度LOG作成しますか？")});
            if (answer == ui::Yes) ++records;
            EXPECT_EQ(logCount(), records);
        }
    }
}

// The "/" part box is part of the call: stored by the rule the exports use and
// split back into the two boxes when the record is browsed to.
TEST_F(LogTest, TheSlashPartIsStoredWithTheCallAndSplitBackWhenBrowsed) {
    TEMP_LOG* w = &openFromMain(QStringLiteral("QQ1AA"));
    w->Text2->setFocus();
    QTest::keyClicks(w->Text2, QStringLiteral("8"));
    pressF1();
    ASSERT_EQ(logCount(), 1);
    EXPECT_EQ(stored(1).CALL.trimmed(), QStringLiteral("QQ1AA/8"));

    w = &openFromMain(QStringLiteral("QQ1AB"));
    w->Text2->setFocus();
    QTest::keyClicks(w->Text2, QStringLiteral("kh6"));
    w->Text14->setText(QStringLiteral("$DX"));
    pressF1();
    ASSERT_EQ(logCount(), 2);
    EXPECT_EQ(stored(2).CALL.trimmed(), QStringLiteral("KH6/QQ1AB"));

    w = &openFromMain(QString());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(w->Text1->text(), QStringLiteral("QQ1AB"));
    EXPECT_EQ(w->Text2->text(), QStringLiteral("KH6"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(w->Text1->text(), QStringLiteral("QQ1AA"));
    EXPECT_EQ(w->Text2->text(), QStringLiteral("8"));
    // Stored again unchanged, the call stays whole.
    pressF1();
    EXPECT_EQ(stored(1).CALL.trimmed(), QStringLiteral("QQ1AA/8"));
}

TEST_F(LogTest, FieldsAreFittedToTheRecord) {
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ3ABC  "));
    ui::setTextLimit(w.Text12, 100);
    w.Text12->setText(QStringLiteral("N").repeated(70));
    w.Text3->setText(QStringLiteral("2024-01-15"));
    w.Text11->clear();
    w.Text17->setText(QStringLiteral("*"));
    pressF1();
    const hamlog::QsoRecord& q = logbook::g.NewQso;
    EXPECT_EQ(q.NAME, QStringLiteral("N").repeated(64));
    EXPECT_EQ(q.DATE, QStringLiteral("24-01-15"));
    EXPECT_EQ(q.QSL, QStringLiteral("  *"));
    EXPECT_EQ(q.CALL, QStringLiteral("QQ3ABC").leftJustified(20));
    EXPECT_EQ(stored(1).NAME.trimmed(), QStringLiteral("N").repeated(64));
}

TEST_F(LogTest, ADeclinedConfirmationStoresNothing) {
    fillLog(5);
    logbook::g.HamlogConfirmText = QStringLiteral("YES");
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ4DEF"), QStringLiteral("次郎"));
    ui::script::push(ui::No);
    pressF1();
    EXPECT_EQ(logCount(), 5);
    EXPECT_EQ(logbook::g.LogEntrySaved, 0);
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(logbook::g.HamlogRecNo, 6);
    EXPECT_EQ(w.LSave->text(), QStringLiteral("LOG保存(F1)"));
    EXPECT_TRUE(w.LSave->isEnabled());
    EXPECT_EQ(w.Text12->text(), QStringLiteral("次郎"));

    ui::script::push(ui::Yes);
    pressF1();
    EXPECT_EQ(logCount(), 6);
    EXPECT_EQ(stored(6).CALL.trimmed(), QStringLiteral("QQ4DEF"));
    EXPECT_EQ(logbook::g.LogEditMode, 1);
}

TEST_F(LogTest, AFailedSaveSaysSoAndKeepsEverything) {
    struct Case {
        const char* name;
        QString call;
        QString band;
        bool removeLog;
        QString message;
        QString date = {}, time = {}; // typed over the stamped ones when given
        QString qth = QStringLiteral("大阪市");
    } cases[] = {
        {"no call", {}, QStringLiteral("7"), false, QStringLiteral("CALL DATA がありません")},
        {"no band", QStringLiteral("QQ5GHI"), {}, false, QStringLiteral("Band DATA がありません")},
        {"no number", QStringLiteral("QQ5GHI"), QStringLiteral("7..0"), false,
         QStringLiteral("Band DATA が正しくありません")},
        {"a point", QStringLiteral("QQ5GHI"), QStringLiteral("."), false,
         QStringLiteral("Band DATA が正しくありません")},
        {"no log", QStringLiteral("QQ5GHI"), QStringLiteral("7"), true,
         QStringLiteral("書き込みに失敗しました")},
        {"no such day", QStringLiteral("QQ5GHI"), QStringLiteral("7"), false,
         QStringLiteral("Date DATA が正しくありません (YYYY-MM-DD)"), QStringLiteral("2024-02-30")},
        {"two colons",
         QStringLiteral("QQ5GHI"),
         QStringLiteral("7"),
         false,
         QStringLiteral("Time DATA が正しくありません (HH:MM と J か U)"),
         {},
         QStringLiteral("08::00")},
        {"not Shift-JIS",
         QStringLiteral("QQ5GHI"),
         QStringLiteral("7"),
         false,
         QStringLiteral("「QTH」の「ü」はLOG に保存できない文字です。\n別の文字に直して下さい。"),
         {},
         {},
         QStringLiteral("Zürich〜")},
    };
    fillLog(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ5GHI"), QStringLiteral("三郎"));
        w.Text1->setText(c.call);
        w.Combo1->setEditText(c.band);
        w.Text13->setText(c.qth);
        if (!c.date.isEmpty()) w.Text3->setText(c.date);
        if (!c.time.isEmpty()) w.Text4->setText(c.time);
        if (c.removeLog) logbook::g.HamlogDataPath = path(QStringLiteral("GONE"));
        ui::script::clearAsked();
        pressF1();
        EXPECT_EQ(askedPrompts(), QStringList{c.message});
        EXPECT_EQ(logCount(), 3);
        EXPECT_EQ(logbook::g.HamlogRecNo, 4);
        EXPECT_EQ(logbook::g.LogEntrySaved, 0);
        EXPECT_EQ(logbook::g.LogEditMode, 0);
        EXPECT_EQ(w.Text1->text(), c.call);
        EXPECT_EQ(w.Text12->text(), QStringLiteral("三郎"));
        EXPECT_EQ(w.Text13->text(), c.qth);
        EXPECT_TRUE(w.LSave->isEnabled());
        EXPECT_TRUE(forms::isLoaded<TEMP_LOG>());
        logbook::g.HamlogDataPath = dataPath();
    }
}

TEST_F(LogTest, AnEditedRecordIsStoredEvenWhenTheLogWasClosedMeanwhile) {
    fillLog(10);
    TEMP_LOG& w = openFromMain(QString());
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(logbook::g.HamlogRecNo, 10);
    hamlog::HamlogClose(logbook::g.HamlogHandle, 0);
    w.Text13->setText(QStringLiteral("札幌市"));
    pressF1();
    EXPECT_TRUE(askedPrompts().isEmpty());
    EXPECT_EQ(stored(10).QTH.trimmed(), QStringLiteral("札幌市"));
    EXPECT_EQ(logCount(), 10);
}

TEST_F(LogTest, EscOnAnUnsavedEntryAsksFirst) {
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ6JKL"));
    ui::script::push(ui::No);
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか")});
    ASSERT_TRUE(forms::isLoaded<TEMP_LOG>());
    pressF1();
    ui::script::clearAsked();
    QTest::keyClick(forms::TEMP_LOG().Text1, Qt::Key_Escape);
    EXPECT_TRUE(askedPrompts().isEmpty());
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    EXPECT_EQ(logCount(), 1);
}

// The question answered with the keyboard's "y": the key, still down when the
// box closes, types nothing into the box behind it.
TEST_F(LogTest, TheKeyThatAnswersTheQuestionTypesNothingBehindIt) {
    PSK31MAIN& m = forms::PSK31MAIN();
    m.show();
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ9ABC"));
    w.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&w));
    ui::script::end();
    bool asked = false;
    QMetaObject::invokeMethod(
        qApp,
        [&asked] {
            QWidget* box = QApplication::activeModalWidget();
            asked = box != nullptr;
            if (box) QTest::keyPress(box, Qt::Key_Y);
        },
        Qt::QueuedConnection);
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    ui::script::begin();
    ASSERT_TRUE(asked);
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    m.activateWindow();
    m.Text5->setFocus();
    QTest::simulateEvent(m.Text5, true, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"), true);
    // X repeats the key as a release and a press of one time stamp, then lets it go.
    for (const auto& [type, at] : {std::pair{QEvent::KeyRelease, 700},
                                   {QEvent::KeyPress, 700},
                                   {QEvent::KeyRelease, 740},
                                   {QEvent::KeyPress, 740},
                                   {QEvent::KeyRelease, 760}}) {
        QKeyEvent key(type, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
        key.setTimestamp(at);
        QApplication::sendEvent(m.Text5, &key);
    }
    EXPECT_EQ(m.Text5->text(), QStringLiteral("QQ9ABC"));
    // Let go, the key types again.
    QTest::keyClick(m.Text5, Qt::Key_Y);
    EXPECT_EQ(m.Text5->text(), QStringLiteral("QQ9ABCY"));
}

// While the entry shows a stored record the next call typed turns a new page:
// the notice of it takes none of the keys the operator types on with, a key
// that reaches it goes to the box the operator is in now, it is said once
// however often a page turns while it is up, and it goes with the entry, once
// the new page is stored and once the entry is closed with 閉.
TEST_F(LogTest, TheNewPageNoticeTakesNoneOfTheCallTyped) {
    PSK31MAIN& m = forms::PSK31MAIN();
    m.show();
    openFromMain(QStringLiteral("QQ9OLD"));
    pressF1();
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    m.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&m));
    m.Text5->setFocus();
    m.Text5->selectAll();
    ui::script::end();
    // The operator types on where the focus is; a box waiting for an answer
    // would take the keys (and is closed after them).
    bool typedOn = false;
    QTimer::singleShot(0, [&typedOn] {
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Q2DAT"));
        if (QWidget* waiting = QApplication::activeModalWidget()) waiting->close();
        typedOn = true;
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ShiftModifier);
    ASSERT_TRUE(zvtest::waitUntil([&typedOn] { return typedOn; }));
    EXPECT_EQ(m.Text5->text(), QStringLiteral("QQ2DAT"));
    EXPECT_EQ(logbook::g.LogEditMode, 0) << "a new page";
    const auto notices = [] {
        QList<QMessageBox*> shown;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) shown << box;
        return shown;
    };
    ASSERT_EQ(notices().size(), 1);
    QMessageBox* notice = notices().first();
    // A key that reaches the notice goes to the box the operator types in;
    // Enter moves on from the name box there, as it does typed there.
    QTest::keyClick(notice, Qt::Key_X);
    EXPECT_EQ(m.Text5->text(), QStringLiteral("QQ2DATX"));
    QTest::mouseClick(m.Text6, Qt::LeftButton);
    QTest::keyClick(notice, Qt::Key_A);
    QTest::keyClick(notice, Qt::Key_Return);
    EXPECT_EQ(m.Text6->text(), QStringLiteral("a"));
    EXPECT_EQ(m.focusWidget(), m.Text7);
    // A record browsed to and a page turned again while the notice is up: one notice.
    TEMP_LOG& w = forms::TEMP_LOG();
    ui::script::begin();
    ui::script::push(ui::Yes);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ui::script::end();
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    QTest::keyClick(m.Text5, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(notices(), QList<QMessageBox*>{notice});
    pressF1();
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    EXPECT_TRUE(notices().isEmpty()) << "the new page is stored";
    QTest::keyClick(m.Text5, Qt::Key_Y, Qt::ShiftModifier);
    ASSERT_EQ(notices().size(), 1);
    ui::script::begin();
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menus, w.LCan));
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    EXPECT_TRUE(notices().isEmpty()) << "the entry is closed";
}

// Every way out of the entry (閉(Esc), the close box, Esc, 新, a call typed in
// the main window, 消去) asks before typing not stored goes: a new QSO with a
// call, or corrections to a stored record. A No changes nothing: the entry,
// its buttons, the clipboard and the box typed in stay as they were. A page
// turned by 消去, or while the entry is not on show, raises no notice. The
// settings sheet's window link takes the entry away, and a No keeps the link.
TEST_F(LogTest, EveryWayOutAsksOnlyWhenTypingWouldBeLost) {
    enum Way {
        Cancel,
        CloseBox,
        Esc,
        NewPage,
        MainCall,
        Clear,
        EscThenClear,
        MainCallAfterWindowLink,
        Link,
        ModeThenMainCall
    };
    enum Entry { New, Saved, Corrected };
    struct Case {
        Way way;
        Entry entry;
        QString call;
        ui::MsgResult answer;
        bool asks;
        bool stays;
    } cases[] = {
        {Cancel, New, QStringLiteral("QQ7MNO"), ui::No, true, true},
        {Cancel, New, QStringLiteral("QQ7MNO"), ui::Yes, true, false},
        {Cancel, New, QStringLiteral("   "), ui::No, false, false},
        {CloseBox, New, QStringLiteral("QQ6XBX"), ui::No, true, true},
        {CloseBox, New, QStringLiteral("QQ6XBX"), ui::Yes, true, false},
        {CloseBox, New, QStringLiteral("   "), ui::No, false, false},
        {Esc, Saved, QStringLiteral("QQ6ESC"), ui::No, false, false},
        {Esc, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {Cancel, Corrected, QStringLiteral("QQ6ESC"), ui::Yes, true, false},
        {CloseBox, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {NewPage, Saved, QStringLiteral("QQ6ESC"), ui::No, false, true},
        {NewPage, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {NewPage, Corrected, QStringLiteral("QQ6ESC"), ui::Yes, true, true},
        {MainCall, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {MainCall, Corrected, QStringLiteral("QQ6ESC"), ui::Yes, true, true},
        {Esc, New, QStringLiteral("   "), ui::No, false, false},
        {Cancel, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {Clear, Saved, QStringLiteral("QQ6ESC"), ui::No, false, true},
        {Clear, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {Clear, New, QStringLiteral("QQ7MNO"), ui::No, true, true},
        {EscThenClear, Saved, QStringLiteral("QQ6ESC"), ui::No, false, true},
        {MainCallAfterWindowLink, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {Link, Corrected, QStringLiteral("QQ6ESC"), ui::No, true, true},
        {ModeThenMainCall, Saved, QStringLiteral("QQ6ESC"), ui::No, false, true},
    };
    PSK31MAIN& m = forms::PSK31MAIN();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way * 100 + c.entry * 10 + (c.answer == ui::Yes));
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ7MNO"), QStringLiteral("Xbox"));
        w.Text1->setText(c.call);
        logbook::g.LogWindowOpen = 1;
        if (c.entry != New) pressF1();
        if (c.entry == Corrected) QTest::keyClicks(w.Text14, QStringLiteral("CORR"));
        const int records = logCount();
        QApplication::clipboard()->setText(QStringLiteral("held"));
        const bool newButton = w.Command4->isVisibleTo(&w);
        ui::script::clearAsked();
        if (c.asks) ui::script::push(c.answer);
        if (c.way == Cancel) {
            ASSERT_TRUE(zvtest::chooseInMenuBar(w.menus, w.LCan));
        } else if (c.way == NewPage) {
            QTest::mouseClick(w.Command4, Qt::LeftButton);
        } else if (c.way == MainCall) {
            QTest::keyClick(m.Text5, Qt::Key_Q, Qt::ShiftModifier);
        } else if (c.way == ModeThenMainCall) {
            // The stored record keeps its mode: the new page takes the new one.
            ASSERT_TRUE(zvtest::chooseMenuItem(m.PSKMODE[core::ModeQpskUsb]));
            EXPECT_EQ(w.Text8->text(), QStringLiteral("BPSK"));
            QTest::keyClick(m.Text5, Qt::Key_Q, Qt::ShiftModifier);
            EXPECT_EQ(w.Text8->text(), core::g.ModeDisplayText);
            EXPECT_EQ(askedPrompts(),
                      QStringList{QStringLiteral("LOG帳がスクロール中です\r\n新しいページにします")});
            ui::script::clearAsked();
        } else if (c.way == MainCallAfterWindowLink) {
            logbook::g.HamlogLink = 2;
            m.Text5->selectAll();
            QTest::keyClicks(m.Text5, QStringLiteral("QQ5WIN"));
            logbook::g.HamlogLink = 1;
            QTest::keyClick(m.Text5, Qt::Key_Q, Qt::ShiftModifier);
        } else if (c.way == Link) {
            writeIni(QStringLiteral("[HamLog]\nHAMLOGtype=1\nHAMLOGPOS=%1\nHAMLOGexePOS=/opt/HAMLOGW.EXE\n")
                         .arg(logbook::g.HamlogPath));
            ASSERT_TRUE(zvtest::chooseMenuItem(m.PSKCFG));
            CFGSHEET& s = forms::CFGSHEET();
            QTabBar* bar = s.SSTab1->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
            QApplication::clipboard()->setText(QStringLiteral("held")); // held again after the sheet opens
            QTest::mouseClick(s.Option8[0], Qt::LeftButton, {}, QPoint(8, s.Option8[0]->height() / 2));
            EXPECT_EQ(logbook::g.HamlogLink, 1) << "the link stays";
            EXPECT_TRUE(s.Option8[1]->isChecked());
            forms::unload<CFGSHEET>();
        } else if (c.way == Esc) {
            QTest::keyClick(w.Text14, Qt::Key_Escape);
        } else if (c.way == Clear) {
            QTest::mouseClick(m.Command4, Qt::LeftButton);
        } else if (c.way == EscThenClear) {
            QTest::keyClick(w.Text14, Qt::Key_Escape);
            ASSERT_FALSE(forms::isLoaded<TEMP_LOG>());
            QTest::mouseClick(m.Command4, Qt::LeftButton);
        } else {
            QCloseEvent e;
            QSpontaneKeyEvent::setSpontaneous(&e);
            static_cast<QObject&>(w).event(&e);
            EXPECT_EQ(e.isAccepted(), !c.stays);
        }
        EXPECT_EQ(askedPrompts(),
                  c.asks ? QStringList{QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか")} : QStringList{});
        EXPECT_EQ(forms::isLoaded<TEMP_LOG>(), c.stays);
        const bool kept = c.entry == Corrected && c.answer == ui::No;
        if (c.stays) {
            EXPECT_EQ(forms::TEMP_LOG().Text14->text(), kept ? "CORR" : "");
        }
        if (c.asks && c.answer == ui::No) {
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("held"));
            EXPECT_EQ(forms::TEMP_LOG().Command4->isVisibleTo(&forms::TEMP_LOG()), newButton);
        }
        if (c.way == MainCall || c.way == MainCallAfterWindowLink || c.way == ModeThenMainCall) {
            // A No leaves the call box as it was before the key.
            const QString before =
                c.way == MainCallAfterWindowLink ? QStringLiteral("QQ5WIN") : QStringLiteral("QQ7MNO");
            EXPECT_EQ(m.Text5->text(), kept ? before : before + QLatin1Char('Q'));
            EXPECT_EQ(logbook::g.LogEditMode, kept ? 1 : 0);
        }
        if (c.way == Clear || c.way == EscThenClear) {
            const bool keptEntry = c.asks && c.answer == ui::No;
            EXPECT_EQ(m.Text5->text(), keptEntry ? QStringLiteral("QQ7MNO") : QString());
            EXPECT_EQ(logbook::g.LogEditMode, kept ? 1 : 0);
        }
        EXPECT_EQ(logCount(), records) << "nothing stored on the way out";
        if (c.entry != New) {
            EXPECT_EQ(stored(records).REM1.trimmed(), QString());
        }
        forms::unload<TEMP_LOG>();
    }
}

} // namespace

namespace {

using zvtest::LogTest;

TEST_F(LogTest, RightClickOnTheStatusBarRebuildsTheIndexes) {
    ASSERT_TRUE(hamlog::demo::writeDemoSetup(dataPath()));
    writeFile(QStringLiteral("HAMLOG.dx9"), "stale");
    writeFile(QStringLiteral("HAMLOG.dx2"), "broken");
    TEMP_LOG& w = forms::TEMP_LOG();
    QTest::mouseClick(w.StatusBar1->panel(1), Qt::LeftButton);
    EXPECT_EQ(readFile(QStringLiteral("HAMLOG.dx9")), QByteArray("stale"));
    QTest::mouseClick(w.StatusBar1->panel(1), Qt::RightButton);
    EXPECT_TRUE(readFile(QStringLiteral("HAMLOG.dx9")).isEmpty());
    EXPECT_NE(readFile(QStringLiteral("HAMLOG.dx2")), QByteArray("broken"));
    EXPECT_FALSE(readFile(QStringLiteral("HAMLOG.dx2")).isEmpty());
    EXPECT_FALSE(readFile(QStringLiteral("HAMLOG.HDB")).isEmpty());
    EXPECT_EQ(forms::PSK31MAIN().Text3->text(), QStringLiteral("INDEX再構築中です"));
}

TEST_F(LogTest, ClosingTheWindowEndsEditingAndKeepsItsPlace) {
    fillLog(3);
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ5AAA"));
    w.move(40, 30);
    logbook::g.LogWindowOpen = 1;
    ui::script::push(ui::Yes);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    const QPoint place = w.pos();
    w.close();
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(logbook::g.LogWindowOpen, 0);
    EXPECT_EQ(forms::TEMP_LOG().pos(), place);
}

} // namespace
