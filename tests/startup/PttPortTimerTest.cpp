// The version window's one-shot timer that hands the PTT port to the PSK core library.
#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/pskcore/PskCore.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"

#include <QSignalSpy>

namespace {

using core::g;

class PttPortTimer : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override { ProgramFolderTest::SetUp(); }
    void TearDown() override { ProgramFolderTest::TearDown(); }
    QStringList portCalls() const {
        QStringList out;
        for (const pskcore::LibCall& c : pskcore::lib().calls())
            if (c.name == QLatin1String("fnSetComPort")) out << c.text();
        return out;
    }
    // Loads the version window and waits for the timer's tick; the tick stops
    // the timer, so no second one can follow.
    void fire() {
        AboutZORVATEK& about = forms::AboutZORVATEK();
        QSignalSpy ticks(about.Timer6, &QTimer::timeout);
        ASSERT_TRUE(ticks.wait(zvtest::kSafetyNetMsecs));
        EXPECT_FALSE(about.Timer6->isActive());
    }
};

TEST_F(PttPortTimer, PortResultsAndMessages) {
    struct Case {
        const char* port;
        const char* control;
        int result;
        QStringList calls;
        QString message;
    } cases[] = {
        {"3", "1", 0, {"fnSetComPort(3, 1)"}, QStringLiteral("COMport Can Not Open Port=3が使えません。TM6")},
        {"3", "1", 1, {"fnSetComPort(3, 1)"}, {}},
        {"3", "0", 0, {"fnSetComPort(3, 0)"}, {}},
        {"PSKCFG", "PSKCFG", 0, {"fnSetComPort(0, 0)"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + std::string("/") + c.control);
        forms::unload<AboutZORVATEK>();
        renewContext();
        pskcore::lib().hooks().comPortResult = c.result;
        ui::script::clearAsked();
        g.OpMode = core::ModeBpsk;
        g.PttPortNumber = QString::fromLatin1(c.port);
        g.PttPortControl = QString::fromLatin1(c.control);
        fire();
        EXPECT_EQ(portCalls(), c.calls) << "exactly once";
        QStringList prompts;
        for (const ui::Asked& a : ui::script::asked())
            prompts << a.prompt;
        EXPECT_EQ(prompts, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST_F(PttPortTimer, OtherEnginesKeepTheirPort) {
    for (int mode : {core::ModeRtty, core::ModeMmvari, core::ModeSstv}) {
        forms::unload<AboutZORVATEK>();
        g.OpMode = mode;
        g.PttPortNumber = QStringLiteral("3");
        g.PttPortControl = QStringLiteral("1");
        fire();
        EXPECT_TRUE(portCalls().isEmpty()) << mode;
    }
}

} // namespace
