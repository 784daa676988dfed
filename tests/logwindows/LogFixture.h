#pragma once
// A program folder with a log of the logging library and the library link on;
// the main window loaded from minimal settings.
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Clock.h"
#include "rig/RigGlobals.h"
#include "support/Contest.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QScrollBar>
#include <QTest>

namespace zvtest {

class LogTest : public ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        zvtest::freshRigGlobals();
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
        ASSERT_TRUE(hamlog::createLog(dataPath()));
        logbook::Globals& g = logbook::g;
        g.HamlogLink = 1;
        g.HamlogPath = dataPath() + QStringLiteral(".HDB");
        g.HamlogDataPath = dataPath();
        g.HamlogConfirmText = QStringLiteral("NO");
        g.QslMark = QStringLiteral("J");
        // The main window's load reads its own settings and loads the log entry
        // window; the entry under test starts from a fresh load.
        forms::PSK31MAIN();
        core::g.ModeDisplayText = QStringLiteral("BPSK");
        core::g.LogTimeUtc = 0;
        forms::unload<TEMP_LOG>();
    }
    void TearDown() override {
        hamlog::HamlogClose(logbook::g.HamlogHandle, 0);
        ProgramFolderTest::TearDown();
    }

    QString dataPath() const { return path(QStringLiteral("HAMLOG")); }

    // Fills the log with numbered QSOs: QQ1AA<n>, name NAME<n>.
    void fillLog(int count) {
        std::vector<hamlog::QsoRecord> records;
        for (int i = 1; i <= count; ++i) {
            hamlog::QsoRecord r;
            r.CALL = QStringLiteral("QQ1AA%1").arg(i);
            r.DATE = QStringLiteral("24-01-15");
            r.TIME = QStringLiteral("12:00J");
            r.FREQ = QStringLiteral("7");
            r.NAME = QStringLiteral("NAME%1").arg(i);
            r.QSL = QStringLiteral("J *");
            records.push_back(r);
        }
        ASSERT_TRUE(hamlog::appendRecords(dataPath(), records));
    }

    // The stored record, as the logging library gives it back.
    hamlog::QsoRecord stored(int recNo) {
        hamlog::HamlogHandle h;
        hamlog::QsoRecord r;
        if (hamlog::HamlogOpen(0, h, dataPath(), 0) != hamlog::Done) return r;
        if (hamlog::THW_read(h, recNo, 3) == hamlog::Done)
            for (const hamlog::FieldSpec& f : hamlog::kFields)
                hamlog::ThwString(*r.field(f.no), h, f.no);
        hamlog::HamlogClose(h, 0);
        return r;
    }
    int logCount() {
        hamlog::HamlogHandle h;
        if (hamlog::HamlogOpen(0, h, dataPath(), 0) != hamlog::Done) return -1;
        const int n = hamlog::Vdbf_rcount(h);
        hamlog::HamlogClose(h, 0);
        return n;
    }

    static void setJst(const QString& jst) {
        const QDateTime t = QDateTime::fromString(jst, QStringLiteral("yyyy-MM-dd HH:mm"));
        sysclock::setUtcForTest(sysclock::jstToUtc(t));
    }

    // The main window's QSO boxes, then the log button.
    TEMP_LOG& openFromMain(const QString& call, const QString& name = {},
                           const QString& rst = QStringLiteral("599")) {
        PSK31MAIN& m = forms::PSK31MAIN();
        zvtest::setBoxText(m.Text5, call);
        QTest::keyClick(m.Text5, Qt::Key_Return); // the call typed is the station's
        zvtest::setBoxText(m.Text6, name);
        zvtest::setBoxText(m.Text7, rst);
        ui::script::clearAsked();
        QTest::mouseClick(m.Command5, Qt::LeftButton);
        return forms::TEMP_LOG();
    }

    // A contest begun as the operator begins one: the main window's contest
    // item, the serial number and the fixed report ticked or not in its
    // dialog, then "参戦". A box of the dialog opens unticked whatever its flag
    // holds, so only a first contest of the run can leave one unticked.
    static PSK31MAIN& startContest(bool serialNumbers, bool fixedReport) {
        PSK31MAIN& m = forms::PSK31MAIN();
        EXPECT_TRUE(beginContest(m.CONON, serialNumbers, fixedReport));
        EXPECT_EQ(m.Text11->isVisible(), serialNumbers);
        return m;
    }
    // A click on the serial bar's top arrow, which raises the number.
    static void raiseSerial(PSK31MAIN& m) {
        QTest::mouseClick(m.VScroll4, Qt::LeftButton, {}, QPoint(m.VScroll4->width() / 2, 3));
    }

    static void pressF1() { QTest::keyClick(forms::TEMP_LOG().Text1, Qt::Key_F1); }

    static QStringList askedPrompts() {
        QStringList prompts;
        for (const ui::Asked& a : ui::script::asked())
            prompts << a.prompt;
        return prompts;
    }
};

} // namespace zvtest
