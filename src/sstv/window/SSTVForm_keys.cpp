// The SSTV window's keys (it sees them before the focused control) and its
// mode menus.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/waits/Waits.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/ModeChange.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <exception>

namespace {

// Ctrl+C and Ctrl+V belong to a text box that has the focus; the window's
// picture keys act only when none has.
bool textBoxHasFocus() {
    QWidget* w = QApplication::focusWidget();
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w);
}

// The picture is rendered afresh even when the transmit tab already shows; an
// Esc taken while it was drawn ends this F12 too.
void pressF12(SSTVForm& f) {
    forms::EventsRunScope drawing(forms::EventsRunScope::Start);
    if (f.SSTab2->currentIndex() == 0)
        f.SSTab2_Click();
    else
        f.SSTab2->setCurrentIndex(0);
    forms::letEventsRun();
    if (drawing.finish()) f.Command9->click();
}

// The keys the window acts on; true when the key was one of them.
bool windowKey(SSTVForm& f, const QKeyEvent& e) {
    if (core::g.ShortcutRegistering == 1) return false;
    const Qt::KeyboardModifiers mods =
        e.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (e.key()) {
    case Qt::Key_F12: {
        if (sstv::g.SstvTxActive == 0 && !forms::mayActNow(forms::Request::Start, [] {
                if (forms::isLoaded<SSTVForm>()) pressF12(forms::SSTVForm());
            }))
            return true;
        pressF12(f);
        return true;
    }
    case Qt::Key_Escape: {
        const terminal::engines::TransmissionStop stop;
        f.stopSending();
        rig::RigPttOffForEsc();
        f.Text1->setFocus();
        return true;
    }
    case Qt::Key_C: {
        if (mods != Qt::ControlModifier || textBoxHasFocus()) return false;
        clipboard::empty();
        const QString tab = f.SSTab1->tabText(f.SSTab1->currentIndex());
        if (tab.contains(QStringLiteral("受信")))
            sstveng::lib().mmsCopyDIB(sstv::g.dib.RxDib);
        else if (tab.contains(QStringLiteral("履歴")))
            sstveng::lib().mmsCopyDIB(sstv::g.dib.HistoryDib);
        return true;
    }
    case Qt::Key_V:
        if (mods != Qt::ControlModifier || textBoxHasFocus()) return false;
        f.PasteOntoCanvas();
        return true;
    case Qt::Key_Z:
        if (mods != (Qt::ControlModifier | Qt::AltModifier)) return false;
        f.pEnd_Click();
        return true;
    default:
        return false;
    }
}

void showSstvTicked() {
    if (!forms::isLoaded<SSTVForm>()) return;
    SSTVForm& f = forms::SSTVForm();
    for (int i = 0; i < 6; ++i)
        f.PSKMODE[std::size_t(i)]->setChecked(i == core::g.OpMode);
}

} // namespace

void SSTVForm::keyPressEvent(QKeyEvent* e) {
    if (!windowKey(*this, *e)) QWidget::keyPressEvent(e);
}

bool SSTVForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && windowKey(*this, *static_cast<QKeyEvent*>(e))) return true;
    if (qsoEvent(watched, e)) return true;
    if (watched == Picture9 && e->type() == QEvent::MouseButtonDblClick) {
        Picture9_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

// The window may be gone after the change; nothing of it is touched then. A
// choice taken while something waits is made once the wait is over.
void SSTVForm::changeFromHere(int Index) {
    if (!forms::mayActNow(forms::Request::ModeChange, [Index] {
            if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().changeFromHere(Index);
        }))
        return showSstvTicked();
    if (terminal::engines::RefusedWhileSending()) return showSstvTicked();
    try {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        terminal::engines::ChangeMode(Index);
        core::PutIniText(QStringLiteral("PSKCFG"), "LastMode", core::g.LastModeText);
    } catch (const std::exception& e) {
        qWarning("mode change from SSTV: %s", e.what());
        ui::msgBox(QStringLiteral("Mode Change Error!"), ui::OkOnly);
        // A failure half way through this window's unload leaves it out of the
        // registry: it makes way for a fresh window.
        if (!forms::isLoaded<SSTVForm>() || &forms::SSTVForm() != this) {
            hide();
            forms::destroyLater(this);
        }
        forms::SSTVForm().show();
    }
    if (!forms::isLoaded<SSTVForm>()) return;
    showSstvTicked();
    // No change was made: the window keeps its rig port, still part of the change.
    const forms::EventsRunScope underWay(forms::EventsRunScope::ModeChange);
    if (rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPortOpen == 0) rig::RigOpenPort();
}

void SSTVForm::PSKMODE_Click(int Index) {
    changeFromHere(Index);
}

void SSTVForm::mmvMODE_Click(int Index) {
    changeFromHere(Index);
}
