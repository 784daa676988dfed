// A new station after a stored QSO starts clean in both links: nothing of the
// station before (name, QTH, report, remarks, exchange) is stored with the
// next call, and a pile-up's next pick asks nothing when nothing was typed.
#include "logwindows/QsoWindowFixture.h"

#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/controls/RichTextPane.h"
#include "sstv/window/SSTVForm.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>

namespace {

class NextStation : public zvtest::QsoWindowTest {
  protected:
    void SetUp() override {
        QsoWindowTest::SetUp();
        core::g.QthOperation = QStringLiteral("QTH");
    }
    void link(int how) {
        if (how == 2) return windowLink();
        logbook::g.HamlogLink = how;
    }
    static QLineEdit* box(QsoBox* logwindows::QsoBoxes::*which) {
        return logwindows::operatingBoxes().*which;
    }
    static void typeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    // The operator types the QSO into the boxes of the window in use.
    void type(const QString& call, const QString& name, const QString& rst, const QString& qth) {
        useWindow(core::g.OpMode == core::ModeSstv);
        using B = logwindows::QsoBoxes;
        for (auto [which, text] : {std::pair{&B::call, call}, std::pair{&B::name, name},
                                   std::pair{&B::rst, rst}, std::pair{&B::qth, qth}})
            typeInto(box(which), text);
    }
    static void pressLogButton() {
        QTest::mouseClick(logwindows::operatingBoxes().logButton, Qt::LeftButton);
    }
    // The main or the SSTV window in use, active, as the operator has it.
    void useWindow(bool sstv) {
        if (sstv != (core::g.OpMode == core::ModeSstv)) {
            if (sstv) {
                ASSERT_TRUE(zvtest::chooseInMenuBar(main->menuBar(), main->PSKMODE[core::ModeSstv]));
            } else {
                ASSERT_TRUE(zvtest::chooseMenuItem(forms::SSTVForm().PSKMODE[core::ModeBpsk]));
                main = &forms::PSK31MAIN();
            }
        }
        QWidget* window = sstv ? static_cast<QWidget*>(&forms::SSTVForm()) : main;
        window->activateWindow();
        ASSERT_TRUE(zvtest::waitActive(window));
    }
    // LOG作成 and LOG保存 (the window link), or LOG作成 and F1 in the entry,
    // with the exchange the operator typed into its remarks.
    void store(const QString& remarks) {
        pressLogButton();
        if (logbook::g.HamlogLink == 2) {
            pressLogButton();
            return;
        }
        TEMP_LOG& w = forms::TEMP_LOG();
        ASSERT_TRUE(w.isVisible());
        w.Text14->setFocus();
        QTest::keyClicks(w.Text14, remarks);
        pressF1();
    }
    enum Way { Pick, Get };
    void bring(Way way, const QString& call) {
        RichTextPane* pane = main->RichTextBox1;
        if (way == Get) {
            pane->setText(QStringLiteral("CQ CQ DE ") + call + QLatin1Char(' ') + call +
                          QStringLiteral(" K"));
            QTest::mouseClick(main->Command6, Qt::LeftButton);
            return;
        }
        const QString text = QStringLiteral("TNX FER QSO  DE ") + call + QStringLiteral(" K");
        pane->setText(text);
        if (!main->Check5->isChecked()) zvtest::tick(main->Check5); // ﾃﾞｰﾀ取込: a click takes the word
        QTextCursor at(pane->document());
        at.setPosition(int(text.indexOf(call)) + 2);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->cursorRect(at).center());
    }
    static QStringList boxes() {
        const logwindows::QsoBoxes b = logwindows::operatingBoxes();
        return {b.call->text(), b.name->text(), b.rst->text(), b.qth->text()};
    }
    // What was asked, the notice of a new page of the log entry aside.
    static QStringList questions() {
        QStringList asked = askedPrompts();
        asked.removeAll(QStringLiteral("LOG帳がスクロール中です\r\n新しいページにします"));
        return asked;
    }
};

// The station before is stored; a pick or GET brings the next call, and a
// pile-up's next pick comes after it. Each asks nothing and leaves every
// field of the station before empty, in the boxes and in what is stored.
TEST_F(NextStation, ACallAfterAStoredQsoTakesNothingOfTheStationBefore) {
    struct Row {
        int link;
        Way way;
        const char *before, *next, *pileUp;
    };
    const Row rows[] = {{1, Pick, "QQ8BBB", "QQ8CCC", "QQ8DDD"},
                        {1, Get, "QQ8BBG", "QQ8CCG", "QQ8DDG"},
                        {2, Pick, "QQ8BWB", "QQ8CWC", "QQ8DWD"},
                        {2, Get, "QQ8BWG", "QQ8CWG", "QQ8DWG"}};
    const QStringList fresh = {QString(), QString(), QStringLiteral("599"), QString()};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.before);
        link(row.link);
        type(QLatin1String(row.before), QStringLiteral("Bibi"), QStringLiteral("569"),
             QStringLiteral("Biwa"));
        const int count = logCount();
        store(QStringLiteral("599005"));
        ASSERT_EQ(logCount(), count + 1);
        ASSERT_EQ(stored(count + 1).NAME.trimmed(), QStringLiteral("Bibi"));

        ui::script::clearAsked();
        for (const char* call : {row.next, row.pileUp}) {
            SCOPED_TRACE(call);
            bring(row.way, QLatin1String(call));
            EXPECT_EQ(askedPrompts(), QStringList());
            EXPECT_EQ(boxes(), QStringList{QLatin1String(call)} + fresh.mid(1));
        }
        store({});
        ASSERT_EQ(logCount(), count + 2);
        const hamlog::QsoRecord r = stored(count + 2);
        EXPECT_EQ(QStringList({r.CALL.trimmed(), r.NAME.trimmed(), r.HIS.trimmed(), r.QTH.trimmed(),
                               r.MY.trimmed(), r.REM1.trimmed()}),
                  QStringList({QLatin1String(row.pileUp), QString(), QStringLiteral("599"), QString(),
                               QString(), QString()}));
    }
}

// A QSO typed and not stored is no station before: the next call asks first
// (a No keeps it whole); without a log it stays as typed, and a call never
// typed for (a report at its preset) goes without a word.
TEST_F(NextStation, ATypedQsoIsAskedAboutAndAPresetReportIsNoTyping) {
    struct Row {
        int link;
        const char *call, *name, *rst;
        QStringList after; // the boxes after the next call, QQ8NXT
        bool asked;
    };
    const Row rows[] = {
        {1, "QQ8TY1", "Taro", "579", {"QQ8TY1", "Taro", "579", ""}, true},
        {2, "QQ8TY2", "", "579", {"QQ8TY2", "", "579", ""}, true},
        {2, "QQ8TY3", "", "599", {"QQ8NXT", "", "599", ""}, false},
        {0, "QQ8TY4", "Taro", "579", {"QQ8NXT", "Taro", "579", ""}, false},
        {0, "QQ8TY5", "", "599", {"QQ8NXT", "", "599", ""}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.call);
        link(row.link);
        type(QLatin1String(row.call), QString::fromUtf8(row.name), QLatin1String(row.rst), QString());
        ui::script::clearAsked();
        ui::script::push(ui::No);
        bring(Pick, QStringLiteral("QQ8NXT"));
        EXPECT_EQ(askedPrompts().size(), row.asked ? 1 : 0);
        EXPECT_EQ(boxes(), row.after);
        if (!row.asked) ui::script::clearAsked();
    }
}

// A call the operator types after a stored QSO, once it settles (Return,
// leaving the box, LOG作成, a look-up), starts the next station in either window and
// link: nothing of the station before stays in the boxes or is stored with the
// typed call, and nothing is asked. The stored call typed again corrects the
// QSO on show: its fields stay and LOG作成 takes them as they stand.
TEST_F(NextStation, ACallTypedAfterAStoredQsoStartsTheNextStation) {
    enum Settle { Return, Leave, LogButton, LookUp };
    struct Row {
        bool sstv;
        int link;
        Settle settle;
        const char *before, *next;
    };
    const Row rows[] = {
        {false, 1, Return, "QQ3AR1", "JA1PIL"},    {false, 1, Leave, "QQ3AL1", "JA7MOD"},
        {false, 1, LogButton, "QQ3AB1", "JA1CTA"}, {false, 2, Return, "QQ3AR2", "JA3REC"},
        {false, 2, Leave, "QQ3AL2", "JA3RED"},     {false, 2, LogButton, "QQ3AB2", "JA3REE"},
        {false, 1, Return, "QQ3CO1", "QQ3CO1"},    {false, 2, Leave, "QQ3CO2", "QQ3CO2"},
        {true, 1, Return, "QQ3SR1", "JA4AAA"},     {true, 1, Leave, "QQ3SL1", "JA4AAB"},
        {true, 1, LogButton, "QQ3SB1", "JA4AAC"},  {true, 2, Return, "QQ3SR2", "JA4AAD"},
        {true, 2, Leave, "QQ3SL2", "JA4AAE"},      {true, 2, LogButton, "QQ3SB2", "JA4AAF"},
        {true, 1, LogButton, "QQ3SC1", "QQ3SC1"},  {false, 1, LookUp, "QQ3AK1", "JA5AAA"},
        {true, 2, LookUp, "QQ3SK2", "JA5AAB"},
    };
    setJst(QStringLiteral("2026-12-11 13:00"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.next);
        link(row.link);
        useWindow(row.sstv);
        const QString preset = QLatin1String(row.sstv ? "595" : "599");
        type(QLatin1String(row.before), QStringLiteral("Bibi"), QStringLiteral("569"),
             QStringLiteral("Biwa"));
        const int count = logCount();
        store(QStringLiteral("599005"));
        ASSERT_EQ(logCount(), count + 1);
        useWindow(row.sstv);

        ui::script::clearAsked();
        const bool correction = qstrcmp(row.before, row.next) == 0;
        QLineEdit* call = box(&logwindows::QsoBoxes::call);
        typeInto(call, QLatin1String(row.next));
        if (row.settle == Return) QTest::keyClick(call, Qt::Key_Return);
        if (row.settle == LookUp) QTest::keyClick(call, Qt::Key_Down);
        if (row.settle == Leave) QTest::mouseClick(box(&logwindows::QsoBoxes::name), Qt::LeftButton);
        const bool storedAgainAsked = correction && row.settle == LogButton;
        if (storedAgainAsked) ui::script::push(ui::Yes); // the QSO just stored, logged once more
        if (row.settle == LogButton) pressLogButton();
        const QStringList kept = {QStringLiteral("Bibi"), QStringLiteral("569"), QStringLiteral("Biwa")};
        const QStringList left = correction ? kept : QStringList({QString(), preset, QString()});
        EXPECT_EQ(boxes(), QStringList(QLatin1String(row.next)) + left);
        const QString again = QStringLiteral("このQSOは保存したばかりです。\r\nもう一度LOG作成しますか？");
        EXPECT_EQ(questions(), storedAgainAsked ? QStringList(again) : QStringList());

        if (row.settle != LogButton) {
            if (correction) ui::script::push(ui::Yes);
            store({});
        } else if (row.link == 1) {
            pressF1();
        } else {
            pressLogButton();
        }
        ASSERT_EQ(logCount(), count + 2);
        const hamlog::QsoRecord r = stored(count + 2);
        EXPECT_EQ(QStringList({r.CALL.trimmed(), r.NAME.trimmed(), r.HIS.trimmed(), r.QTH.trimmed(),
                               r.MY.trimmed(), r.REM1.trimmed()}),
                  QStringList(QLatin1String(row.next)) + left + QStringList({QString(), QString()}));
    }
}

// A name typed for the call just stored, which GET brought back, is typing of
// its own: the next pick asks before it goes, and a No keeps it.
TEST_F(NextStation, TypingAfterAStoreIsAskedAboutAtTheNextPick) {
    for (int how : {1, 2}) {
        SCOPED_TRACE(how);
        link(how);
        const QString call = QStringLiteral("QQ7GH%1").arg(how);
        type(call, QStringLiteral("TOM"), QStringLiteral("579"), QStringLiteral("SPRINGFIELD"));
        const int count = logCount();
        store({});
        ASSERT_EQ(logCount(), count + 1);
        bring(Get, call);
        typeInto(main->Text6, QStringLiteral("Ed"));
        ui::script::clearAsked();
        ui::script::push(ui::No);
        bring(Pick, QStringLiteral("QQ8NXT"));
        EXPECT_EQ(questions().size(), 1);
        const QStringList typed = {call, QStringLiteral("Ed"), QStringLiteral("579"),
                                   QStringLiteral("SPRINGFIELD")};
        EXPECT_EQ(boxes(), typed);
        ui::script::clearAsked();
    }
}

// The main window's call box takes no drop: a call comes in only through the
// boxes' door, which asks about the QSO handed over.
TEST_F(NextStation, TheMainCallBoxTakesNoDrop) {
    link(2);
    type(QStringLiteral("QQ1AAA"), QStringLiteral("Aki"), QStringLiteral("579"), QString());
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::clearAsked();
    EXPECT_FALSE(main->Text5->acceptDrops());
    QMimeData mime;
    mime.setText(QStringLiteral("ja2bbb#"));
    const QPointF at = QRectF(main->Text5->rect()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main->Text5, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main->Text5, &dropped);
    EXPECT_EQ(main->Text5->text(), QStringLiteral("QQ1AAA"));
    EXPECT_EQ(askedPrompts(), QStringList());
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
}

} // namespace
