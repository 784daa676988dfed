// The main window's keys: one handler sees every key stroke before the focused
// control, so that the shortcuts work wherever the caret is.
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/LogButton.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/MacroSend.h"
#include "terminal/macros/MacroState.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/panels/MmvariPanel.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/receive/QsoClear.h"
#include "terminal/rxtext/RxTextFiles.h"
#include "terminal/transmit/TxControl.h"
#include "terminal/transmit/TxWiring.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

constexpr int kVkEscape = 27;
constexpr int kVkPageUp = 33;
constexpr int kVkPageDown = 34;
constexpr int kVkF1 = 112;
constexpr int kVkF9 = 120;
constexpr int kVkF12 = 123;

// Keys of the window's own functions: whatever the modifiers, none of them
// ever sends a macro by its shortcut letter.
constexpr int kFixedKeys[] = {'Z', kVkPageUp, kVkPageDown, 'P', 'W',       'R',   'M',
                              'L', 'C',       'X',         'T', kVkEscape, kVkF12};

bool fixedKey(int keyCode) {
    return std::find(std::begin(kFixedKeys), std::end(kFixedKeys), keyCode) != std::end(kFixedKeys) ||
           (keyCode >= kVkF1 && keyCode <= kVkF9);
}

// The virtual-key code of a key, -1 for keys no shortcut uses.
int virtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kVkF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_PageUp:
        return kVkPageUp;
    case Qt::Key_PageDown:
        return kVkPageDown;
    default:
        return -1;
    }
}

bool isLetterOrDigit(int keyCode) {
    return (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9');
}

int modifierMask(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? kShift : 0) | (m & Qt::ControlModifier ? kCtrl : 0) |
           (m & Qt::AltModifier ? kAlt : 0);
}

// Page Up: a still copy of the receive pane over it, showing its end, while
// reception goes on underneath.
void openScrollBack(PSK31MAIN& w) {
    w.RichTextBox4->hide();
    w.RichTextBox2->show();
    w.RichTextBox2->raise();
    w.RichTextBox2->clear();
    QTextCursor(w.RichTextBox2->document()).insertFragment(QTextDocumentFragment(w.RichTextBox1->document()));
    w.RichTextBox2->setSelStart(w.RichTextBox2->length());
    w.RichTextBox2->setSelText(QStringLiteral(" "));
}

void closeScrollBack(PSK31MAIN& w) {
    w.RichTextBox2->hide();
    w.Text1->setSelStart(w.Text1->length());
    w.Text1->setFocus();
    if (core::g.Transmitting == 1 && core::g.SatelliteMode == 1) w.RichTextBox4->show();
}

// Alt+T: the time stamp goes out with the transmission, or into the receive pane.
void timeStamp(PSK31MAIN& w) {
    terminal::receive::MakeTimeStamp();
    const QString stamp = QStringLiteral("\r\n") + core::g.TimeStampText + QStringLiteral("\r\n");
    if (core::g.Transmitting != 1) {
        w.RichTextBox1->setSelText(stamp);
        return;
    }
    w.Text1->setSelText(stamp);
    if (core::g.OpMode == core::ModeMmvari)
        w.MMVARI->invoke(mmvari::MethodSend, {stamp});
    else
        pskcore::lib().fnSendTXString(cp932::encode(stamp));
}

// Ctrl+P: BPSK and QPSK(USB) in turn; a running transmission goes on in the new mode.
void switchPskMode(PSK31MAIN& w) {
    if (core::g.OpMode < core::ModeBpsk || core::g.OpMode > core::ModeQpskLsb) return;
    if (terminal::engines::RefusedWhileRecording()) return;
    core::g.OpMode = core::g.OpMode == core::ModeBpsk ? core::ModeQpskUsb : core::ModeBpsk;
    w.StatusBar1->setText(2, core::g.OpMode == core::ModeBpsk ? QStringLiteral("BPSK")
                                                              : QStringLiteral("QPSK(USB)"));
    for (int k = 0; k < 3; ++k)
        w.PSKMODE[static_cast<std::size_t>(k)]->setChecked(k == core::g.OpMode);
    pskcore::lib().fnSetRXPSKMode(core::g.OpMode, 0);
    if (core::g.Transmitting == 1) pskcore::lib().fnStartTX(core::g.OpMode);
}

// Alt+R: the receive pane is kept in a file and emptied. A pane whose copy
// cannot be written stays as it is, so that nothing received is lost.
void saveAndClearReceivePane(PSK31MAIN& w) {
    w.ReceiveFolder = terminal::rxtext::receiveFolder();
    const QString path = paths::join(w.ReceiveFolder, QStringLiteral("NENNOTAMELOG_B4clr.TXT"));
    if (!files::replaceWhole(path, terminal::rxtext::fileBytes(w.RichTextBox1->fileText()))) {
        ui::msgBox(QStringLiteral("受信データを保存できませんでした。\r\n") + path,
                   ui::OkOnly | ui::Exclamation);
        return;
    }
    w.RichTextBox1->clear();
    std::uint32_t ref = 0;
    w.RichTextBox1->setSelColor(colour::parseRef(core::g.RxForeColor, &ref) ? colour::fromRef(ref)
                                                                            : QColor(Qt::black));
    w.Text1->setFocus();
}

// Ctrl+M: the extra channels, not in RTTY. The multi-mode control's start
// comes before the refusals.
void multiChannelKey() {
    const core::Globals& g = core::g;
    if (g.OpMode == core::ModeRtty) return;
    const bool mmvari = g.OpMode == core::ModeMmvari;
    if (mmvari) terminal::panels::StartMultiChannel();
    if (g.RecPlayState == 1)
        ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
    else if (g.Transmitting == 1)
        ui::msgBox(QStringLiteral("送信中は変更できません"), ui::OkOnly);
    else if (!mmvari)
        terminal::panels::StartMultiChannel();
}

// Esc stops everything: the repeat, the macro-button move mode, and the
// engine's transmission and the scan from whatever control has the focus.
void escape() {
    const terminal::engines::TransmissionStop stop;
    terminal::macros::mainCycle().escape();
    if (terminal::macros::g.MacroMoveMode == 1) terminal::macros::MACROMOV_Click();
    terminal::transmit::EscapeKey();
    rig::RigPttOffForEsc();
}

// F1 to F9 alone, with Shift, Ctrl or Ctrl+Shift: the four rows of nine macro buttons.
bool functionKeyMacro(int keyCode, int shift) {
    if (shift > (kShift | kCtrl)) return false;
    terminal::macros::SendMacro(keyCode - kVkF1 + 9 * shift);
    return true;
}

bool shortcutMacro(int keyCode, int shift) {
    const int i = terminal::macros::macroForShortcut(keyCode);
    if (i < 0 || shift != kAlt) return false;
    terminal::macros::SendMacro(i);
    return true;
}

// Passes each key of the main window to its handler once, before the focused
// control; a key the control passes on reaches every parent again, and is not
// handled again there.
// The one key handler of the main window: it sees every key of the window's
// controls first (Form_KeyDown), then hands what it lets pass to the control's
// own key handling. A key that a control ignores and that travels on to its
// parent is not handled twice.
class KeyPreview : public forms::WindowFilter {
  public:
    explicit KeyPreview(PSK31MAIN& w) : WindowFilter(&w), w_(w) { watchApplication(); }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) seen_ = nullptr;
        if (e->type() != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &w_) return false;
        if (e == seen_ && seenBy_ && widget != seenBy_ && widget->isAncestorOf(seenBy_)) return false;
        seen_ = e;
        seenBy_ = widget;
        auto* k = static_cast<QKeyEvent*>(e);
        const int keyCode = virtualKey(k->key());
        const int shift = modifierMask(k->modifiers());
        if (keyCode >= 0 && w_.Form_KeyDown(keyCode, shift)) return true;
        // A letter or digit with Alt is a shortcut or nothing: it never types
        // into a box what did not go on the air.
        if ((shift & kAlt) != 0 && isLetterOrDigit(keyCode)) return true;
        return terminal::transmit::controlKey(w_, watched, k);
    }

  private:
    PSK31MAIN& w_;
    const QEvent* seen_ = nullptr;
    QPointer<QWidget> seenBy_;
};

} // namespace

bool PSK31MAIN::Form_KeyDown(int KeyCode, int Shift) {
    if (core::g.ShortcutRegistering == 1) return false;
    switch (KeyCode) {
    case 'Z':
        if (Shift != (kCtrl | kAlt)) return false;
        terminal::engines::EmergencyExit();
        return true;
    case kVkPageUp:
        openScrollBack(*this);
        return false;
    case kVkPageDown:
        closeScrollBack(*this);
        return false;
    case 'P':
        if (Shift != kCtrl) return false;
        switchPskMode(*this);
        return true;
    case 'W':
        if (Shift != kCtrl) return false;
        SwitchWaterfallSpectrum();
        return true;
    case 'R':
        if (Shift != kAlt) return false;
        saveAndClearReceivePane(*this);
        return true;
    case 'M':
        if (Shift != kCtrl) return false;
        multiChannelKey();
        return true;
    case 'L':
        if (Shift != kCtrl) return false;
        logwindows::LogKeyPress([this] { VScroll4->setValue(VScroll4->value() + 1); });
        return true;
    case 'C':
        if (Shift != kCtrl) return false;
        terminal::receive::NewQso(*this, terminal::receive::From::CtrlC);
        // The focused box still copies its selection.
        return false;
    case 'X':
        if (Shift != kAlt) return false;
        terminal::transmit::AbortKey();
        return true;
    case 'T':
        if (Shift != kAlt) return false;
        timeStamp(*this);
        return true;
    case kVkEscape:
        // The focused control takes its Esc as well.
        escape();
        return false;
    case kVkF12:
        terminal::transmit::StartTx();
        return true;
    default:
        break;
    }
    if (KeyCode >= kVkF1 && KeyCode <= kVkF9) return functionKeyMacro(KeyCode, Shift);
    if (fixedKey(KeyCode)) return false;
    return shortcutMacro(KeyCode, Shift);
}

void PSK31MAIN::connectKeys() {
    new KeyPreview(*this);
    // The edit menu's item names Alt+R and does what the key does.
    connect(RXBC, &QAction::triggered, this, [this] { saveAndClearReceivePane(*this); });
}
