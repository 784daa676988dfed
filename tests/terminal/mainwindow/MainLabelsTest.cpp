// The main window's small handlers, clicked as the operator clicks them: the
// call-sign label, the CW-ID frame, the RST label and list, the data-sync time
// base, the QTH box in contest mode, the satellite pane's keys, and the
// multi-channel, help, mixer and version items.
#include "terminal/transmit/TxFixture.h"

#include "core/StartupFiles.h"
#include "log/LogGlobals.h"
#include "logwindows/lookups/QSODATA.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Mixer.h"
#include "support/OpenedUrls.h"
#include "support/Popups.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QUrl>

namespace {

class MainLabels : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        terminal::macros::g = {};
        core::g.StatusMessage.clear();
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
    void TearDown() override {
        logbook::g.HamlogLink = 0;
        core::g.ContestMode = 0;
        TxTest::TearDown();
    }
};

// Catches what the help item hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(MainLabels, TheCallSignLabelLooksTheCallUpUnlessButtonsAreMoved) {
    logbook::g.HamlogLink = 2; // the check hands the QSO over, and finds no logging program
    zvtest::setBoxText(w->Text5, QStringLiteral("QQ9XYZ"));
    for (int moveMode : {1, 0}) {
        SCOPED_TRACE(moveMode);
        terminal::macros::g.MacroMoveMode = moveMode;
        ui::script::clearAsked();
        QTest::mouseClick(w->Label1, Qt::LeftButton);
        EXPECT_EQ(ui::script::asked().size(), moveMode == 1 ? 0 : 1);
    }
}

TEST_F(MainLabels, TheCwIdFrameClosesOnAClickOnItOrItsHint) {
    for (QWidget* target : {static_cast<QWidget*>(w->Frame2), static_cast<QWidget*>(w->Label4)}) {
        w->Frame2->show();
        w->Text1->setFocus();
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_TRUE(w->Frame2->isHidden());
        EXPECT_TRUE(zvtest::waitUntil([this] { return w->focusWidget() == w->Text5; }));
    }
}

TEST_F(MainLabels, TheRstLabelShowsTheListAndAPickFillsTheBox) {
    zvtest::clearBox(w->Text7);
    QTest::mouseClick(w->Label3, Qt::LeftButton);
    ASSERT_TRUE(w->List4->isVisible());
    EXPECT_EQ(w->tw.left(w->List4), 10800);
    EXPECT_EQ(w->tw.top(w->List4), 5280);
    // Without RSTmenu.DAT the list holds 599 alone.
    QListWidgetItem* item = w->List4->item(0);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(zvtest::waitUntil([&] { return !w->List4->visualItemRect(item).isEmpty(); }));
    QTest::mouseClick(w->List4->viewport(), Qt::LeftButton, {}, w->List4->visualItemRect(item).center());
    EXPECT_EQ(w->Text7->text(), QStringLiteral("599"));
    EXPECT_FALSE(w->List4->isVisible());
    EXPECT_TRUE(zvtest::waitUntil([this] { return w->focusWidget() == w->Text1; }));
    QTest::mouseClick(w->Label3, Qt::LeftButton);
    QTest::mouseClick(w->Label3, Qt::LeftButton);
    EXPECT_FALSE(w->List4->isVisible()) << "a second click hides it again";
}

TEST_F(MainLabels, TheTimeBaseSetsTheScaleAndReadOuts) {
    struct Case {
        int value;
        const char* ms;
        const char* hz;
    };
    const Case cases[] = {{1000, "125", "8"}, {100, "12.5", "80"}, {8, "1", "1000"}, {2048, "256", "3.906"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        w->HScroll1->setValue(c.value == 100 ? 104 : 100);
        w->HScroll1->setValue(c.value);
        EXPECT_EQ(w->DataSyncBase, c.value);
        EXPECT_EQ(w->Picture1->scaleWidth(), c.value);
        EXPECT_EQ(w->Label24->text(), QString::fromLatin1(c.ms));
        EXPECT_EQ(w->Label26->text(), QString::fromLatin1(c.hz));
    }
}

TEST_F(MainLabels, TheQthBoxTakesUpperCaseInContestModeOnly) {
    for (int contest : {0, 1}) {
        SCOPED_TRACE(contest);
        core::g.ContestMode = contest;
        zvtest::clearBox(w->Text14);
        w->Text14->setFocus();
        QTest::keyClicks(w->Text14, QStringLiteral("tokyo1"));
        EXPECT_EQ(w->Text14->text(), contest ? QStringLiteral("TOKYO1") : QStringLiteral("tokyo1"));
    }
    // A contest exchange is kept to 28 characters, a paste's blanks and breaks
    // counted only as what the box makes of them.
    QTest::keyClicks(w->Text14, QString(30, QLatin1Char('x')));
    EXPECT_EQ(w->Text14->text(), QStringLiteral("TOKYO1") + QString(22, QLatin1Char('X')));
    zvtest::clearBox(w->Text14);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\r\n").repeated(15));
    QTest::keyClick(w->Text14, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w->Text14->text(), QStringLiteral("a ").repeated(14));
}

TEST_F(MainLabels, TheSatellitePaneSendsItsKeysAndShowsThemInTheTransmitBox) {
    w->RichTextBox4->show();
    w->RichTextBox4->setText(QStringLiteral("sat"));
    w->Text1->clear();
    QTest::keyClicks(w->RichTextBox4, QStringLiteral("ab"));
    EXPECT_EQ(w->RichTextBox4->text(), QStringLiteral("sat")) << "the pane never takes the key";
    EXPECT_EQ(w->Text1->text(), QStringLiteral("ab"));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSendTXString(\"a\")")));
}

TEST_F(MainLabels, MultiChannelIsQuietInRttyAndRefusedWhileRecording) {
    struct Case {
        int mode;
        int recording;
        int asked;
    };
    const Case cases[] = {{core::ModeRtty, 1, 0}, {core::ModeCw, 1, 0}, {core::ModeBpsk, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        core::g.OpMode = c.mode;
        core::g.RecPlayState = c.recording;
        ui::script::clearAsked();
        ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MLTRCV));
        ASSERT_EQ(ui::script::asked().size(), c.asked);
        if (c.asked) {
            EXPECT_EQ(ui::script::asked().front().prompt, QStringLiteral("録音再生モード中は変更できません"));
        }
    }
    core::g.RecPlayState = 0;
    core::g.OpMode = core::ModeBpsk;
}

TEST_F(MainLabels, HelpOpensThePageItPutsInTheProgramFolder) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->HLP));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front().toLocalFile(), terminal::mainwindow::pagePath());
    QFile page(terminal::mainwindow::pagePath());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(QStringLiteral("CTRL+C")));
    EXPECT_TRUE(core::g.StatusMessage.isEmpty());
}

// Every window's Help opens the page at its own section; a page left by an
// earlier version without that section is written anew. The home-page item
// opens the shortcut file that start-up writes, and says when it cannot.
TEST_F(MainLabels, EachWindowsHelpAndTheHomePageOpenWhereTheyShould) {
    const std::pair<int, const char*> contexts[] = {
        {2, "settings-display"}, {3, "macros"},  {5, "logentry"},         {6, "qsolist"},
        {150, "logviewer"},      {157, "spots"}, {161, "settings-sound"}, {162, "settings-log"},
        {163, "settings-rig"},   {99, ""}};
    for (const auto& [context, section] : contexts)
        EXPECT_EQ(terminal::mainwindow::SectionOfContext(context), QString::fromLatin1(section)) << context;

    QFile old(terminal::mainwindow::pagePath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("<html><body><h2 id=\"logentry\">LOG</h2></body></html>");
    old.close();
    MACRO_FORM& editor = forms::MACRO_FORM();
    {
        zvtest::OpenedUrls urls;
        ASSERT_TRUE(zvtest::chooseMenuItem(editor.MCHLP));
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened.front().fragment(), QStringLiteral("macros"));
    }
    QFile page(terminal::mainwindow::pagePath());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray written = page.readAll();
    EXPECT_TRUE(written.contains("id=\"macros\""));
    EXPECT_TRUE(written.contains("id=\"qsolist\""));
    editor.hide();

    QSODATA& list = forms::QSODATA();
    {
        zvtest::OpenedUrls urls;
        ASSERT_TRUE(zvtest::chooseMenuItem(list.QSODat_HELP));
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened.front().fragment(), QStringLiteral("qsolist"));
    }
    forms::unload<QSODATA>();

    LOGDATAVIEW& viewer = forms::LOGDATAVIEW();
    {
        zvtest::OpenedUrls urls;
        ASSERT_TRUE(zvtest::chooseMenuItem(viewer.QSODat_HELP));
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened.front().fragment(), QStringLiteral("logviewer"));
    }
    forms::unload<LOGDATAVIEW>();

    ASSERT_TRUE(core::WriteShortcutFiles());
    {
        zvtest::OpenedUrls urls({QStringLiteral("https")});
        ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->GOZOR));
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened.front(), QUrl(core::kHomePageUrl));
    }
    ASSERT_TRUE(QFile::remove(path(core::kHomePageShortcutFile)));
    {
        zvtest::OpenedUrls urls({QStringLiteral("https")});
        ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->GOZOR));
        EXPECT_TRUE(urls.opened.isEmpty());
        EXPECT_EQ(core::g.StatusMessage, QStringLiteral("ZORのﾎｰﾑﾍﾟｰｼﾞを開けませんでした。"));
    }
}

TEST_F(MainLabels, HelpWithoutAPageSaysSo) {
    // A folder standing where the page belongs: no page can be put there.
    ASSERT_TRUE(QDir().mkpath(terminal::mainwindow::pagePath() + QStringLiteral("/x")));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->HLP));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_TRUE(catcher.opened.isEmpty());
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("ヘルプファイルがありません。"));
}

TEST_F(MainLabels, HelpWithoutABrowserSaysSo) {
    // Nothing on the path and no browser named: the desktop has nothing to open the page with.
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", folder().toLocal8Bit());
    qunsetenv("BROWSER");
    const bool chosen = zvtest::chooseInMenuBar(w->menuBar(), w->HLP);
    qputenv("PATH", path);
    if (!browser.isEmpty()) qputenv("BROWSER", browser);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(QFileInfo(terminal::mainwindow::pagePath()).isFile());
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("ヘルプを表示するブラウザがありません。"));
}

TEST_F(MainLabels, TheMixerItemsStartTheMixerOnItsPageOrEndSilently) {
    const QString bin = path(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString record = path(QStringLiteral("mixer-args"));
    QFile fake(bin + QStringLiteral("/") + QString::fromLatin1(mixer::kProgram));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(record).toUtf8());
    fake.close();
    fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8() + ":" + oldPath);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->VOLTX));
    ASSERT_TRUE(zvtest::waitUntil([&] { return QFileInfo(record).size() >= 8; }));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->VOLRX));
    ASSERT_TRUE(zvtest::waitUntil([&] { return QFileInfo(record).size() >= 16; }));
    QFile args(record);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), QStringLiteral("--tab=3\n--tab=4\n"));

    // Without the mixer the item ends silently.
    qputenv("PATH", path(QStringLiteral("nowhere")).toUtf8());
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->VOLTX));
    qputenv("PATH", oldPath);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_TRUE(core::g.StatusMessage.isEmpty());
    EXPECT_EQ(w->VOLTX->text(), QStringLiteral("送信音量 調整"));
    EXPECT_EQ(w->VOLRX->text(), QStringLiteral("受信音量 調整"));
}

TEST_F(MainLabels, TheVersionItemShowsTheVersionWindowModeless) {
    forms::AboutZORVATEK().hide();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->VERSHOW));
    EXPECT_TRUE(forms::AboutZORVATEK().isVisible());
    EXPECT_FALSE(forms::AboutZORVATEK().isModal());
    forms::AboutZORVATEK().hide();
}

} // namespace

#include "MainLabelsTest.moc"
#include "support/ProgramFolder.h"
