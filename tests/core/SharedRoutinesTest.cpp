// Time stamps and marks in the real main receive pane, the file search in a
// real folder and the log-scrolling guard.
#include "core/SharedRoutines.h"
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Clock.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/PaneMarks.h"

#include <QCheckBox>
#include <QDir>
#include <QTextBlock>

namespace {

using core::g;

class SharedRoutines : public zvtest::ProgramFolderTest {
  protected:
    void setPcTime(const QDateTime& jst) { sysclock::setUtcForTest(sysclock::jstToUtc(jst)); }
};

TEST_F(SharedRoutines, TimeStampInUtcAndJst) {
    setPcTime(QDateTime(QDate(2005, 1, 1), QTime(5, 0)));
    forms::PSK31MAIN().Check2->setChecked(true);
    terminal::receive::MakeTimeStamp();
    EXPECT_EQ(g.TimeStampText, QStringLiteral("<< 2004/12/31 20:00:00/UTC >>"));
    EXPECT_EQ(g.TimeZoneOffsetH, -9);

    forms::PSK31MAIN().Check2->setChecked(false);
    terminal::receive::MakeTimeStamp();
    EXPECT_EQ(g.TimeStampText, QStringLiteral("<< 2005/01/01 5:00:00/JST >>"));
    EXPECT_EQ(g.TimeZoneOffsetH, 0);

    // Midnight after the offset shows the date alone.
    setPcTime(QDateTime(QDate(2005, 1, 1), QTime(9, 0)));
    forms::PSK31MAIN().Check2->setChecked(true);
    terminal::receive::MakeTimeStamp();
    EXPECT_EQ(g.TimeStampText, QStringLiteral("<< 2005/01/01/UTC >>"));
}

TEST_F(SharedRoutines, MarksEndTheRxLineAndColourOnlyTheMark) {
    setPcTime(QDateTime(QDate(2026, 12, 6), QTime(21, 30, 15)));
    RichTextPane* pane = forms::PSK31MAIN().RichTextBox1;
    g.TxAreaBackColor = QStringLiteral("255");  // red
    g.RxForeColor = QStringLiteral("16711680"); // blue
    pane->appendText(QStringLiteral("CQ DE QQ9ABC"));
    g.RxMarkPos = pane->length();

    terminal::receive::MarkTxStart();
    EXPECT_EQ(pane->text(), QStringLiteral("CQ DE QQ9ABC\nTX-<< 2026/12/06 21:30:15/JST >>"));
    EXPECT_EQ(g.RxMarkPos, pane->length());
    terminal::receive::MarkRxStart();
    EXPECT_TRUE(pane->text().endsWith(QStringLiteral("\nRX-<< 2026/12/06 21:30:15/JST >>\n")));

    pane->appendText(QStringLiteral("QQ9ABC"));
    const QTextBlock markLine = pane->document()->findBlockByNumber(1);
    EXPECT_EQ(markLine.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    const QTextBlock last = pane->document()->lastBlock();
    EXPECT_EQ(last.text(), QStringLiteral("QQ9ABC"));
    EXPECT_EQ(last.begin().fragment().charFormat().foreground().color(), QColor(Qt::blue));
}

TEST_F(SharedRoutines, SstvModeLeavesStampAndPaneAlone) {
    g.OpMode = core::ModeSstv;
    g.TimeStampText = QStringLiteral("old");
    terminal::receive::MakeTimeStamp();
    terminal::receive::MarkTxStart();
    EXPECT_EQ(g.TimeStampText, QStringLiteral("old"));
    EXPECT_EQ(forms::PSK31MAIN().RichTextBox1->length(), 0);
}

TEST_F(SharedRoutines, FindFileOnPathSearchesOnlyTheGivenFolder) {
    QDir(folder()).mkdir("MMTTY");
    writeFile("MMTTY/Mmtty.INI", "x");
    writeFile("MMTTY/a.b.c", "x");
    writeFile("MMTTY/README", "x");
    writeFile("Elsewhere.INI", "x");
    g.SearchFolder = path("MMTTY");
    EXPECT_EQ(core::FindFileOnPath("Mmtty.INI"), path("MMTTY/Mmtty.INI"));
    EXPECT_EQ(core::FindFileOnPath("MMTTY.ini"), path("MMTTY/Mmtty.INI"));
    EXPECT_EQ(core::FindFileOnPath("a.b.c"), path("MMTTY/a.b.c"));
    EXPECT_EQ(core::FindFileOnPath("README"), path("MMTTY/README"));
    EXPECT_EQ(core::FindFileOnPath("Elsewhere.INI"), QString());
    g.SearchFolder = path("NoSuchFolder");
    EXPECT_EQ(core::FindFileOnPath("Mmtty.INI"), QString());
}

TEST_F(SharedRoutines, LogScrollingStartsAFreshEntryOnlyWhileEditing) {
    logbook::g.HamlogLink = 1; // pages turn with the library link
    forms::TEMP_LOG().Text1->setText(QStringLiteral("QQ9OLD"));
    QLineEdit typedInto;
    terminal::receive::CheckLogScrolling(&typedInto, &TEMP_LOG::Text1);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(forms::TEMP_LOG().Text1->text(), QStringLiteral("QQ9OLD"));

    // A page out of sight turns without a word; one on show says so.
    logbook::g.LogEditMode = 1;
    terminal::receive::CheckLogScrolling(&typedInto, &TEMP_LOG::Text1);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    forms::TEMP_LOG().Text1->setText(QStringLiteral("QQ9OLD"));
    forms::TEMP_LOG().show();
    logbook::g.LogEditMode = 1;
    terminal::receive::CheckLogScrolling(&typedInto, &TEMP_LOG::Text1);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("LOG帳がスクロール中です\r\n新しいページにします"));
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_TRUE(forms::TEMP_LOG().Text1->text().isEmpty());
}

} // namespace
