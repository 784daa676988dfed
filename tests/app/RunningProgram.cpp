#include "app/RunningProgram.h"

#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "platform/os/ProcessStop.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "settings/dialogs/CFG_Contest.h"
#include "settings/dialogs/CFG_MMTTY.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/CLKadj.h"
#include "settings/dialogs/SoundClkADJ.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/ClusterData.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "startup/Startup.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/rxtext/RCVDAT.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

namespace apptest {

void RunningProgram::SetUp() {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(plugBack());
    QString log;
    if (atStart.log != LogLink::None) {
        ASSERT_TRUE(hamlog::demo::writeDemoSetup(path(QStringLiteral("HAMLOG"))));
        log = QStringLiteral("[HamLog]\nHAMLOGtype=%1\nHAMLOGPOS=%2\nHAMLOGexePOS=%3\n")
                  .arg(atStart.log == LogLink::Window ? 2 : 1)
                  .arg(path(QStringLiteral("HAMLOG.HDB")), QStringLiteral(ZV_PROGRAM_DIR "/HAMLOGW.EXE"));
    }
    writeIni(QStringLiteral("[PSKCFG]\nUSERCALL=JA1ZVK\nAudio_Center_Freq=1500\nCOMCONT=0\n"
                            "[RIG_CON_CFG]\nRIGCOMCONT=%1\nRIG_TYPE=%2\nVFOCHECK=%3\nBAUD_RATE=%4\n"
                            "ICOM_RIGadrs=58\nINETCHECK=YES\n%5")
                 .arg(rigName(), atStart.family, atStart.vfoCheck, atStart.baud, log));
    startup::StartUp();
    // Wide: the suite runs beside others on a loaded machine.
    ASSERT_TRUE(zvtest::waitUntil([] { return forms::PSK31MAIN().isVisible(); }, 60000));
    ASSERT_TRUE(zvtest::waitExposed(&forms::PSK31MAIN()));
}

void RunningProgram::TearDown() {
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    // The logging program the window link started ends with the test.
    if (logbook::g.HamlogProcessId > 0) process::stop(logbook::g.HamlogProcessId, 3000);
    ProgramFolderTest::TearDown();
    rig_.reset();
}

// Named by the process, as the serial port's lock is named by the name alone.
QString RunningProgram::rigName() const {
    return path(QStringLiteral("rig%1").arg(QCoreApplication::applicationPid()));
}

// Unplugged, its name goes with it, so that no other line is taken for it.
void RunningProgram::unplug() {
    QFile::remove(rigName());
    rig_.reset();
}

bool RunningProgram::plugBack(bool keyed) {
    unplug();
    rig_ = std::make_unique<zvtest::RigSimulator>(atStart.family, 0x58);
    rig_->ptt = keyed;
    return rig_->isOpen() && QFile::link(rig_->devicePath(), rigName());
}

namespace {

template <class W> ProgramWindow shown(const char* name, W& (*touch)(), bool sstv = false) {
    return {name, sstv, [touch]() -> QWidget& {
                W& w = touch();
                w.show();
                return w;
            }};
}

} // namespace

const std::vector<ProgramWindow>& everyWindow() {
    static const std::vector<ProgramWindow> windows{
        shown("main window", &forms::PSK31MAIN),
        shown("macro editor", &forms::MACRO_FORM),
        shown("multi-channel window", &forms::multi_ch),
        shown("memo and received text", &forms::RCVDAT),
        shown("log entry", &forms::TEMP_LOG),
        shown("earlier QSOs", &forms::QSODATA),
        shown("area codes", &forms::CODE_LIST),
        shown("log viewer", &forms::LOGDATAVIEW),
        shown("settings sheet", &forms::CFGSHEET),
        shown("contest settings", &forms::CFG_Contest),
        shown("RTTY settings", &forms::CFG_MMTTY),
        shown("multi-mode settings", &forms::CFG_MMVARI),
        shown("recording", &forms::CFG_RecPlay),
        shown("clock correction", &forms::CLKadj),
        shown("DX spots", &forms::ClusterData),
        shown("version", &forms::AboutZORVATEK),
        shown("SSTV window", &forms::SSTVForm, true),
        shown("SSTV macros", &forms::SSTVMACRO, true),
        shown("SSTV title lines", &forms::mojiinput, true),
        shown("picture library", &forms::PiclibForm, true),
        shown("enlarged picture", &forms::Bigviewer, true),
        shown("SSTV clock correction", &forms::SoundClkADJ, true),
    };
    return windows;
}

bool toSstv() {
    PSK31MAIN& w = forms::PSK31MAIN();
    return zvtest::chooseMenuItem(w.PSKMODE[5]) &&
           zvtest::waitUntil([] { return forms::isLoaded<SSTVForm>() && forms::SSTVForm().isVisible(); });
}

QList<QWidget*> editableBoxes(QWidget* window) {
    QList<QWidget*> boxes;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // A window it opened (a settings window, the macro editor) is a window
        // of its own: a key given to one of its boxes is no key of this one.
        if (!w->isVisible() || !w->isEnabled() || w->window() != window) continue;
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            // A list's or a spin box's own line is reached through the list or the box.
            if (!line->isReadOnly() && !qobject_cast<QComboBox*>(w->parent()) &&
                !qobject_cast<QAbstractSpinBox*>(w->parent()))
                boxes << w;
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            boxes << plain;
        } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
            boxes << rich;
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            if (list->isEditable()) boxes << list;
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            if (!spin->isReadOnly()) boxes << spin;
        }
    }
    return boxes;
}

} // namespace apptest
