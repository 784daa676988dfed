// The spot window polling real HTTP servers on 127.0.0.1: the schedule, the
// captions, the alert on a new newest spot, the fallback source and the stored
// page choice.
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "spots/SpotSource.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProgramFolder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <random>

namespace {

using spotsrv::Spot;

const QList<Spot> spotsNow = {
    {"2330", "14070.5", "JA1ZZA", "PSK31 1000HZ", "JA2ZZB"},
    {"2320", "7035.0", "JH3ZZC", "RTTY", "JA4ZZD"},
};

class ClusterDataPoll : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        spots::g = {};
        ASSERT_TRUE(primary.isListening() && fallback.isListening());
        qputenv("ZORVATEK_SPOT_PRIMARY", primary.url("").toUtf8());
        qputenv("ZORVATEK_SPOT_FALLBACK", fallback.url("").toUtf8());
        for (const char* path : {"/wwdigi.html", "/jadigi.html", "/usdigi.html", "/"})
            primary.setPage(path, spotsrv::primaryPage("digital", spotsNow));
        fallback.setPage("/", spotsrv::fallbackPage(spotsNow));
    }
    void TearDown() override {
        forms::unload<ClusterData>();
        qunsetenv("ZORVATEK_SPOT_PRIMARY");
        qunsetenv("ZORVATEK_SPOT_FALLBACK");
        ProgramFolderTest::TearDown();
    }

    // Waits for the window's next fetch to end.
    static bool nextFetch(ClusterData& w) {
        QSignalSpy done(&w, &ClusterData::fetchFinished);
        return done.wait(zvtest::kSafetyNetMsecs);
    }
    // The next tick's fetch, without waiting out its interval.
    static bool tickNow(ClusterData& w) {
        QSignalSpy done(&w, &ClusterData::fetchFinished);
        w.Timer1_Timer();
        return done.count() > 0 || done.wait(zvtest::kSafetyNetMsecs);
    }
    static QString cell(ClusterData& w, int row, int column) {
        const QTableWidgetItem* item = w.MSFlexGrid1->item(row, column);
        return item ? item->text() : QString();
    }

    zvtest::LoopbackHttpServer primary;
    zvtest::LoopbackHttpServer fallback;
};

TEST_F(ClusterDataPoll, FirstFetchFillsTheGridWithoutAlertThenAChangeAlertsOnce) {
    ClusterData& w = forms::ClusterData();
    w.show();
    EXPECT_EQ(w.Timer1->interval(), 500);
    EXPECT_EQ(spots::g.ClusterPolled, 0);
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(spots::g.ClusterPolled, 1);
    EXPECT_EQ(primary.requests().value(0).path, "/wwdigi.html");
    EXPECT_EQ(cell(w, 0, 0), "2330Z");
    EXPECT_EQ(cell(w, 0, 2).trimmed(), "JA1ZZA");
    EXPECT_EQ(cell(w, 1, 5).trimmed(), "RTTY");
    EXPECT_EQ(cell(w, 0, 6), "JA2ZZB");
    EXPECT_TRUE(cell(w, 2, 2).isEmpty());
    EXPECT_FALSE(w.Label4->isVisible()) << "the first fetch never alerts";
    EXPECT_EQ(w.windowTitle(), "The source of the DX information = " + spots::PrimarySourceLabel);
    EXPECT_EQ(w.Timer1->interval(), 60'000);
    EXPECT_TRUE(w.Timer1->isActive());

    ASSERT_TRUE(tickNow(w));
    EXPECT_FALSE(w.Label4->isVisible()) << "the same newest spot";

    QList<Spot> newer = spotsNow;
    newer.prepend({"2331", "14071.0", "JA9ZZG", "PSK31", "JA2ZZB"});
    primary.setPage("/wwdigi.html", spotsrv::primaryPage("digital", newer));
    ASSERT_TRUE(tickNow(w));
    EXPECT_TRUE(w.Label4->isVisible());
    EXPECT_EQ(cell(w, 0, 2).trimmed(), "JA9ZZG");
    EXPECT_TRUE(w.MSFlexGrid1->item(0, 6)->isSelected());

    ASSERT_TRUE(tickNow(w));
    EXPECT_FALSE(w.Label4->isVisible()) << "the next tick hides the notice";
}

TEST_F(ClusterDataPoll, PageChoiceRestartsWithoutAlertAndIsStoredAfterTheFirstPoll) {
    writeIni("[CLSTRCFG]\nDXWindow=7\nDispJST=1\n");
    ClusterData& w = forms::ClusterData();
    w.show();
    EXPECT_TRUE(w.Option1[0]->isChecked()) << "an unknown stored page is the first";
    EXPECT_EQ(core::IniValueOr("CLSTRCFG", "DXWindow", "missing"), "7") << "nothing stored at load";
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(cell(w, 0, 0), "0830J");

    QList<Spot> other = spotsNow;
    other.prepend({"0101", "3580.0", "JA6ZZH", "RTTY", "JA2ZZB"});
    primary.setPage("/jadigi.html", spotsrv::primaryPage("digital", other));
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    EXPECT_EQ(w.Timer1->interval(), 1000);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(core::IniValueOr("CLSTRCFG", "DXWindow", "missing"), "1");
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(primary.requests().last().path, "/jadigi.html");
    EXPECT_EQ(cell(w, 0, 2).trimmed(), "JA6ZZH");
    EXPECT_FALSE(w.Label4->isVisible()) << "the first fetch after a page choice never alerts";
}

TEST_F(ClusterDataPoll, FailingPrimaryFallsBackUntilAPageChoice) {
    primary.setPage("/wwdigi.html", "broken", 500, "text/plain");
    ClusterData& w = forms::ClusterData();
    w.show();
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(w.windowTitle(), "DX Information     HOSTからの応答がありません,臨時的にDx-summitへ接続します");
    EXPECT_EQ(w.SpotFallbackOn, 1);
    EXPECT_TRUE(w.Timer1->isActive());

    ASSERT_TRUE(tickNow(w));
    ASSERT_EQ(fallback.requests().size(), 1);
    EXPECT_EQ(w.windowTitle(), "The source of the DX information = 臨時にDx-summit");
    EXPECT_EQ(cell(w, 0, 2).trimmed(), "JA1ZZA");
    EXPECT_EQ(cell(w, 0, 0), "2330Z");
    EXPECT_EQ(cell(w, 0, 6), "JA2ZZB");
    EXPECT_FALSE(w.Label4->isVisible()) << "an empty head before does not alert";

    ASSERT_TRUE(tickNow(w));
    EXPECT_EQ(fallback.requests().size(), 2) << "the fallback stays";

    primary.setPage("/wwdigi.html", spotsrv::primaryPage("digital", spotsNow));
    QTest::mouseClick(w.Option1[0], Qt::LeftButton);
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(w.SpotFallbackOn, 0);
    EXPECT_EQ(primary.requests().size(), 2);
}

TEST_F(ClusterDataPoll, NoServerSaysSoAndKeepsPolling) {
    qputenv("ZORVATEK_SPOT_PRIMARY", "http://127.0.0.1:1");
    qputenv("ZORVATEK_SPOT_FALLBACK", "http://127.0.0.1:1");
    ClusterData& w = forms::ClusterData();
    w.show();
    ASSERT_TRUE(nextFetch(w));
    EXPECT_TRUE(w.windowTitle().contains("HOSTからの応答がありません"));
    ASSERT_TRUE(tickNow(w));
    EXPECT_TRUE(w.windowTitle().contains("HOSTからの応答がありません"));
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 60'000);
}

TEST_F(ClusterDataPoll, UnloadStopsPollingAndStoresThePlace) {
    ClusterData& w = forms::ClusterData();
    w.show();
    ASSERT_TRUE(nextFetch(w));
    w.move(300, 200);
    w.Timer1_Timer(); // a fetch under way at the close
    const int left = w.x();
    w.close(); // the close box
    EXPECT_FALSE(forms::isLoaded<ClusterData>());
    EXPECT_EQ(spots::g.ClusterPolled, 0);
    EXPECT_EQ(core::IniValueOr("CLSTRCFG", "CDLSTPOSLeft", "missing"), QString::number(left * 15));
}

TEST_F(ClusterDataPoll, StoredPlaceBeyondTheScreenGoesToTheEdge) {
    const int screenTwips = 15 * QGuiApplication::primaryScreen()->size().height();
    writeIni(QStringLiteral("[CLSTRCFG]\nCDLSTPOSTop=%1\nCDLSTPOSLeft=1500\n").arg(screenTwips));
    ClusterData& w = forms::ClusterData();
    EXPECT_EQ(w.y(), 0);
    EXPECT_EQ(w.x(), 100);
}

// A page choice right after the window opens, an empty page and a server that
// trickles its page: polling goes on and every fetch ends with its caption.
TEST_F(ClusterDataPoll, AnEarlyPageChoiceAnEmptyPageAndATrickleKeepPollingGoing) {
    primary.setPage("/usdigi.html", "");
    ClusterData& w = forms::ClusterData();
    w.show();
    QTest::mouseClick(w.Option1[2], Qt::LeftButton); // before the first tick
    EXPECT_TRUE(w.Timer1->isActive());
    ASSERT_TRUE(nextFetch(w));
    EXPECT_EQ(primary.requests().last().path, "/usdigi.html");
    const QString noSpots =
        "DX Information     " + spots::PrimarySourceLabel + " のページにスポット情報がありません";
    EXPECT_EQ(w.windowTitle(), noSpots) << "an empty page came, with no spots";
    EXPECT_EQ(w.SpotFallbackOn, 0);
    EXPECT_TRUE(w.Timer1->isActive());

    // Spots, then 200 KB of random bytes, then the same spots: the grid keeps
    // them meanwhile, and the page after the junk is no new newest spot.
    primary.setPage("/usdigi.html", spotsrv::primaryPage("digital", spotsNow));
    ASSERT_TRUE(tickNow(w));
    QByteArray junk(200'000, '\0');
    std::mt19937 random(62);
    for (char& c : junk)
        c = char(random());
    primary.setPage("/usdigi.html", junk, 200, "text/html");
    ASSERT_TRUE(tickNow(w));
    EXPECT_EQ(w.windowTitle(), noSpots);
    EXPECT_EQ(cell(w, 0, 2).trimmed(), "JA1ZZA");
    EXPECT_EQ(cell(w, 1, 5).trimmed(), "RTTY");
    EXPECT_TRUE(cell(w, 2, 2).isEmpty());
    primary.setPage("/usdigi.html", spotsrv::primaryPage("digital", spotsNow));
    ASSERT_TRUE(tickNow(w));
    EXPECT_FALSE(w.Label4->isVisible());

    // Head at once, then a byte every 3 s: the request ends 20 s after it began.
    primary.setPage("/usdigi.html", spotsrv::primaryPage("digital", spotsNow));
    primary.setTrickle(3000);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(tickNow(w));
    EXPECT_GE(clock.elapsed(), spots::RequestLimitMsecs - 500);
    EXPECT_EQ(w.windowTitle(), "DX Information     HOSTからの応答がありません,臨時的にDx-summitへ接続します");
    EXPECT_EQ(w.SpotFallbackOn, 1);
    EXPECT_TRUE(w.Timer1->isActive());
    ASSERT_TRUE(tickNow(w));
    EXPECT_EQ(fallback.requests().size(), 1) << "the next poll reads the fallback page";
}

TEST(SpotSource, CaptionsOfEachState) {
    using spots::FetchState;
    EXPECT_EQ(spots::stateCaption(FetchState::Requesting, false),
              "DX Information     " + spots::PrimarySourceLabel + " に接続中です。");
    EXPECT_EQ(spots::stateCaption(FetchState::Requesting, true),
              "DX Information     臨時にDx-summit に接続中です。");
    EXPECT_EQ(spots::stateCaption(FetchState::Receiving, true),
              "DX Information     臨時にDx-summit から受信中です。");
    EXPECT_EQ(spots::stateCaption(FetchState::Failed, false), spots::stateCaption(FetchState::Failed, true));
    const std::pair<QString, int> stored[] = {{"0", 0}, {"3", 3},        {"4", 0},
                                              {"", 0},  {"CLSTRCFG", 0}, {"12", 0}};
    for (const auto& [text, index] : stored)
        EXPECT_EQ(spots::pageIndexOf(text), index) << text.toStdString();
}

} // namespace
