// A new station after a stored QSO starts clean in both links: nothing of the
// station before (name, QTH, report, remarks, exchange) is stored with the
// next call, and a pile-up's next pick asks nothing when nothing was typed.
#include "logwindows/QsoWindowFixture.h"

#include "platform/forms/controls/RichTextPane.h"
#include "support/Mouse.h"

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
    // The operator types the QSO into the boxes.
    void type(const QString& call, const QString& name, const QString& rst, const QString& qth) {
        for (auto [box, text] : {std::pair{main->Text5, call}, std::pair{main->Text6, name},
                                 std::pair{main->Text7, rst}, std::pair{main->Text14, qth}}) {
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, text);
        }
    }
    // LOG作成 and LOG保存 (the window link), or LOG作成 and F1 in the entry,
    // with the exchange the operator typed into its remarks.
    void store(const QString& remarks) {
        QTest::mouseClick(main->Command5, Qt::LeftButton);
        if (logbook::g.HamlogLink == 2) {
            QTest::mouseClick(main->Command5, Qt::LeftButton);
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
            pane->setText(QStringLiteral("CQ CQ DE ") + call + QLatin1Char(' ') + call + QStringLiteral(" K"));
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
    QStringList boxes() const {
        return {main->Text5->text(), main->Text6->text(), main->Text7->text(), main->Text14->text()};
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
        type(QLatin1String(row.before), QStringLiteral("Bibi"), QStringLiteral("569"), QStringLiteral("Biwa"));
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
                  QStringList({QLatin1String(row.pileUp), QString(), QStringLiteral("599"), QString(), QString(),
                               QString()}));
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
