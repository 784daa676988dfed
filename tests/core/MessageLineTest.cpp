// The message line and its timer on the version window.
#include "core/MessageLine.h"
#include "core/Globals.h"
#include "platform/pskcore/PskCore.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

using core::g;

class MessageLine : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        writeIni("[PSKCFG]\nAudio_Center_Freq=1500\n");
    }
};

TEST_F(MessageLine, ShowsTheTextAndHidesItWhenTheTimerEnds) {
    PSK31MAIN& main = forms::PSK31MAIN();
    main.Text12->show();
    g.StatusMessage = QStringLiteral("CallSign 不備です");
    core::ShowTimedMessage(g.StatusMessage, 80);
    EXPECT_FALSE(main.Text3->isHidden());
    EXPECT_EQ(main.Text3->text(), QStringLiteral("CallSign 不備です"));
    QTimer* timer = forms::AboutZORVATEK().Timer3;
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 80);

    ASSERT_TRUE(zvtest::waitUntil([&] { return main.Text3->isHidden(); }));
    EXPECT_EQ(main.Text3->text(), QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。"));
    EXPECT_TRUE(main.Text12->isHidden());
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(g.StatusMessage.isEmpty());
}

TEST_F(MessageLine, ASecondMessageReplacesTheFirstAndRestartsTheTime) {
    PSK31MAIN& main = forms::PSK31MAIN();
    QSignalSpy ends(forms::AboutZORVATEK().Timer3, &QTimer::timeout);
    QElapsedTimer clock;
    clock.start();
    core::ShowTimedMessage(QStringLiteral("first"), 150);
    core::ShowTimedMessage(QStringLiteral("second"), 300);
    EXPECT_EQ(main.Text3->text(), QStringLiteral("second"));
    ASSERT_TRUE(zvtest::waitUntil([&] { return main.Text3->isHidden(); }));
    EXPECT_GE(clock.elapsed(), 250) << "the first message's time must not end the second";
    EXPECT_EQ(ends.size(), 1) << "one end, for the second message";
}

TEST_F(MessageLine, InSstvModeOnlyTheSstvBoxIsUsed) {
    // The PSK library's display tick shows and hides Text12 by itself; it keeps still here.
    pskcore::lib().hooks().displayIntervalMs = 1'000'000;
    PSK31MAIN& main = forms::PSK31MAIN();
    main.Text3->setText(QStringLiteral("left alone"));
    main.Text3->show();
    main.Text12->show();
    g.OpMode = core::ModeSstv;
    core::ShowTimedMessage(QStringLiteral("SSTV"), 50);
    SSTVForm& sstv = forms::SSTVForm();
    EXPECT_EQ(sstv.Text3->text(), QStringLiteral("SSTV"));
    EXPECT_FALSE(sstv.Text3->isHidden());
    ASSERT_TRUE(zvtest::waitUntil([&] { return sstv.Text3->isHidden(); }));
    EXPECT_FALSE(main.Text3->isHidden());
    EXPECT_EQ(main.Text3->text(), QStringLiteral("left alone"));
    EXPECT_FALSE(main.Text12->isHidden());
}

TEST_F(MessageLine, VersionWindowHidesOnOkAndCloseAndKeepsItsTimers) {
    AboutZORVATEK& about = forms::AboutZORVATEK();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Version"));
    EXPECT_EQ(about.Timer6->interval(), 300);
    EXPECT_EQ(about.Label6->text(), QStringLiteral("4.93β"));
    about.show();
    EXPECT_EQ(about.Label18->text(), QStringLiteral("0"));
    QTest::mouseClick(about.Command1, Qt::LeftButton);
    EXPECT_TRUE(about.isHidden());
    about.show();
    about.close();
    EXPECT_TRUE(about.isHidden());
    EXPECT_TRUE(forms::isLoaded<AboutZORVATEK>());
}

TEST_F(MessageLine, PttPortTimerFiresOnceAfterTheLoad) {
    AboutZORVATEK& about = forms::AboutZORVATEK();
    EXPECT_TRUE(about.Timer6->isActive());
    EXPECT_EQ(about.Timer6->interval(), 300);
    ASSERT_TRUE(zvtest::waitUntil([&] { return !about.Timer6->isActive(); }));
}

} // namespace
