// The transmit tab and sending, driven as the operator drives them: the
// rendering at each mode's size, the 240-line squeeze, the title bar, F12,
// Esc and the send button with PTT by CAT on the simulated rig, the tune
// tone, the CW ID and the window title.
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/waits/Waits.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/workshop/SstvTitles.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace {

class SstvSend : public zvtest::SstvWorkshopTest {
  protected:
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        SstvWorkshopTest::TearDown();
        sim.reset();
    }
    // The window shown with the simulated rig, keyed by CAT.
    SSTVForm& shownKeyedByCat() {
        sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
        zvtest::pointRigLinkAt(*sim);
        core::g.PttPortControl = QStringLiteral("0");
        return shown();
    }
    // The canvas red with a blue band over its bottom 16 rows.
    void banded() {
        loadBackground(pictureFile(QStringLiteral("banded.bmp"), QSize(320, 256), QColor(220, 0, 0),
                                   QColor(0, 0, 220), 16));
    }
    bool chooseMode(int mode) {
        if (window().SSTab2->currentIndex() != 0) clickTab(0);
        return zvtest::chooseInCombo(window().Combo2, mode);
    }
    // A picture of one colour put on the clipboard and pasted with Ctrl+V.
    void paste(QColor colour) {
        QImage picture(320, 256, QImage::Format_RGB32);
        picture.fill(colour);
        QGuiApplication::clipboard()->setImage(picture);
        QTest::keyClick(&window(), Qt::Key_V, Qt::ControlModifier);
    }
    const QImage* txDib() const { return eng().bitmap(sstv::g.dib.TxDib); }
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(SstvSend, EachModeIsRenderedAtItsOwnSizeIntoTheTransmitBitmap) {
    SSTVForm& f = shown();
    banded();
    const std::array<int, 4> modes = {sstveng::Robot36, sstveng::Scottie1, 16 /* PD-120 */, 20 /* PD-290 */};
    for (int mode : modes) {
        ASSERT_TRUE(chooseMode(mode)) << mode;
        const sstveng::ModeInfo& m = sstveng::Modes[std::size_t(mode)];
        EXPECT_EQ(sstv::g.TxMode, mode);
        EXPECT_EQ(sstv::g.TxImageWidth, m.width);
        EXPECT_EQ(sstv::g.TxImageHeight, m.height);
        EXPECT_EQ(f.SSTab2->currentIndex(), 0);
        EXPECT_EQ(f.SSTab2->tabText(0), QStringLiteral("送信 %1x%2").arg(m.width).arg(m.height));
        EXPECT_TRUE(near(at(txDib(), m.width - 1, 0), QColor(220, 0, 0))) << m.name;
        if (m.width < sstveng::MaxWidth) {
            EXPECT_FALSE(near(at(txDib(), m.width + 1, 0), QColor(220, 0, 0))) << m.name;
        }
        EXPECT_TRUE(near(at(txDib(), 0, m.height / 2), QColor(220, 0, 0))) << m.name;
    }
    EXPECT_EQ(eng().callTexts().filter(QStringLiteral("mmsSetBitmap")).isEmpty(), false);
    clickTab(2);
    EXPECT_EQ(sstv::g.dib.TxRenderDib, 0) << "the settings tab releases the rendering";
}

TEST_F(SstvSend, TwoHundredFortyLinesAreCutOrSqueezed) {
    SSTVForm& f = shown();
    banded();
    ASSERT_TRUE(chooseMode(sstveng::Robot36));
    EXPECT_TRUE(near(at(txDib(), 10, 239), QColor(220, 0, 0))) << "the bottom 16 lines are cut";
    clickTab(1);
    EXPECT_TRUE(f.Line2->isVisible());
    EXPECT_EQ(f.Line2->y1(), 240);
    EXPECT_EQ(f.Picture10->scaleHeight(), 256);

    clickTab(2);
    QTest::mouseClick(f.Check3, Qt::LeftButton, {}, QPoint(6, f.Check3->height() / 2));
    EXPECT_EQ(sstv::g.Squeeze240, 1);
    EXPECT_FALSE(f.Line2->isVisible());
    clickTab(0);
    EXPECT_TRUE(near(at(txDib(), 10, 239), QColor(0, 0, 220))) << "all 256 lines squeezed into 240";
    EXPECT_TRUE(near(at(txDib(), 10, 0), QColor(220, 0, 0)));
    clickTab(1);
    EXPECT_EQ(f.Picture10->scaleHeight(), 240);
    EXPECT_FALSE(f.Line2->isVisible());
}

TEST_F(SstvSend, TitleBarSwitchedFromTheBoxAndFromTheMenuAsOne) {
    SSTVForm& f = shown(2);
    QTest::mouseClick(f.Check6, Qt::LeftButton, {}, QPoint(6, f.Check6->height() / 2));
    EXPECT_TRUE(f.TB_ON->isChecked());
    EXPECT_EQ(sstv::g.SstvTitleBarOn, QStringLiteral("1"));
    EXPECT_EQ(core::IniStored(QStringLiteral("SSTV_Gen"), QStringLiteral("TitleBar")), QStringLiteral("1"));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("QQ1TST")) << "no stored title: the own call";
    EXPECT_FALSE(f.Picture14->isHidden());
    EXPECT_EQ(at(f.Picture14, 0, 0), QColor(155, 255, 255));

    clickTab(0);
    EXPECT_EQ(at(f.Picture3, 0, 0), QColor(155, 255, 255)) << "the bar's start colour";
    EXPECT_EQ(at(f.Picture3, 319, 1), QColor(155, 255, 0));
    bool textPrinted = false;
    for (int x = 0; x < 200 && !textPrinted; ++x)
        for (int y = 0; y < 30 && !textPrinted; ++y)
            textPrinted = QColor(f.Picture3->canvas().pixel(x, y)).lightness() < 60;
    EXPECT_TRUE(textPrinted) << "the own call printed on the bar";
    bool bandClean = true;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 30; ++y)
            bandClean = bandClean && QColor(f.Picture14->canvas().pixel(x, y)).lightness() >= 60;
    EXPECT_TRUE(bandClean) << "the band on the canvas keeps no printed text";

    ASSERT_TRUE(zvtest::chooseByClick(f.Picture3, f.TB_ON));
    EXPECT_FALSE(f.Check6->isChecked());
    EXPECT_TRUE(f.Picture14->isHidden());
    EXPECT_EQ(core::IniStored(QStringLiteral("SSTV_Gen"), QStringLiteral("TitleBar")), QStringLiteral("0"));
}

TEST_F(SstvSend, TitleLinesArePrintedWithTheirOutline) {
    SSTVForm& f = shown();
    paste(QColor(0, 0, 0));
    const int plain = sstv::AddTitleLabel();
    const int outlined = sstv::AddTitleLabel();
    for (int i : {plain, outlined}) {
        QLabel* label = f.Label1[std::size_t(i)];
        colour::setForeColor(label, 0xFFFFFF);
        QFont font = label->font();
        font.setPixelSize(20);
        font.setBold(true);
        label->setFont(font);
        label->setText(QStringLiteral("QX1ABC"));
        label->move(20, i == plain ? 40 : 140);
    }
    sstv::titles.SstvTitleOutline[std::size_t(outlined)] = 13; // red
    clickTab(0);
    const auto count = [&](int top, auto test) {
        int n = 0;
        for (int y = top; y < top + 40; ++y)
            for (int x = 10; x < 200; ++x)
                n += test(QColor(f.Picture3->canvas().pixel(x, y))) ? 1 : 0;
        return n;
    };
    const auto white = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    EXPECT_GT(count(40, white), 20);
    EXPECT_EQ(count(40, red), 0) << "no outline for choice 0";
    EXPECT_GT(count(140, white), 20);
    EXPECT_GT(count(140, red), 10) << "the outline shows round the text";
}

TEST_F(SstvSend, F12RendersAndSendsWithCatPttAndEscStops) {
    SSTVForm& f = shownKeyedByCat();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    banded();
    ASSERT_TRUE(chooseMode(sstveng::Robot36));
    // The canvas changes while the transmit tab shows: F12 renders it again.
    paste(QColor(0, 200, 0));
    EXPECT_TRUE(near(at(txDib(), 10, 10), QColor(220, 0, 0)));
    eng().clearCalls();
    QTest::keyClick(&f, Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_TRUE(near(at(txDib(), 10, 10), QColor(0, 200, 0)));
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(3)")), 1);
    EXPECT_EQ(colour::backColor(f.Command9), 0xDFFFDFu);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    EXPECT_EQ(colour::backColor(f.Command9), colour::kButtonFace);
    ASSERT_TRUE(zvtest::waitUntil([&] { return sim->ptt; }));
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->ptt; }));
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.RxPreviewDib), 10, 10), QColor(0, 200, 0)))
        << "the preview echoes the picture sent";

    // Esc stops a transmission under way.
    QTest::keyClick(&f, Qt::Key_F12);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendStop()")), 1);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);
    EXPECT_EQ(sim->pttOnCount, 2);

    // Esc taken while F12 still renders the picture ends that F12: nothing goes out.
    bool pressed = false;
    QTimer::singleShot(0, &f, [&] {
        pressed = true;
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    QTest::keyClick(&f, Qt::Key_F12);
    ASSERT_TRUE(pressed);
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(3)")), 2);
    EXPECT_EQ(sstv::g.SstvTxActive, 0);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);
    EXPECT_EQ(sim->pttOnCount, 2);

    // The CW ID pressed while Esc's release waits for the rig's line (its
    // answer to a reading held back) keys nothing, and says so.
    eng().hooks().lineIntervalMs = 200;
    QTest::keyClick(&f, Qt::Key_F12);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    rig::g.RigReplyMarginMs = 5000;
    sim->holdingAnswers = true;
    rig::RigReadStatus();
    int ticks = 0;
    QTimer late;
    QObject::connect(&late, &QTimer::timeout, [&] {
        if (!forms::waitsRun()) return;
        if (++ticks == 1) QTest::mouseClick(f.Command10, Qt::LeftButton);
        // The engine's start report comes meanwhile; then the rig answers.
        if (ticks == 20) {
            sim->holdingAnswers = false;
            sim->releaseAnswers();
        }
    });
    late.start(1);
    QTest::keyClick(&f, Qt::Key_Escape);
    late.stop();
    ASSERT_GE(ticks, 20);
    EXPECT_FALSE(sstveng::lib().isTransmitting()) << "the CW ID refused is not sent";
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("送信を停止中のため、送信しません"));
    ASSERT_TRUE(
        zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0 && !sstveng::lib().isTransmitting(); }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);
    EXPECT_EQ(sim->pttOnCount, 3);
}

// The window goes with the mode and comes back new: its canvas, empty since
// it came, goes out only on the operator's word, and the question names the
// transmit mode it comes back with.
TEST_F(SstvSend, ACanvasLeftEmptySinceTheWindowCameIsAskedAboutFirst) {
    SSTVForm& f = shown();
    banded();
    ASSERT_TRUE(chooseMode(sstveng::Scottie1 + 2));
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    ASSERT_EQ(core::g.OpMode, int(core::ModeBpsk));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().PSKMODE[5]));
    ASSERT_EQ(core::g.OpMode, int(core::ModeSstv));
    SSTVForm& back = forms::SSTVForm();
    ASSERT_TRUE(zvtest::waitExposed(&back));
    eng().clearCalls();
    ui::script::clearAsked();
    ui::script::push(ui::No);
    QTest::keyClick(&back, Qt::Key_F12);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("送信画が作られていません（調理場は一色のままです）。\r\nこのまま ") +
                  back.Combo2->itemText(sstveng::Scottie1) + QStringLiteral(" で送信しますか？"));
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(6)")), 0);
    EXPECT_EQ(sstv::g.SstvTxActive, 0);

    // Filled again, the canvas goes without a question.
    clickTab(1);
    banded();
    ui::script::clearAsked();
    QTest::keyClick(&back, Qt::Key_F12);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(6)")), 1);
    QTest::keyClick(&back, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));

    // The title bar is a picture: the window that comes back showing it
    // sends it without a question.
    clickTab(1);
    QMenu* menu = zvtest::popupByClick(back.Picture8, Qt::RightButton, QPoint(300, 200));
    ASSERT_TRUE(menu);
    ASSERT_TRUE(zvtest::chooseInPopup(menu, back.TB_ON));
    ASSERT_TRUE(zvtest::chooseInMenuBar(back.menuBar, back.PSKMODE[0]));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().PSKMODE[5]));
    SSTVForm& titled = forms::SSTVForm();
    ASSERT_TRUE(zvtest::waitExposed(&titled));
    ASSERT_TRUE(titled.Picture14->isVisibleTo(titled.Picture8));
    eng().clearCalls();
    ui::script::clearAsked();
    QTest::keyClick(&titled, Qt::Key_F12);
    EXPECT_TRUE(ui::script::asked().isEmpty()) << ui::script::asked().value(0).prompt.toStdString();
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(6)")), 1);
    QTest::keyClick(&titled, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
}

// A click on the canvas arms a title line's placement; any other tab chosen
// in between, on either strip, drops it, so that the next click only arms it
// again.
TEST_F(SstvSend, ATabChoiceDropsAPlacementArmedOnTheCanvas) {
    SSTVForm& f = shown();
    const std::pair<QTabWidget*, int> tabs[] = {{f.SSTab2, 0}, {f.SSTab2, 2}, {f.SSTab1, 1}, {f.SSTab1, 0}};
    for (const auto& [strip, tab] : tabs) {
        SCOPED_TRACE(strip->tabText(tab).toStdString());
        clickTab(1);
        zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(200, 200));
        ASSERT_EQ(sstv::g.TitlePlaceArmed, 1);
        QTabBar* bar = strip->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        ASSERT_EQ(strip->currentIndex(), tab);
        clickTab(1);
        zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
        EXPECT_EQ(f.Label1.size(), 1u) << "no title line made";
        EXPECT_FALSE(forms::isLoaded<mojiinput>());
        EXPECT_EQ(sstv::g.TitlePlaceArmed, 1);
        clickTab(0);
    }
}

TEST_F(SstvSend, TheSendButtonSendsTheLastRenderingAndStopsASecondTime) {
    SSTVForm& f = shown();
    banded();
    clickTab(2);
    clickTab(0);
    EXPECT_TRUE(near(at(txDib(), 10, 10), QColor(220, 0, 0)));
    paste(QColor(0, 0, 200));
    eng().hooks().lineIntervalMs = 20;
    QTest::mouseClick(f.Command9, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(6)")), 1);
    EXPECT_TRUE(near(at(txDib(), 10, 10), QColor(220, 0, 0))) << "sent as last rendered";
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    QTest::mouseClick(f.Command9, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendStop()")), 1);
    EXPECT_EQ(colour::backColor(f.Command9), colour::kButtonFace);
    EXPECT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
}

TEST_F(SstvSend, TuneToneFrequencyAskedAndCheckedThenToneOnAndOff) {
    SSTVForm& f = shown(0);
    struct Answer {
        QVariant typed;
        QString stored;
        bool refused;
    };
    const Answer answers[] = {
        {QStringLiteral("600"), QStringLiteral("600"), false},
        {QStringLiteral("2301"), QStringLiteral("1750"), true},
        {QStringLiteral("2300"), QStringLiteral("2300"), false},
        {QStringLiteral("abc"), QStringLiteral("1750"), true},
        {QStringLiteral("500"), QStringLiteral("500"), false},
        {QStringLiteral(""), QStringLiteral("500"), false},
        {QVariant(), QStringLiteral("500"), false},
    };
    for (const Answer& a : answers) {
        ui::script::clearAsked();
        ui::script::push(a.typed);
        QTest::mouseClick(f.Command14, Qt::RightButton);
        ASSERT_FALSE(ui::script::asked().isEmpty());
        EXPECT_EQ(ui::script::asked().first().title, QStringLiteral("TONE 周波数指定"));
        EXPECT_EQ(core::IniStored(QStringLiteral("SSTV_Gen"), QStringLiteral("ToneFreq")).value_or(QString()),
                  a.stored)
            << a.typed.toString().toStdString();
        EXPECT_EQ(ui::script::asked().size(), a.refused ? 2 : 1);
        if (a.refused) {
            EXPECT_EQ(ui::script::asked().last().prompt, QStringLiteral("周波数不正　1750Hz とします。"));
        }
    }
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendTone(500)")), 0) << "a right click sends no tone";
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendTone(500)")), 1);
    EXPECT_EQ(colour::backColor(f.Command14), 0xDFFFDFu);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendStop()")), 1);
    EXPECT_EQ(colour::backColor(f.Command14), colour::kButtonFace);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    // Esc ends the tone as the button does: the next click sends it again.
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_EQ(colour::backColor(f.Command14), colour::kButtonFace);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendTone(500)")), 3);
    EXPECT_EQ(colour::backColor(f.Command14), 0xDFFFDFu);
}

// The end asked for while the window sends: the rig is released before any
// question waits for the operator, and a No leaves the window ready to send.
TEST_F(SstvSend, TheEndReleasesTheRigBeforeItsQuestion) {
    SSTVForm& f = shownKeyedByCat();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    banded();
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    struct Case {
        const char* name;
        std::function<void()> send;
        std::function<void()> end;
    } cases[] = {
        {"TUNE, then the exit item", [&] { QTest::mouseClick(f.Command14, Qt::LeftButton); },
         [&] { ASSERT_TRUE(zvtest::chooseMenuItem(f.pEnd)); }},
        {"a picture, then Ctrl+Alt+Z", [&] { QTest::keyClick(&f, Qt::Key_F12); },
         [&] { QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.send();
        ASSERT_TRUE(zvtest::waitUntil([&] { return sstv::g.SstvTxActive == 1 && sim->ptt; }));
        // A QSO handed over to the logging program's window: the end asks.
        logbook::g.HamlogLink = 2;
        core::g.HamlogEntrySent = 1;
        bool keyedAtTheQuestion = true;
        ui::script::whenAsked([&](const ui::Asked&) {
            keyedAtTheQuestion = sstv::g.SstvTxActive == 1 || rig::g.PttKeyedByCat == 1;
        });
        ui::script::clearAsked();
        ui::script::push(ui::No);
        c.end();
        ui::script::whenAsked(nullptr);
        logbook::g.HamlogLink = 0;
        core::g.HamlogEntrySent = 0;
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_FALSE(keyedAtTheQuestion);
        EXPECT_EQ(ends, 0);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(sstv::g.SstvTxActive, 0);
        EXPECT_EQ(colour::backColor(f.Command9), colour::kButtonFace);
        EXPECT_EQ(colour::backColor(f.Command14), colour::kButtonFace);
    }
    terminal::mainwindow::setProcessEndForTest({});
}

TEST_F(SstvSend, CwIdAndTheWindowTitleOnTheClipboard) {
    core::g.CwIdText = QStringLiteral("DE QQ1TST");
    SSTVForm& f = shown(0);
    QTest::mouseClick(f.Command10, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendCWID(\"DE QQ1TST\")")), 1);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0 && !eng().isTransmitting(); }));

    f.activateWindow();
    ASSERT_TRUE(zvtest::waitUntil([&] { return QApplication::activeWindow() == &f; }));
    ui::script::clearAsked();
    QTest::mouseClick(f.Command19, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), f.windowTitle());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked().first().prompt.startsWith(
        QStringLiteral("WindowTitle をクリップボードへCopyしました")));
}

TEST_F(SstvSend, TheBorderFrameReadsTheRigOnlyWithItsPortOpen) {
    sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
    zvtest::pointRigLinkAt(*sim);
    rig::g.RigPollMode = 1;
    SSTVForm& f = shown();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    const int before = sim->readingsAnswered;
    QTest::mouseClick(f.Frame13, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(zvtest::waitUntil([&] { return sim->readingsAnswered > before; }));

    rig::RigClosePort();
    QTest::mouseClick(f.Frame13, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(rig::g.RigPortOpen, 0);
}

TEST_F(SstvSend, ANewOperatorComposesSendsAndSavesAPicture) {
    SSTVForm& f = shownKeyedByCat();
    loadBackground(pictureFile(QStringLiteral("pics/sky.jpg"), QSize(640, 480), QColor(60, 120, 200)));
    ASSERT_TRUE(receive(sstveng::Scottie1));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.ToB4TxPic));
    QTest::mouseClick(f.Option4[15], Qt::LeftButton);
    zvtest::moveMouseTo(f.Picture8, QPointF(225, 183));
    drag(f.Picture8, QPointF(225, 183), QPointF(245, 183));
    EXPECT_EQ(f.Picture11->size(), QSize(180, 144));
    clickTab(2);
    QTest::mouseClick(f.Check6, Qt::LeftButton, {}, QPoint(6, f.Check6->height() / 2));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("QQ1TST"));

    ASSERT_TRUE(chooseMode(sstveng::Robot36));
    clickTab(1);
    EXPECT_TRUE(f.Line2->isVisible()) << "the 240-line marker";
    clickTab(0);
    EXPECT_EQ(at(f.Picture3, 0, 0), QColor(155, 255, 255));
    EXPECT_TRUE(near(at(f.Picture3, 57, 47), QColor(255, 255, 0), 2));
    EXPECT_TRUE(near(at(f.Picture3, 300, 200), QColor(60, 120, 200)));

    eng().hooks().lineIntervalMs = 5;
    QTest::keyClick(&f, Qt::Key_F12);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSendPic(3)")), 1);
    ASSERT_TRUE(zvtest::waitUntil([&] { return sim->ptt; }));
    ASSERT_TRUE(zvtest::waitUntil([&] { return f.Line1->x1() == 50 && f.Line1->y1() > 100; }))
        << "the marker runs down the lines sent";
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->ptt; }));
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.RxPreviewDib), 300, 200), QColor(60, 120, 200)))
        << "the preview echoes the picture";

    ui::script::push(path(QStringLiteral("pics/sent")));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture3, f.Savefile));
    QTest::mouseClick(f.Command18, Qt::LeftButton);
    loadBackground(path(QStringLiteral("pics/sent.bmp")));
    EXPECT_TRUE(near(at(f.Picture8, 300, 200), QColor(60, 120, 200)));
    EXPECT_TRUE(near(at(f.Picture8, 57, 47), QColor(255, 255, 0), 2));
    EXPECT_EQ(at(f.Picture8, 0, 0), QColor(155, 255, 255));
}

} // namespace

namespace {

// The transmit tab, a send and the message refusing a mode change meanwhile
// leave the window at its size: the message lies over the window at its place.
TEST_F(SstvSend, TheWindowKeepsItsSizeThroughSendingAndItsMessages) {
    SSTVForm& f = shown();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    const QSize size = f.size();
    clickTab(0);
    QTest::mouseClick(f.Command9, Qt::LeftButton);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(f.size(), size);

    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    ASSERT_TRUE(f.Text3->isVisible());
    EXPECT_EQ(f.Text3->text(), QStringLiteral("送信中は変更できません"));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(f.size(), size);
    EXPECT_EQ(f.Text3->pos(), QPoint(368, 146));
    EXPECT_TRUE(f.rect().contains(f.Text3->geometry()));
    EXPECT_GE(f.Text3->width(), f.Text3->fontMetrics().horizontalAdvance(f.Text3->text()));
    QTest::keyClick(&f, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
}

} // namespace
