// The multi-mode control reached by dispatch id: its members, its simulated
// reception and transmission, its events, and its views and level meter.
#include "platform/mmvari/MmvariControl.h"
#include "platform/engines/Engines.h"
#include "platform/mmvari/MmvariViews.h"
#include "support/ProgramFolder.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using namespace mmvari;
using dispatch::Call;

class MmvariControlTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        QObject::connect(&control, &MmvariControl::receivedText,
                         [this](int ch, const QString& t) { rx[ch] += t; });
    }
    void run() { ASSERT_TRUE(control.set(IdRun, true)); }
    QVariant read(int id) {
        QVariant v;
        EXPECT_TRUE(control.get(id, v)) << id;
        return v;
    }
    QVariant read(int id, int ch) {
        QVariant v;
        EXPECT_TRUE(control.get(id, ch, v)) << id << "(" << ch << ")";
        return v;
    }

    MmvariControl control;
    QString rx[MmvariControl::Channels];
};

TEST_F(MmvariControlTest, UnknownIdsAndWrongCallsFailAndChangeNothing) {
    QVariant v;
    const QList<std::function<bool()>> calls = {
        [&] { return control.get(1, v); },
        [&] { return control.set(99, 1); },
        [&] { return control.get(PRxFreq, v); },           // indexed, read without index
        [&] { return control.get(IdTxFreq, 0, v); },       // plain, read with index
        [&] { return control.get(PRxFreq, 3, v); },        // no such channel
        [&] { return control.set(IdTxOffsetMeasure, 5); }, // read-only
        [&] { return control.set(IdLevelData, 5); },
        [&] { return control.set(PLevelDb, 0, 5); },
        [&] { return control.set(IdTxFreq, QString("abc")); },
        [&] { return control.set(PModeNumber, 0, 9); },
        [&] { return control.set(PModeName, 0, QString("psk31")); },
        [&] { return control.invoke(70); },
        [&] { return control.invoke(MethodSend); },
        [&] { return control.invoke(MethodTune, {1}); },
    };
    for (qsizetype i = 0; i < calls.size(); ++i)
        EXPECT_FALSE(calls[i]()) << "call " << i;
    ASSERT_EQ(control.calls().size(), calls.size());
    for (const Call& c : control.calls())
        EXPECT_FALSE(c.ok) << c.id;
    EXPECT_EQ(read(IdTxFreq).toInt(), 1000);
    EXPECT_EQ(read(PModeNumber, 0).toInt(), 4);
    EXPECT_EQ(read(PModeName, 0).toString(), "bpsk");
}

TEST_F(MmvariControlTest, EveryMemberTheSystemUsesTakesAndGivesItsValue) {
    const QList<std::pair<int, QVariant>> plain = {
        {IdTxFreq, 1234},    {IdAtc, true},      {IdStartCr, true},
        {IdStopCr, true},    {IdNet, true},      {IdRxSampleFreq, 11026.23},
        {IdTxOffset, -1.5},  {IdReqRx, true},    {IdSoundCard, "1"},
        {IdAfcWidth, 80},    {IdExtLoop, true},  {IdTuneReset, 0},
        {IdPttPort, "COM3"}, {IdAtcReset, true}, {IdCwIdSpeed, 25},
        {IdTcMfsk, true},    {IdSqMfsk, true},   {IdDiddle, 1},
        {IdPlayBack, true},  {IdHpf, true},
    };
    for (const auto& [id, value] : plain) {
        EXPECT_TRUE(control.set(id, value)) << id;
        EXPECT_EQ(read(id), value) << id;
    }
    EXPECT_TRUE(control.set(IdAtc, -1)); // a Boolean True from a number
    EXPECT_EQ(read(IdAtc), QVariant(true));
    EXPECT_NE(read(IdLevelData).toInt(), 0);
    read(IdTxOffsetMeasure);

    const QList<std::pair<int, QVariant>> indexed = {
        {PSpeed, 62.5},  {PRxFreq, 1500}, {PRxOn, true}, {PSquelch, 500},
        {PCharSet, 128}, {PAfc, true},    {PUos, true},  {PNotch, 1200},
    };
    for (int ch = 0; ch < MmvariControl::Channels; ++ch) {
        for (const auto& [id, value] : indexed) {
            EXPECT_TRUE(control.set(id, ch, value)) << id << "(" << ch << ")";
            EXPECT_EQ(read(id, ch), value) << id << "(" << ch << ")";
        }
        read(PLevelDb, ch);
        read(PValue, ch);
    }

    // The mode by name and by number are one setting.
    EXPECT_TRUE(control.set(PModeName, 1, QString("rtty-U")));
    EXPECT_EQ(read(PModeNumber, 1).toInt(), 6);
    EXPECT_TRUE(control.set(PModeNumber, 2, 7));
    EXPECT_EQ(read(PModeName, 2).toString(), "mfsk-L");
    EXPECT_EQ(read(PChannelText, 2).toString(), "mfsk-L");

    QVariant waiting;
    EXPECT_TRUE(control.invoke(MethodSend, {QString("AB")}, &waiting));
    EXPECT_EQ(waiting.toInt(), 2);
    EXPECT_TRUE(control.invoke(MethodCwId, {QString("DE QQ1AAA")}));
    EXPECT_TRUE(control.invoke(MethodRewind, {60}));
    EXPECT_TRUE(control.invoke(MethodCwIdEnd, {3}));
    EXPECT_EQ(control.callsOf(Call::Invoke, MethodSend).size(), 1);
}

TEST_F(MmvariControlTest, EachChannelReceivesTheStationItIsTunedTo) {
    QSignalSpy updates(&control, &MmvariControl::periodicUpdate);
    ASSERT_TRUE(control.set(PRxFreq, 1, 1500));
    ASSERT_TRUE(control.set(PRxOn, 1, true));
    ASSERT_TRUE(control.set(PRxFreq, 2, 2000)); // channel 2 stays off for now
    run();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rx[0].contains("QQ9MVA") && rx[1].contains("こんにちは"); }))
        << rx[0].toStdString() << " / " << rx[1].toStdString();
    EXPECT_TRUE(rx[2].isEmpty());
    // The updates come from a timer of their own, which a busy machine runs late.
    EXPECT_TRUE(zvtest::waitUntil([&] { return updates.size() > 10; })) << updates.size();
    EXPECT_EQ(read(PLevelDb, 0).toInt(), 24);

    ASSERT_TRUE(control.set(PRxOn, 2, true));
    EXPECT_TRUE(zvtest::waitUntil([&] { return rx[2].contains("QQ9MVD"); })) << rx[2].toStdString();

    // Stopped, nothing more arrives.
    ASSERT_TRUE(control.set(IdRun, false));
    for (QString& t : rx)
        t.clear();
    updates.clear();
    control.stepForTest();
    EXPECT_TRUE(rx[0].isEmpty() && rx[1].isEmpty() && rx[2].isEmpty());
    EXPECT_EQ(updates.size(), 0);
}

TEST_F(MmvariControlTest, AfcPullsAChannelOntoTheStationAndSquelchKeepsItQuiet) {
    // Each period receives before it raises the periodic update.
    QSignalSpy updates(&control, &MmvariControl::periodicUpdate);
    ASSERT_TRUE(control.set(PRxFreq, 0, 1030));
    run();
    ASSERT_TRUE(zvtest::waitUntil([&] { return updates.size() >= 3; }));
    EXPECT_TRUE(rx[0].isEmpty()) << rx[0].toStdString();
    EXPECT_EQ(read(PRxFreq, 0).toInt(), 1030) << "without AFC the channel stays put";

    ASSERT_TRUE(control.set(PAfc, 0, true));
    EXPECT_TRUE(zvtest::waitUntil([&] { return read(PRxFreq, 0).toInt() == 1000 && !rx[0].isEmpty(); }));

    ASSERT_TRUE(control.set(PSquelch, 0, 2000));
    rx[0].clear();
    updates.clear();
    ASSERT_TRUE(zvtest::waitUntil([&] { return updates.size() >= 3; }));
    EXPECT_TRUE(rx[0].isEmpty()) << rx[0].toStdString();
}

TEST_F(MmvariControlTest, TransmitsTheBufferWithEchoAndReportsStartAndEnd) {
    QList<int> states;
    QObject::connect(&control, &MmvariControl::txState, [&](int s) { states.append(s); });
    QSignalSpy bufferEvents(&control, &MmvariControl::txBufferChanged);
    ASSERT_TRUE(control.set(PRxFreq, 0, 2500)); // off the stations: only the echo comes
    run();

    QVariant waiting;
    ASSERT_TRUE(control.invoke(MethodSend, {QString("TEST DE QQ1AAA")}, &waiting));
    EXPECT_EQ(waiting.toInt(), 14);
    ASSERT_TRUE(control.set(IdTransmit, true));
    ASSERT_TRUE(control.set(IdReqRx, true));
    ASSERT_TRUE(zvtest::waitUntil([&] { return states == QList<int>{1, 0}; }));
    EXPECT_EQ(rx[0], "TEST DE QQ1AAA");
    EXPECT_EQ(bufferEvents.size(), 14);
    EXPECT_TRUE(control.invoke(MethodSend, {QString()}, &waiting));
    EXPECT_EQ(waiting.toInt(), 0);
    EXPECT_EQ(read(IdTransmit), QVariant(false));

    // A tune carrier runs until the transmit switch goes off; buffered text is dropped.
    states.clear();
    ASSERT_TRUE(control.invoke(MethodTune));
    ASSERT_TRUE(zvtest::waitUntil([&] { return states == QList<int>{1}; }));
    ASSERT_TRUE(control.invoke(MethodSend, {QString("XYZ")}));
    ASSERT_TRUE(control.set(IdTransmit, false));
    ASSERT_TRUE(zvtest::waitUntil([&] { return states == QList<int>{1, 0}; }));
    EXPECT_TRUE(control.invoke(MethodSend, {QString()}, &waiting));
    EXPECT_EQ(waiting.toInt(), 0);
}

TEST_F(MmvariControlTest, RaisesErrorCodesOneToFour) {
    QList<int> errors;
    QObject::connect(&control, &MmvariControl::errorRaised, [&](int c) { errors.append(c); });
    struct Case {
        QString soundCard, pttPort;
        QList<int> expected;
        bool runs;
    };
    const QList<Case> cases = {
        {"-1", "NONE", {}, true}, {"1", "COM5", {}, true}, {"X", "NONE", {3}, false},
        {"0", "COMX", {4}, true}, {"0", "", {4}, true},
    };
    for (const Case& c : cases) {
        errors.clear();
        ASSERT_TRUE(control.set(IdSoundCard, c.soundCard));
        ASSERT_TRUE(control.set(IdPttPort, c.pttPort));
        run();
        ASSERT_TRUE(zvtest::waitForPostedEvents()) << "errors are raised from the event queue";
        EXPECT_EQ(errors, c.expected) << c.soundCard.toStdString() << " " << c.pttPort.toStdString();
        EXPECT_EQ(read(IdRun).toBool(), c.runs);
        ASSERT_TRUE(control.set(IdRun, false));
    }

    ASSERT_TRUE(control.set(IdPttPort, QString("NONE")));
    run();
    errors.clear();
    control.soundDropped();
    ASSERT_TRUE(control.set(IdTransmit, true));
    ASSERT_TRUE(zvtest::waitUntil([&] { return control.transmitting(); }));
    control.soundDropped();
    EXPECT_EQ(errors, (QList<int>{1, 2}));
}

TEST_F(MmvariControlTest, ClockMeasurementLinesDriftUntilTheSampleFrequencyIsRight) {
    QSignalSpy lines(&control, &MmvariControl::spectrumLine);
    run();
    ASSERT_TRUE(control.invoke(MethodClockRef, {1000, 11025.0}));
    ASSERT_TRUE(control.invoke(MethodLines, {800}));
    ASSERT_TRUE(zvtest::waitUntil([&] { return lines.size() >= 2; }));
    EXPECT_EQ(lines[0][0].toInt() + 1, lines[1][0].toInt());

    auto peakAt = [&](int line) {
        QVariant result;
        EXPECT_TRUE(control.invoke(MethodLineLevels, {0, line, 800}, &result));
        const QList<int> levels = result.value<QList<int>>();
        EXPECT_EQ(levels.size(), 800);
        return int(std::max_element(levels.begin(), levels.end()) - levels.begin());
    };
    // The card runs +50 ppm at the nominal rate nearest the rate assumed: the
    // carrier moves (real - assumed) x 800 / assumed units a line, 16 units
    // over 400 lines, and goes straight down at the real rate.
    struct Case {
        double ppm;
        double sampleFreq;
        int at400;
    } cases[] = {
        {50, 11025.0, 416}, {50, 8000.0, 416}, {50, 11025.55125, 400}, {50, 8000.4, 400},
        {-25, 8000.0, 392}, {50, 8000.2, 408}, {0, 11025.0, 400},      {100, 11025.0, 432},
    };
    for (const Case& c : cases) {
        engines::current().soundCardPpm = c.ppm;
        ASSERT_TRUE(control.set(IdRxSampleFreq, c.sampleFreq));
        EXPECT_EQ(peakAt(0), 400) << c.sampleFreq;
        EXPECT_EQ(peakAt(400), c.at400) << c.ppm << " " << c.sampleFreq;
    }
    engines::current().soundCardPpm = 50;
    EXPECT_FALSE(control.invoke(MethodLineLevels, {0, 1}));
    EXPECT_FALSE(control.invoke(MethodClockRef, {1000, 0.0}));

    QSignalSpy updates(&control, &MmvariControl::periodicUpdate);
    ASSERT_TRUE(control.invoke(MethodLines, {0}));
    lines.clear();
    ASSERT_TRUE(zvtest::waitUntil([&] { return updates.size() >= 2; })) << "whole periods have passed";
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(MmvariControlTest, TransmitOffsetMeasurementReadsTheStationsOffsetWhileAtcRuns) {
    struct Case {
        bool atc;
        double txOffset;
        int reading;
    } cases[] = {{true, 0.0, 900}, {true, -10.0, 0}, {true, -9.5, 45}, {true, 5.0, 1350}, {false, 0.0, 0}};
    for (const Case& c : cases) {
        ASSERT_TRUE(control.set(IdAtc, c.atc));
        ASSERT_TRUE(control.set(IdTxOffset, c.txOffset));
        QVariant v;
        ASSERT_TRUE(control.get(IdTxOffsetMeasure, v));
        EXPECT_EQ(v.toInt(), c.reading) << c.txOffset;
    }
}

TEST_F(MmvariControlTest, ViewsAndMeterDrawTheControlAndReportClicks) {
    XMMVView view;
    XMMVLvl meter;
    view.resize(600, 100);
    meter.resize(20, 101);
    const int handle = read(IdLevelData).toInt();
    run();

    EXPECT_FALSE(view.invoke(ViewDraw, {handle + 1000}));
    EXPECT_FALSE(view.set(ViewType, 2));
    EXPECT_FALSE(view.invoke(99));
    EXPECT_FALSE(meter.invoke(MeterDraw, {handle}));
    EXPECT_TRUE(view.set(ViewColour, 5, 255));
    EXPECT_TRUE(view.set(ViewText, 3, QString("14.070")));
    EXPECT_TRUE(view.set(ViewSpan, 3000));
    EXPECT_TRUE(view.set(ViewLeftFreq, 0));

    // Spectrum: the trace peaks at the stations' columns.
    EXPECT_TRUE(view.invoke(ViewDraw, {handle}));
    QImage shot = view.grab().toImage();
    auto topmost = [&](int x) {
        for (int y = 0; y < shot.height(); ++y)
            if (qGreen(shot.pixel(x, y)) > 200 && qRed(shot.pixel(x, y)) < 100) return y;
        return shot.height();
    };
    EXPECT_LT(topmost(view.width() * 1500 / 3000), topmost(view.width() * 1250 / 3000));

    // Waterfall: lines come in at the top, the stations brighter than the noise.
    EXPECT_TRUE(view.set(ViewType, 1));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(view.invoke(ViewDraw, {handle}));
    shot = view.grab().toImage();
    const QColor station = shot.pixelColor(view.width() * 2000 / 3000, 2);
    const QColor noise = shot.pixelColor(view.width() * 2500 / 3000, 2);
    EXPECT_GT(station.valueF(), noise.valueF());

    EXPECT_TRUE(meter.invoke(MeterDraw, {handle, 0}));
    EXPECT_EQ(meter.level(), 72);

    QSignalSpy right(&view, &XMMVView::rightClicked);
    QSignalSpy left(&view, &XMMVView::leftClicked);
    QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(300, 50));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 50));
    ASSERT_EQ(right.size(), 1);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(right[0][0].toInt(), 1500);
    EXPECT_EQ(left[0][0].toInt(), 750);
    EXPECT_EQ(read(PRxFreq, 0).toInt(), 750) << "the left click tunes the main channel";
    QSignalSpy meterClicks(&meter, &XMMVLvl::clicked);
    QTest::mouseClick(&meter, Qt::LeftButton, {}, QPoint(10, 40));
    EXPECT_EQ(meterClicks.size(), 1);
    EXPECT_EQ(read(PSquelch, 0).toInt(), 60 * XMMVLvl::SquelchPerStep);
}

} // namespace
