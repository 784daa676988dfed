// The spot window's actions: the time cell's zone and the spot submission to a
// real HTTP server on 127.0.0.1.
#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "support/LoopbackHttpServer.h"
#include "support/OpenedUrls.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class ClusterDataSend : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        spots::g = {};
        qputenv("ZORVATEK_SPOT_PRIMARY", server.url("").toUtf8());
        qputenv("ZORVATEK_SPOT_FALLBACK", server.url("").toUtf8());
        server.setPage("/wwdigi.html",
                       spotsrv::primaryPage("WW", {{"2330", "14070.5", "QQ1ZZA", "PSK31", "QQ2ZZB"}}));
        server.setPage("/cgi-bin/spotin2.sh", "<html>ok</html>");
    }
    void TearDown() override {
        forms::unload<ClusterData>();
        qunsetenv("ZORVATEK_SPOT_PRIMARY");
        qunsetenv("ZORVATEK_SPOT_FALLBACK");
        ProgramFolderTest::TearDown();
    }
    ClusterData& polledWindow() {
        ClusterData& w = forms::ClusterData();
        w.show();
        QSignalSpy done(&w, &ClusterData::fetchFinished);
        EXPECT_TRUE(done.wait(zvtest::kSafetyNetMsecs));
        return w;
    }
    static void clickMenu(ClusterData& w, QAction* item) {
        QTest::mouseClick(w.menuBar, Qt::LeftButton, {}, w.menuBar->actionGeometry(item).center());
    }
    static void type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }
    bool submit(ClusterData& w) {
        QSignalSpy done(&w, &ClusterData::submitFinished);
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        return done.wait(zvtest::kSafetyNetMsecs);
    }

    zvtest::LoopbackHttpServer server;
};

TEST_F(ClusterDataSend, TimeCellTogglesBetweenZonesOnAClick) {
    ClusterData& w = polledWindow();
    const QRect cell = w.MSFlexGrid1->visualItemRect(w.MSFlexGrid1->item(0, 0));
    QTest::mouseClick(w.MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(w.MSFlexGrid1->item(0, 0)->text(), "0830J");
    QTest::mouseClick(w.MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(w.MSFlexGrid1->item(0, 0)->text(), "2330Z");
    const QRect call = w.MSFlexGrid1->visualItemRect(w.MSFlexGrid1->item(0, 2));
    QTest::mouseClick(w.MSFlexGrid1->viewport(), Qt::LeftButton, {}, call.center());
    EXPECT_EQ(w.MSFlexGrid1->item(0, 0)->text(), "2330Z") << "only the time column toggles";
}

TEST_F(ClusterDataSend, SubmissionPostsTheFormAndClosesTheFrameWhenTaken) {
    core::g.UserCall = "QQ1ZZZ";
    ClusterData& w = polledWindow();
    clickMenu(w, w.SendInformation);
    ASSERT_TRUE(w.Frame3->isVisible());
    type(w.Text5, "QQ9&A=B");
    type(w.Text6, "14070.5");
    w.Text7->setText(QStringLiteral("移動 50"));
    QTest::keyClick(w.Text7, Qt::Key_Percent);
    EXPECT_EQ(spots::g.ClusterAutoCall, "1") << "typing stops the automatic fill";
    QTest::keyClick(w.Text7, Qt::Key_Return);
    EXPECT_EQ(spots::g.ClusterAutoCall, "0");
    ASSERT_TRUE(submit(w));
    const zvtest::HttpRequest& post = server.requests().last();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.path, "/cgi-bin/spotin2.sh");
    EXPECT_EQ(post.body, "mycall=QQ1ZZZ&dxcall=QQ9%26A%3DB&freq=14070.5&info=" +
                             cp932::encode(QStringLiteral("移動 50%")).toPercentEncoding());
    EXPECT_FALSE(w.Frame3->isVisible());
    EXPECT_TRUE(w.Text7->text().isEmpty());
    EXPECT_EQ(w.Text5->text(), "QQ9&A=B");
    EXPECT_TRUE(w.Timer1->isActive());
}

TEST_F(ClusterDataSend, FailedSubmissionKeepsTheFrameAndSaysSo) {
    core::g.UserCall = "QQ1ZZZ";
    server.setPage("/cgi-bin/spotin2.sh", "broken", 500, "text/plain");
    ClusterData& w = polledWindow();
    clickMenu(w, w.SendInformation);
    type(w.Text5, "QQ9ZZ");
    type(w.Text6, "7035.0");
    type(w.Text7, "RTTY");
    ASSERT_TRUE(submit(w));
    EXPECT_TRUE(w.Frame3->isVisible());
    EXPECT_EQ(w.Text7->text(), "RTTY");
    EXPECT_TRUE(w.windowTitle().contains("HOSTからの応答がありません"));
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.Frame3->isVisible()) << "Esc closes the frame";
}

TEST_F(ClusterDataSend, MissingFieldsAreRefusedWithoutSending) {
    struct Case {
        QString own, dx, freq;
        QString said = QStringLiteral("情報不足で送信できません");
        QString info = {};
    };
    const QString notANumber = QStringLiteral("Freq(Khz) は周波数を数字で入れて下さい。送信しませんでした。");
    const Case cases[] = {
        {"No Call", "QQ9ZZ", "7035.0"},
        {"NO CALL", "QQ9ZZ", "7035.0"},
        {"", "QQ9ZZ", "7035.0"},
        {"QQ1ZZZ", "", "7035.0"},
        {"QQ1ZZZ", "QQ9ZZ", ""},
        {"QQ1ZZZ", "QQ9ZZ", "7O35.0", notANumber},
        {"QQ1ZZZ", "QQ9ZZ", "14 MHz", notANumber},
        {"QQ1ZZZ", "QQ9ZZ", "-7035", notANumber},
        {"QQ1ZZZ", "QQ9ZZ", "7035.0",
         QStringLiteral(
             "「Remarks」の「é」はスポット情報として送信できない文字です。\n別の文字に直して下さい。"),
         QStringLiteral("Café PSK31 〜")},
    };
    ClusterData& w = polledWindow();
    clickMenu(w, w.SendInformation);
    const qsizetype before = server.requests().size();
    for (const Case& c : cases) {
        SCOPED_TRACE((c.own + "/" + c.dx + "/" + c.freq).toStdString());
        w.Text4->setText(c.own);
        w.Text5->setText(c.dx);
        w.Text6->setText(c.freq);
        w.Text7->setText(c.info);
        ui::script::clearAsked();
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(ui::script::asked().first().prompt, c.said);
        EXPECT_TRUE(w.Frame3->isVisible());
        EXPECT_EQ(w.Text7->text(), c.info) << "kept to be mended";
    }
    // Typed or pasted, no box takes more than its field.
    w.Text6->clear();
    QTest::keyClicks(w.Text6, QStringLiteral("1").repeated(40));
    EXPECT_EQ(w.Text6->text().size(), 12);
    EXPECT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(server.requests().size(), before);
}

TEST_F(ClusterDataSend, EscClosesTheFrameWhereverTheKeyIsTyped) {
    ClusterData& w = polledWindow();
    for (QWidget* target : {static_cast<QWidget*>(w.MSFlexGrid1), static_cast<QWidget*>(w.Text7),
                            static_cast<QWidget*>(w.Text4), static_cast<QWidget*>(w.Option1[2])}) {
        SCOPED_TRACE(target->metaObject()->className());
        clickMenu(w, w.SendInformation);
        ASSERT_TRUE(w.Frame3->isVisible());
        spots::g.ClusterAutoCall = "1";
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(w.Frame3->isVisible());
        EXPECT_EQ(spots::g.ClusterAutoCall, target == w.Text7 ? "0" : "1")
            << "Esc in a submission box also hands the boxes back to the rig poll";
    }
}

TEST_F(ClusterDataSend, RightButtonEmptiesASubmissionBox) {
    ClusterData& w = polledWindow();
    clickMenu(w, w.SendInformation);
    w.Text7->setText("PSK31");
    QTest::mouseRelease(w.Text7, Qt::RightButton);
    EXPECT_TRUE(w.Text7->text().isEmpty());
    clickMenu(w, w.SendInformation);
    EXPECT_FALSE(w.Frame3->isVisible()) << "the menu item closes the open frame";
}

TEST_F(ClusterDataSend, APageChoiceWhileSendingLeavesTheSubmissionToFinish) {
    core::g.UserCall = "QQ1ZZZ";
    server.setPage("/jadigi.html",
                   spotsrv::primaryPage("JA", {{"0101", "3580.0", "QQ6ZZH", "RTTY", "QQ2ZZB"}}));
    ClusterData& w = polledWindow();
    clickMenu(w, w.SendInformation);
    type(w.Text5, "QQ9ZZ");
    type(w.Text6, "7035.0");
    server.setDelay(1000); // the server answers after the page choice
    QSignalSpy sent(&w, &ClusterData::submitFinished);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    EXPECT_FALSE(w.Command2->isEnabled());
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    ASSERT_TRUE(sent.wait(zvtest::kSafetyNetMsecs));
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_FALSE(w.Frame3->isVisible()) << "the server took the spot";
    EXPECT_EQ(server.requests().value(1).method, "POST");
    QSignalSpy fetched(&w, &ClusterData::fetchFinished);
    ASSERT_TRUE(fetched.wait(zvtest::kSafetyNetMsecs));
    EXPECT_EQ(server.requests().last().path, "/jadigi.html");
    EXPECT_EQ(w.MSFlexGrid1->item(0, 2)->text().trimmed(), "QQ6ZZH");
    EXPECT_TRUE(w.Timer1->isActive());
}

TEST_F(ClusterDataSend, HelpOpensThePageAtTheSpotWindowsSection) {
    ClusterData& w = polledWindow();
    ASSERT_TRUE(w.HLPclst->isEnabled());
    zvtest::OpenedUrls urls;
    clickMenu(w, w.HLPclst);
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened.front().toLocalFile(), terminal::mainwindow::pagePath());
    EXPECT_EQ(urls.opened.front().fragment(), "spots");
}

} // namespace
