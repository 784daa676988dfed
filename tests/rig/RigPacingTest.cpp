// One request on the wire at a time, on a line paced like a real one at 4800
// and 1200 baud: what the operator does while the rig answers a poll (a click
// on a frequency label, a mode change, keying) waits for the answer, and the
// read after it waits for what the rig sends back for the command. No reply
// is lost and nothing of ours runs into the rig's answer.
#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "rig/RigReplies.h"
#include "support/ProgramFolder.h"
#include "support/Transmit.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

using zvtest::RigLinkTest;

struct FamilyRow {
    const char* family;
    int usbMode;  // the rig's own value for USB
    bool decoded; // the link reads the family's replies (not the FT900's)
    bool keyed;   // the family has a CAT command for the transmitter's key
};

const FamilyRow kFamilies[] = {
    {"ICOM", 1, true, true},   {"KENWOOD", 2, true, true}, {"FT1000MP", 1, true, true},
    {"FT920", 64, true, true}, {"FT900", 1, false, true},  {"FT847", 1, true, true},
    {"FT817", 1, true, true},  {"FT767", 1, true, false},  {"JST-245", 2, true, false},
};

void PrintTo(const FamilyRow& row, std::ostream* os) {
    *os << row.family;
}

enum class Act {
    FrequencyClick,
    ModeChange,
    KeyAndUnkey,
    ClickWhileKeyingWaits,
    EscWhileKeyingWaits,
    EscWhileMacroReadsRig,
    CloseWhileAStartKeys,
    ClearWhileAStartKeys
};

const char* nameOf(Act a) {
    switch (a) {
    case Act::FrequencyClick:
        return "frequency click";
    case Act::ModeChange:
        return "mode change";
    case Act::KeyAndUnkey:
        return "keying";
    case Act::ClickWhileKeyingWaits:
        return "click while keying waits";
    case Act::EscWhileKeyingWaits:
        return "Esc while keying waits";
    case Act::EscWhileMacroReadsRig:
        return "Esc while a macro reads the rig";
    case Act::CloseWhileAStartKeys:
        return "port closed while a start keys";
    case Act::ClearWhileAStartKeys:
        return "a run's first release while a start keys";
    }
    return "";
}

class RigPacing : public RigLinkTest, public ::testing::WithParamInterface<FamilyRow> {
  protected:
    void SetUp() override {
        RigLinkTest::SetUp();
        core::g.OpMode = core::ModeBpsk;
        forms::PSK31MAIN().show();
        ASSERT_TRUE(zvtest::waitExposed(&forms::PSK31MAIN()));
    }

    // The label retunes so that the station on 1600 Hz lands on the transmit
    // tone at 1000 Hz: the dial moves up 600 Hz, and the rig is read again.
    static void clickFrequencyLabel() {
        core::g.RxFreqHz = 1600;
        core::g.TxFreqHz = 1000;
        QTest::mouseClick(forms::PSK31MAIN().Label11, Qt::LeftButton);
    }

    // F12 keys the rig by CAT, Esc releases it.
    void keyAndUnkey() {
        PSK31MAIN& w = forms::PSK31MAIN();
        const int keyed = sim->pttOnCount, released = sim->pttOffCount;
        EXPECT_TRUE(zvtest::transmitByF12(w));
        rig::RigReadStatus();
        EXPECT_TRUE(zvtest::endByEscape(w));
        rig::RigReadStatus();
        if (GetParam().keyed) {
            EXPECT_TRUE(zvtest::waitUntil([&] {
                return sim->pttOnCount > keyed && sim->pttOffCount > released;
            })) << "keyed and released by CAT";
        }
    }

    // F12, and the rig slow to answer the poll taken with it: the key-on of
    // the transmission's start waits for the line when Esc is pressed. Esc
    // wins: the rig is never keyed.
    void escWhileKeyingWaits() {
        if (!GetParam().keyed) return keyAndUnkey();
        PSK31MAIN& w = forms::PSK31MAIN();
        const int keyed = sim->pttOnCount;
        bool pressed = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (pressed || core::g.Transmitting != 1 || !rig::exchangeInProgress()) return;
            pressed = true;
            QTest::keyClick(w.Text1, Qt::Key_Escape);
            sim->holdingAnswers = false;
            sim->releaseAnswers();
        });
        watch.start(0);
        if (!pskcore::lib().isRunning()) w.Timer2_Timer();
        QTest::keyClick(w.Text1, Qt::Key_F12);
        sim->holdingAnswers = true;
        rig::RigReadStatus();
        ASSERT_TRUE(zvtest::waitUntil([&] { return pressed && core::g.Transmitting == 0; }));
        watch.stop();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && !rig::exchangeInProgress(); }));
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(sim->pttOnCount, keyed);
        EXPECT_EQ(rig::g.PttKeyedByCat, 0);
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace) << "the button says receive";
    }

    // A macro that reads the rig ('RIGCALL') lets events run before it sends:
    // Esc taken then ends the macro, and nothing goes on the air.
    void escWhileMacroReadsRig() {
        PSK31MAIN& w = forms::PSK31MAIN();
        const int keyed = sim->pttOnCount;
        bool pressed = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (pressed) return;
            pressed = true;
            QTest::keyClick(w.Text1, Qt::Key_Escape);
        });
        if (!pskcore::lib().isRunning()) w.Timer2_Timer();
        watch.start(0);
        zvtest::sendMacro(w, 0, QStringLiteral("'TXON''RIGCALL'CQ de JA1ZVK 'TXOFF'"));
        watch.stop();
        ASSERT_TRUE(pressed) << "the macro let events run";
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_FALSE(pskcore::lib().isTransmitting());
        EXPECT_EQ(core::g.Transmitting, 0);
        EXPECT_EQ(sim->pttOnCount, keyed);
        EXPECT_FALSE(w.Text1->text().contains(QStringLiteral("JA1ZVK")));
    }

    // The port closes during a transmission while the rig answers a poll, and
    // an engine's start notice keys the rig meanwhile: the close's release is
    // not given up, and no rig is left keyed behind the closed port.
    void closeWhileAStartKeys() {
        if (!GetParam().keyed) return keyAndUnkey();
        PSK31MAIN& w = forms::PSK31MAIN();
        ASSERT_TRUE(zvtest::transmitByF12(w));
        ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && sim->ptt; }));
        bool keyed = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (keyed || !rig::exchangeInProgress()) return;
            keyed = true;
            sim->holdingAnswers = false;
            sim->releaseAnswers();
            rig::RigPttOn();
        });
        sim->holdingAnswers = true;
        rig::RigReadStatus();
        // Started now, the watch acts inside the close's own wait.
        watch.start(0);
        rig::RigClosePort();
        watch.stop();
        EXPECT_TRUE(keyed);
        EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && !sim->ptt; }))
            << "the rig keyed behind a closed port";
        EXPECT_TRUE(zvtest::endByEscape(w));
        rig::RigOpenPort();
    }

    // The release of a key an earlier run left waits for the poll's answer,
    // and a start keys the rig meanwhile: the release leaves that key alone.
    void clearWhileAStartKeys() {
        if (!GetParam().keyed) return keyAndUnkey();
        bool keyed = false;
        QTimer start;
        QObject::connect(&start, &QTimer::timeout, [&] {
            if (keyed || !rig::exchangeInProgress()) return;
            keyed = true;
            rig::RigPttOn();
        });
        start.start(0);
        rig::RigPttClearOnOpen();
        start.stop();
        EXPECT_TRUE(keyed);
        EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && sim->ptt; }))
            << "the start's key taken";
        rig::RigPttOff();
        EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && !sim->ptt; }));
    }

    // The operator's act, then the read that follows it.
    void act(Act a) {
        switch (a) {
        case Act::FrequencyClick:
            clickFrequencyLabel();
            return;
        case Act::ClickWhileKeyingWaits:
            // The click is taken while the keying waits for the poll's answer;
            // its own exchange outlasts that wait, and the keying waits for it too.
            QTimer::singleShot(0, &forms::PSK31MAIN(), &clickFrequencyLabel);
            keyAndUnkey();
            return;
        case Act::ModeChange:
            rig::RigSetMode(rig::g.RigUsbModeCode);
            rig::RigReadStatus();
            return;
        case Act::KeyAndUnkey:
            keyAndUnkey();
            return;
        case Act::EscWhileKeyingWaits:
            escWhileKeyingWaits();
            return;
        case Act::EscWhileMacroReadsRig:
            escWhileMacroReadsRig();
            return;
        case Act::CloseWhileAStartKeys:
            closeWhileAStartKeys();
            return;
        case Act::ClearWhileAStartKeys:
            clearWhileAStartKeys();
            return;
        }
    }
};

TEST_P(RigPacing, CommandsGivenWhileTheRigAnswersWaitAndNoReadIsLost) {
    const FamilyRow& row = GetParam();
    for (const char* baud : {"4800", "1200"}) {
        SCOPED_TRACE(std::string("at ") + baud);
        zvtest::RigSimulator& rig = rigOf(QString::fromLatin1(row.family));
        rig.pacedAtLineRate = true;
        rig.dialHz = 14070000;
        rig.mode = row.usbMode;
        rig::g.RigBaudRate = QString::fromLatin1(baud);
        rig::RigOpenPort();
        ASSERT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
        const int takenBefore = rig::readingsTaken();
        const auto lost = [&] { return rig.readingsAnswered - (rig::readingsTaken() - takenBefore); };
        int actsDuringAnAnswer = 0;
        for (const Act a : {Act::FrequencyClick, Act::ModeChange, Act::KeyAndUnkey,
                            Act::ClickWhileKeyingWaits, Act::EscWhileKeyingWaits, Act::EscWhileMacroReadsRig,
                            Act::CloseWhileAStartKeys, Act::ClearWhileAStartKeys}) {
            SCOPED_TRACE(nameOf(a));
            const int answered = rig.readingsAnswered;
            rig::RigReadStatus();
            // The act is given while the answer crosses the line, or, when a busy
            // machine let all of it pass unseen, after it: counted, not required.
            ASSERT_TRUE(zvtest::waitUntil([&] {
                return rig.readingsAnswered > answered && (rig.sending() || !rig.lineBusy());
            })) << "the rig answers the poll";
            actsDuringAnAnswer += rig.sending() ? 1 : 0;
            act(a);
            EXPECT_TRUE(zvtest::waitUntil([&] { return !rig.lineBusy() && (!row.decoded || lost() == 0); }))
                << lost() << " of " << rig.readingsAnswered << " readings lost, message "
                << core::g.StatusMessage.toStdString();
            // A release the rig has taken counts once the program hears the
            // rig after it (until then it is owed): waited for, not caught.
            EXPECT_TRUE(zvtest::waitUntil([] { return rig::g.ReleaseUnheard == 0; })) << "the release heard";
            EXPECT_EQ(rig.ptt, rig::g.PttOnLastSent == 1) << "the key as the last PTT command left it";
        }
        EXPECT_GT(actsDuringAnAnswer, 0) << "no act was given while the rig answered";
        EXPECT_EQ(rig.overlaps, 0) << "commands that ran into the rig's answer";
        if (row.decoded) {
            EXPECT_EQ(rig.dialHz, 14071200) << "each click retuned the rig from its fresh reading";
            EXPECT_EQ(rig::g.RigDialHz, rig.dialHz) << "and the read after it shows the new dial";
            EXPECT_EQ(rig::g.RigModeText, QStringLiteral("USB"));
        }
        rig::RigClosePort();
        core::g.RxFreqHz = core::g.TxFreqHz = 1500;
    }
}

// A silent rig on a slow line (KENWOOD polled at 1200 baud, its cable pulled,
// the release of the last over owed to it and written again at every turn)
// holds none of the operator's actions, as with the rig answering: each is
// asked at the first moment events run inside a wait for the rig, or after
// two ticks of the link when none runs, and takes effect before two more.
TEST_F(RigLinkTest, ASilentRigOnASlowLineHoldsNoActionOfTheOperator) {
    core::g.OpMode = core::ModeBpsk;
    PSK31MAIN& w = forms::PSK31MAIN();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    bool ended = false, checked = false;
    const struct {
        const char* name;
        std::function<void()> act;
        std::function<bool()> done;
    } actions[] = {
        {"F12", [&] { QTest::keyClick(w.Text1, Qt::Key_F12); }, [] { return core::g.Transmitting == 1; }},
        {"Esc", [&] { QTest::keyClick(w.Text1, Qt::Key_Escape); }, [] { return core::g.Transmitting == 0; }},
        {"typing", [&] { QTest::keyClicks(w.Text1, QStringLiteral("CQ")); },
         [&] { return w.Text1->text().contains(QLatin1String("CQ")); }},
        {"a click",
         [&] {
             checked = !w.Check3->isChecked();
             QTest::mouseClick(w.Check3, Qt::LeftButton);
         },
         [&] { return w.Check3->isChecked() == checked; }},
        {"終了", [&] { ended = forms::mayActNow(forms::Request::End, [&] { ended = true; }); },
         [&] { return ended; }},
    };
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "the rig silent" : "the rig answering");
        zvtest::RigSimulator& rig = rigOf(QStringLiteral("KENWOOD"));
        rig::g.RigBaudRate = QStringLiteral("1200");
        rig::g.RigPollMode = 2;
        rig::RigOpenPort();
        ASSERT_TRUE(zvtest::transmitByF12(w));
        if (silent) rig.pullCable();
        ASSERT_TRUE(zvtest::endByEscape(w));
        ASSERT_TRUE(zvtest::waitUntil([&] {
            return silent ? w.Text3->text().contains(QStringLiteral("送信停止に応答しません"))
                          : rig::g.PttOnLastSent == 0;
        }));
        int ticks = 0;
        const auto counting = [&ticks] { ++ticks; };
        const QMetaObject::Connection polled =
            QObject::connect(&rig::pollTimer(), &QTimer::timeout, counting);
        const QMetaObject::Connection watched =
            QObject::connect(&rig::keyWatch(), &QTimer::timeout, counting);
        for (const auto& a : actions) {
            SCOPED_TRACE(a.name);
            const int ticksBefore = ticks;
            int askedAt = -1;
            bool insideAWait = false;
            QTimer ask;
            QObject::connect(&ask, &QTimer::timeout, [&] {
                if (askedAt >= 0 || (!rig::exchangeInProgress() && ticks - ticksBefore < 2)) return;
                askedAt = ticks;
                insideAWait = rig::exchangeInProgress();
                a.act();
            });
            ask.start(0);
            ASSERT_TRUE(zvtest::waitUntil([&] { return askedAt >= 0 && a.done(); }, 60'000));
            EXPECT_FALSE(insideAWait) << "asked inside a wait for the rig";
            EXPECT_LE(ticks - askedAt, 2) << "ticks of the link before it took effect";
        }
        QObject::disconnect(polled);
        QObject::disconnect(watched);
        rig.plugCableBack();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !rig.ptt && rig::g.PttOnLastSent == 0; }));
        rig::RigClosePort();
        w.Text1->setText(QString());
        ended = false;
    }
}

// One test a family, so that the slow lines of one do not hold up the others.
INSTANTIATE_TEST_SUITE_P(EveryFamily, RigPacing, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<FamilyRow>& info) {
                             std::string name = info.param.family;
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
