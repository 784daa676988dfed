// The title bar of the transmit picture: its gradient band and its text,
// switched on and off by the check box and the menu item as one switch.
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTitles.h"

#include <QAction>

namespace {
const QString kGen = QStringLiteral("SSTV_Gen");
} // namespace

void SSTVForm::DrawGradient(PictureBox* Hdc) {
    if (!Hdc) return;
    Hdc->ensureCanvas();
    const sstv::Globals& s = sstv::g;
    sstv::PaintGradient(Hdc->canvas(), s.GradRed, s.GradGreen, s.GradBlue, s.GradChannel);
    Hdc->update();
}

// Both ways of switching end here, so the box and the menu item always agree.
void SSTVForm::titleBarShown(bool on) {
    sstv::Globals& s = sstv::g;
    Check6->setChecked(on);
    TB_ON->setChecked(on);
    if (on) {
        s.SstvTitleBarText = sstv::TitleStr();
        Label4->setText(sstv::TitleBarShown(s.SstvTitleBarText));
        Label4->adjustSize();
        s.SstvTitleBarOn = QStringLiteral("1");
        Picture14->show();
        Label4->show();
        DrawGradient(Picture14);
    } else {
        s.SstvTitleBarOn = QStringLiteral("0");
        Label4->hide();
        Picture14->hide();
    }
    core::PutIniText(kGen, "TitleBar", s.SstvTitleBarOn);
}

void SSTVForm::Check6_Click() {
    titleBarShown(Check6->isChecked());
}

void SSTVForm::TB_ON_Click() {
    titleBarShown(TB_ON->isChecked());
}

namespace sstv {

bool MayCloseTitleEditor() {
    if (!forms::isLoaded<::mojiinput>() || g.TitleBarEditing != 1) return true;
    ::mojiinput& editor = forms::mojiinput();
    const QString typed = editor.Text1->text();
    if (core::IniUncarried(typed).isEmpty()) return true;
    editor.show();
    editor.raise();
    // Which characters hold the text back is said on its box first.
    core::IniHolds(typed, editor.Frame1->title());
    if (ui::msgBox(QStringLiteral("入力したタイトル文字を破棄して続けますか？"),
                   ui::YesNo | ui::Exclamation | ui::DefaultButton2) != ui::Yes) {
        editor.activateWindow();
        editor.Text1->setFocus();
        return false;
    }
    // Dropped on the operator's word: the bar shows the stored text again and
    // the editor goes without storing.
    editor.Text1->setText(TitleStr());
    g.TitleBarEditing = 0;
    return true;
}

} // namespace sstv
