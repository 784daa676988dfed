// The small controls of the transmit side: the tune tone, the CW ID and the
// copy of the window title.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Cp932.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigCommands.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"

#include <QGuiApplication>

namespace {

constexpr int RightButton = 2;
constexpr std::uint32_t LightGreen = 0xDFFFDF;
const QString kGen = QStringLiteral("SSTV_Gen");
const QString kToneKey = QStringLiteral("ToneFreq");
const QString kDefaultTone = QStringLiteral("1750");

} // namespace

void SSTVForm::Command14_MouseUp(int Button) {
    ToneFreqText = core::IniStored(kGen, kToneKey).value_or(kDefaultTone);
    if (Button == RightButton) {
        const auto answer =
            ui::inputBox(QStringLiteral("TONE 周波数を指定します\r\n　範囲は 500Hzから2300Hz迄です。"),
                         QStringLiteral("TONE 周波数指定"), ToneFreqText);
        if (!answer || answer->trimmed().isEmpty()) return;
        if (const auto hz = sstv::ToneHz(*answer)) {
            ToneFreqText = QString::number(*hz);
        } else {
            ui::msgBox(QStringLiteral("周波数不正　1750Hz とします。"), ui::OkOnly);
            ToneFreqText = kDefaultTone;
        }
        core::PutIniText(kGen, "ToneFreq", ToneFreqText);
        return;
    }
    sstveng::SstvEngine& e = sstveng::lib();
    if (ToneOn == 0) {
        ToneOn = 1;
        // A stored value that is not a tune frequency sends the default one.
        e.mmsSendTone(sstv::ToneHz(ToneFreqText).value_or(kDefaultTone.toInt()));
        colour::setBackColor(Command14, LightGreen);
    } else {
        ToneOn = 0;
        e.mmsSendStop();
        colour::setBackColor(Command14, colour::kButtonFace);
    }
    focusBack();
}

void SSTVForm::stopSending() {
    forms::takeStop();
    sstveng::lib().mmsSendStop();
    Picture10->setScale(Picture10->scaleWidth(), sstv::g.RxImageHeight);
    colour::setBackColor(Command9, colour::kButtonFace);
    ToneOn = 0;
    colour::setBackColor(Command14, colour::kButtonFace);
    // Not left to the engine's end notice: a question may wait meanwhile.
    if (sstv::g.SstvTxActive == 1) {
        rig::RigPttOff();
        sstv::g.SstvTxActive = 0;
    }
}

void SSTVForm::Command10_Click() {
    sstveng::lib().mmsSendCWID(cp932::encode(core::g.CwIdText));
    focusBack();
}

void SSTVForm::Command19_Click() {
    clipboard::hold(sstv::GetForegroundTitle());
    ui::msgBox(
        QStringLiteral("WindowTitle をクリップボードへCopyしました\r\n"
                       "SSTVエディタの「Copy/PasteコマンドのあるSSTVのウィンドウ」へ貼り付けられます。\r\n"
                       "制御コマンドは　Copyは「^C」　Pasteは「^V」です"),
        ui::OkOnly);
}
