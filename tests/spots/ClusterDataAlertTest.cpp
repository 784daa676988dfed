// The spot window's alert on a new newest spot and its sound menu, with a
// player that records what would have sounded, on a real HTTP server on
// 127.0.0.1.
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/AlertSound.h"
#include "platform/os/Installed.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "rig/RigGlobals.h"
#include "spots/ClusterData.h"
#include "spots/SpotAlert.h"
#include "spots/SpotGlobals.h"
#include "support/LoopbackHttpServer.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

using spotsrv::Spot;

struct RecordingPlayer : alertsound::Player {
    struct Play {
        QString path;
        bool loop;
    };
    QList<Play> plays;
    int stops = 0;
    int beeps = 0;
    bool output = true;
    bool fileFails = false;

    void play(const QString& path, bool loop, std::function<void()> failed) override {
        plays << Play{path, loop};
        if (fileFails) failed();
    }
    void stop() override { ++stops; }
    void beep() override { ++beeps; }
    bool hasOutput() const override { return output; }
};

const QList<Spot> spotsNow = {{"2330", "14070.5", "QQ1ZZA", "PSK31 1000HZ", "QQ2ZZB"}};

class ClusterDataAlert : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        spots::g = {};
        zvtest::freshRigGlobals();
        core::g.SoundCardNumber = QStringLiteral("1");
        qputenv("ZORVATEK_SPOT_PRIMARY", server.url("").toUtf8());
        qputenv("ZORVATEK_SPOT_FALLBACK", server.url("").toUtf8());
        server.setPage("/wwdigi.html", spotsrv::primaryPage("WW", spotsNow));
    }
    void TearDown() override {
        forms::unload<ClusterData>();
        zvtest::freshRigGlobals();
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
    static bool tickNow(ClusterData& w) {
        QSignalSpy done(&w, &ClusterData::fetchFinished);
        w.Timer1_Timer();
        return done.count() > 0 || done.wait(zvtest::kSafetyNetMsecs);
    }
    // The newest spot changes on the server and the next poll sees it.
    bool newSpot(ClusterData& w) {
        QList<Spot> spots = spotsNow;
        spots.prepend({QString::number(2331 + serial_++), "7035.0", "QQ3ZZC", "RTTY", "QQ2ZZB"});
        server.setPage("/wwdigi.html", spotsrv::primaryPage("WW", spots));
        return tickNow(w);
    }
    static QString stored(const char* section, const char* key) {
        return core::IniValueOr(QString::fromLatin1(section), QString::fromLatin1(key), "missing");
    }
    static QStringList messages() {
        QStringList m;
        for (const ui::Asked& a : ui::script::asked())
            if (a.kind == "msgBox") m << a.prompt;
        return m;
    }

    RecordingPlayer player;
    installed::Guard<alertsound::Player> playerInstalled{player};
    zvtest::LoopbackHttpServer server;
    int serial_ = 0;
};

TEST(SpotAlertKind, OnlyTheSecondSoundCardSounds) {
    using spots::AlertKind;
    struct Case {
        const char* mode;
        const char* card;
        AlertKind kind;
    } cases[] = {
        {"1", "1", AlertKind::Beep},       {"2", "1", AlertKind::SoundFile}, {"0", "1", AlertKind::None},
        {"WWWBeep", "1", AlertKind::None}, {"1", "0", AlertKind::None},      {"2", "-1", AlertKind::None},
        {"2", "0", AlertKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spots::alertKindFor(c.mode, c.card), c.kind) << c.mode << " " << c.card;
}

TEST_F(ClusterDataAlert, BeepOnAChangeOnlyAndNothingWithTheFirstSoundCard) {
    writeIni("[WWWBeep]\nWWWBeepon=1\n");
    ClusterData& w = polledWindow();
    EXPECT_TRUE(w.CLSTR_SOUND->isEnabled());
    EXPECT_TRUE(w.beepon->isChecked());
    EXPECT_EQ(player.beeps, 0) << "the first fetch never alerts";
    ASSERT_TRUE(tickNow(w));
    EXPECT_EQ(player.beeps, 0) << "the same newest spot";
    ASSERT_TRUE(newSpot(w));
    EXPECT_EQ(player.beeps, 1);
    EXPECT_TRUE(w.Label4->isVisible());
    forms::unload<ClusterData>();

    core::g.SoundCardNumber = QStringLiteral("0");
    ClusterData& again = polledWindow();
    EXPECT_FALSE(again.CLSTR_SOUND->isEnabled());
    ASSERT_TRUE(newSpot(again));
    EXPECT_TRUE(again.Label4->isVisible());
    EXPECT_EQ(player.beeps, 1) << "the first sound card's engines keep the alert quiet";
    EXPECT_TRUE(player.plays.isEmpty());
}

TEST_F(ClusterDataAlert, LoopingFilePlaysUntilTheNextTick) {
    writeIni("[WWWBeep]\nWWWBeepon=2\n[WAVPOS]\nWAVFPOS=/sounds/new.wav\nWAVLOOP=True\n");
    ClusterData& w = polledWindow();
    EXPECT_TRUE(w.sndon->isChecked());
    EXPECT_TRUE(w.SoundLooploop->isChecked());
    const int stopsBefore = player.stops;
    ASSERT_TRUE(newSpot(w));
    ASSERT_EQ(player.plays.size(), 1);
    EXPECT_EQ(player.plays[0].path, "/sounds/new.wav");
    EXPECT_TRUE(player.plays[0].loop);
    EXPECT_GT(player.stops, stopsBefore) << "each tick ends the loop before it fetches";
    const int stopsAtAlert = player.stops;
    ASSERT_TRUE(tickNow(w));
    EXPECT_EQ(player.stops, stopsAtAlert + 1);
    EXPECT_EQ(player.plays.size(), 1) << "no change, no new alert";
}

TEST_F(ClusterDataAlert, FileFaultIsToldOncePerLoadButAtEachTry) {
    writeIni("[WWWBeep]\nWWWBeepon=2\n[WAVPOS]\nWAVFPOS=/sounds/broken.WAV\nWAVLOOP=False\n");
    player.fileFails = true;
    ClusterData& w = polledWindow();
    ui::script::clearAsked();
    ASSERT_TRUE(newSpot(w));
    ASSERT_TRUE(newSpot(w));
    EXPECT_EQ(player.plays.size(), 2);
    EXPECT_FALSE(player.plays[0].loop);
    EXPECT_EQ(messages(), QStringList{"ｻｳﾝﾄﾞﾌｧｲﾙ異状です"});
    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_Test));
    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_Test));
    EXPECT_EQ(messages().size(), 3) << "the test item tells every time";
    forms::unload<ClusterData>();

    ClusterData& again = polledWindow();
    ASSERT_TRUE(newSpot(again));
    EXPECT_EQ(messages().size(), 4) << "a new load tells again";
}

TEST_F(ClusterDataAlert, PathWithoutWavIsToldAndNoOutputIsSilent) {
    writeIni("[WWWBeep]\nWWWBeepon=2\n[WAVPOS]\nWAVFPOS=/sounds/new.mp3\n");
    ClusterData& w = polledWindow();
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_Test));
    EXPECT_EQ(messages(), QStringList{"ｻｳﾝﾄﾞﾌｧｲﾙの指定がありません"});
    EXPECT_TRUE(player.plays.isEmpty());

    player.output = false;
    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_Test));
    ASSERT_TRUE(newSpot(w));
    EXPECT_EQ(messages().size(), 1) << "without sound output nothing is told";
    EXPECT_TRUE(w.Label4->isVisible());
    EXPECT_TRUE(player.plays.isEmpty());
}

// The server gone and the window closed while the alert's box, asked inside
// the page's answer, waits: the window goes once that answer has returned.
TEST_F(ClusterDataAlert, TheServerGoneWhileTheAlertsBoxWaitsIsSurvived) {
    writeIni("[WWWBeep]\nWWWBeepon=2\n[WAVPOS]\nWAVFPOS=/sounds/new.mp3\n");
    ClusterData& w = polledWindow();
    const QPointer<ClusterData> window(&w);
    bool closedInside = false;
    ui::script::answerBy([&](const ui::Asked&) {
        // The box's own wait, as on the screen.
        const forms::EventsRunScope box;
        server.close();
        EXPECT_TRUE(zvtest::chooseMenuItem(w.ccls));
        forms::letEventsRun();
        closedInside = !window;
        return QVariant();
    });
    ASSERT_TRUE(newSpot(w));
    ui::script::answerBy({});
    EXPECT_FALSE(closedInside);
    EXPECT_FALSE(forms::isLoaded<ClusterData>());
    EXPECT_TRUE(zvtest::waitUntil([&] { return !window; }));
}

TEST_F(ClusterDataAlert, SoundMenuStoresTheChoices) {
    ClusterData& w = polledWindow();
    EXPECT_TRUE(w.beepoff->isChecked()) << "nothing stored: no sound";
    EXPECT_FALSE(w.SoundLooploop->isChecked());

    ASSERT_TRUE(zvtest::chooseMenuItem(w.beepon));
    EXPECT_EQ(stored("WWWBeep", "WWWBeepon"), "1");
    EXPECT_TRUE(w.beepon->isChecked());
    EXPECT_FALSE(w.beepoff->isChecked());
    ASSERT_TRUE(zvtest::chooseMenuItem(w.sndon));
    EXPECT_EQ(stored("WWWBeep", "WWWBeepon"), "2");
    EXPECT_FALSE(w.beepon->isChecked());
    ASSERT_TRUE(zvtest::chooseMenuItem(w.beepoff));
    EXPECT_EQ(stored("WWWBeep", "WWWBeepon"), "0");

    ASSERT_TRUE(zvtest::chooseMenuItem(w.SoundLooploop));
    EXPECT_EQ(stored("WAVPOS", "WAVLOOP"), "True");
    EXPECT_EQ(spots::g.AlertWavLoop, "True");
    const int stops = player.stops;
    ASSERT_TRUE(zvtest::chooseMenuItem(w.SoundLooploop));
    EXPECT_EQ(stored("WAVPOS", "WAVLOOP"), "False");
    EXPECT_EQ(player.stops, stops + 1) << "ending the loop stops the sound";

    ui::script::push(path("alarm.wav"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w.setSound));
    EXPECT_EQ(stored("WAVPOS", "WAVFPOS"), path("alarm.wav"));
    ASSERT_EQ(ui::script::asked().last().kind, "openFile");
    EXPECT_EQ(ui::script::asked().last().title, "ｻｳﾝﾄﾞﾌｧｲﾙ選択");
    ui::script::push(QVariant());
    ASSERT_TRUE(zvtest::chooseMenuItem(w.setSound));
    EXPECT_EQ(stored("WAVPOS", "WAVFPOS"), path("alarm.wav")) << "a cancelled choice keeps the file";

    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_Test));
    ASSERT_EQ(player.plays.size(), 1);
    EXPECT_EQ(player.plays[0].path, path("alarm.wav"));
    EXPECT_FALSE(player.plays[0].loop);
    ASSERT_TRUE(zvtest::chooseMenuItem(w.Sound_TestStop));
    EXPECT_EQ(player.stops, stops + 2);
}

TEST_F(ClusterDataAlert, CorrectionItemsStoreAndNeedARigPort) {
    writeIni("[CLSTRCFG]\nModeComp2P=maybe\nAutoCM=1\n");
    rig::g.RigPortName = QStringLiteral("COM3");
    ClusterData& w = polledWindow();
    EXPECT_TRUE(w.sMcompOnPSK->isChecked()) << "a bad stored value takes the default";
    EXPECT_TRUE(w.sMcompOn->isChecked());
    EXPECT_TRUE(w.McompoffPSK->isChecked());
    EXPECT_FALSE(w.getAuto->isChecked());
    EXPECT_EQ(spots::g.ClusterAutoCall, "1");
    EXPECT_FALSE(w.Freqdat->menuAction()->isVisible());

    ASSERT_TRUE(zvtest::chooseMenuItem(w.sMcompOffPSK));
    EXPECT_EQ(stored("CLSTRCFG", "ModeComp2P"), "NO");
    EXPECT_EQ(spots::g.ClusterModeCompRigPsk, "NO");
    EXPECT_FALSE(w.sMcompOnPSK->isChecked());
    ASSERT_TRUE(zvtest::chooseMenuItem(w.McomponPSK));
    EXPECT_EQ(stored("CLSTRCFG", "ModeCompP"), "YES");
    EXPECT_EQ(spots::g.ClusterModeCompSendPsk, "YES");
    ASSERT_TRUE(zvtest::chooseMenuItem(w.sMcompOff));
    EXPECT_EQ(stored("CLSTRCFG", "ModeComp2R"), "NO");
    ASSERT_TRUE(zvtest::chooseMenuItem(w.getAuto));
    EXPECT_EQ(stored("CLSTRCFG", "AutoCM"), "0");
    EXPECT_TRUE(w.getAuto->isChecked());
    ASSERT_TRUE(zvtest::chooseMenuItem(w.DispJSTItem));
    EXPECT_EQ(stored("CLSTRCFG", "DispJST"), "1");
    forms::unload<ClusterData>();

    rig::g.RigPortName = QStringLiteral("NONE");
    ClusterData& noRig = polledWindow();
    EXPECT_TRUE(noRig.sMcompOff->isChecked()) << "the stored choice comes back";
    EXPECT_TRUE(noRig.DispJSTItem->isChecked());
    for (QMenu* m : {noRig.Freqdat, noRig.FreqdatPSK, noRig.setRigfreq, noRig.setRigfreqPSK})
        EXPECT_FALSE(m->menuAction()->isEnabled()) << m->title().toStdString();
    EXPECT_FALSE(noRig.getAuto->isEnabled());
    EXPECT_FALSE(zvtest::chooseMenuItem(noRig.getAuto));
    EXPECT_EQ(stored("CLSTRCFG", "AutoCM"), "0");
}

} // namespace
