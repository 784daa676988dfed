#pragma once
// The SSTV window in a temporary program folder, its engine paced so that a
// picture arrives in a moment and the station sends only when a test asks.
#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/sstvengine/SstvEngine.h"
#include "platform/sstvengine/SstvModes.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "support/ProgramFolder.h"

#include <QFile>
#include <QImage>

namespace zvtest {

class SstvWindowTest : public ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ui::script::begin();
        paceEngine();
        core::g.OpMode = core::ModeSstv;
        core::g.UserCall = QStringLiteral("QQ1TST");
        core::g.PttPortControl = QStringLiteral("1");
        core::g.PttPortNumber = QStringLiteral("0");
    }
    void TearDown() override {
        forms::unloadAllExcept();
        ui::script::end();
        ProgramFolderTest::TearDown();
    }

    static sstveng::SstvEngine& eng() { return sstveng::lib(); }
    // Lines come at once, a new picture only when a test starts one.
    static void paceEngine() {
        eng().hooks().lineIntervalMs = 1;
        eng().hooks().pictureIntervalMs = 100'000'000;
    }
    // The SSTV window unloaded and loaded anew with fresh engines, as at a
    // restart of the program.
    SSTVForm& restartWindow() {
        forms::unload<SSTVForm>();
        renewContext();
        paceEngine();
        return window();
    }
    SSTVForm& window() {
        SSTVForm& f = forms::SSTVForm();
        if (!f.isVisible()) f.show();
        return f;
    }
    // The station sends a picture in the mode; true once its end has been handled.
    bool receive(int mode) {
        window();
        const int before = sstv::g.HistoryIndex;
        eng().startStationPicture(mode);
        return waitUntil([&] { return !eng().isReceiving(); }) && waitForPostedEvents() &&
               sstv::g.HistoryIndex != before;
    }
    QString historyFile(int n) const {
        return sstv::g.HistoryFolder + QStringLiteral("Hist_%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
    }
    int callsOf(const QString& text) const { return int(eng().callTexts().count(text)); }
};

} // namespace zvtest
