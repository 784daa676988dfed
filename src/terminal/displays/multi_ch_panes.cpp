// What each channel of the multi-channel window does: its mode from its panel,
// the swap with the main channel, clearing its pane, a word taken from its text
// into the main window's QSO boxes, and the pop-up on a selection.
#include "core/Blanks.h"
#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/MultiChModes.h"
#include "terminal/displays/MultiChPos.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/rxtext/ReceiveTextItems.h"

#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace terminal::displays;

namespace {

bool pskModes() {
    return core::g.OpMode != core::ModeMmvari;
}

QString clipText() {
    return core::TrimBlanks(clipboard::text());
}

void focusTransmitBox() {
    forms::PSK31MAIN().Text1->setFocus();
}

template <std::size_t N> void tickOnly(const std::array<QAction*, N>& items, int index) {
    for (std::size_t i = 0; i < N; ++i)
        items[i]->setChecked(int(i) == index);
}

QVariant mmv(int id, int ch) {
    QVariant v;
    forms::PSK31MAIN().MMVARI->get(id, ch, v);
    return v;
}

void setControl(int id, int ch, const QVariant& v) {
    forms::PSK31MAIN().MMVARI->set(id, ch, v);
}

} // namespace

void multi_ch::buildMenus() {
    MODSEL2 = new QMenu(QStringLiteral("MODE設定2CH"), this);
    MODSEL3 = new QMenu(QStringLiteral("MODE設定3CH"), this);
    mmMODE2 = new QMenu(QStringLiteral("mmMODE設定2CH"), this);
    mmMODE3 = new QMenu(QStringLiteral("mmMODE設定3CH"), this);
    const char* psk[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)"};
    for (int i = 0; i < 3; ++i) {
        PSKMODE2[std::size_t(i)] = MODSEL2->addAction(QString::fromLatin1(psk[i]));
        PSKMODE3[std::size_t(i)] = MODSEL3->addAction(QString::fromLatin1(psk[i]));
        connect(PSKMODE2[std::size_t(i)], &QAction::triggered, this, [this, i] { PSKMODE_Click(1, i); });
        connect(PSKMODE3[std::size_t(i)], &QAction::triggered, this, [this, i] { PSKMODE_Click(2, i); });
    }
    for (int i = 0; i < 9; ++i) {
        MMV2[std::size_t(i)] = mmMODE2->addAction(mmvariMenuCaption(i));
        MMV3[std::size_t(i)] = mmMODE3->addAction(mmvariMenuCaption(i));
        connect(MMV2[std::size_t(i)], &QAction::triggered, this, [this, i] { MMV_Click(1, i); });
        connect(MMV3[std::size_t(i)], &QAction::triggered, this, [this, i] { MMV_Click(2, i); });
    }
    for (auto* items : {&PSKMODE2, &PSKMODE3})
        for (QAction* a : *items)
            a->setCheckable(true);
    for (auto* items : {&MMV2, &MMV3})
        for (QAction* a : *items)
            a->setCheckable(true);

    DSP1CLR = new QMenu(QStringLiteral("画面消去メニュー"), this);
    Disp1Clr = DSP1CLR->addAction(QStringLiteral("画面消去"));
    Clr1Clr = DSP1CLR->addAction(QStringLiteral("中止"));
    DSP2CLR = new QMenu(QStringLiteral("画面消去メニュー"), this);
    Disp2Clr = DSP2CLR->addAction(QStringLiteral("画面消去"));
    Clr2Clr = DSP2CLR->addAction(QStringLiteral("中止"));
    connect(Disp1Clr, &QAction::triggered, this, [this] { RichTextBox1->setText(QString()); });
    connect(Disp2Clr, &QAction::triggered, this, [this] { RichTextBox2->setText(QString()); });

    PUPMENU = new QMenu(QStringLiteral("張付"), this);
    CALLSR = PUPMENU->addAction(QStringLiteral("Call Sign 検索"));
    TOCALL = PUPMENU->addAction(QStringLiteral("Call Sign欄へ張り付け"));
    TONAME = PUPMENU->addAction(QStringLiteral("His Name欄へ張り付け"));
    MEMOW = PUPMENU->addAction(QStringLiteral("メモ帳へメモ書き"));
    TOCLPB = PUPMENU->addAction(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ一時保存"));
    CLIPCLR = PUPMENU->addAction(QStringLiteral("クリヤー"));
    connect(CALLSR, &QAction::triggered, this, [] {
        logwindows::callCheck.CallSearchOnly = 1;
        logwindows::callCheck.SearchCall = clipText().toUpper();
        clipboard::empty();
        logwindows::CheckCallSign(logwindows::callCheck.SearchCall);
    });
    connect(TOCALL, &QAction::triggered, this, [] {
        PSK31MAIN& w = forms::PSK31MAIN();
        if (logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, clipText().toUpper()))
            logwindows::CheckCallSign(w.Text5->text());
        clipboard::empty();
        focusTransmitBox();
    });
    connect(TONAME, &QAction::triggered, this, [] {
        logwindows::PutIntoQsoBox(forms::PSK31MAIN().Text6, clipText());
        clipboard::empty();
        focusTransmitBox();
    });
    connect(MEMOW, &QAction::triggered, this, [] {
        // A memo that cannot be written leaves the text on the clipboard.
        if (!terminal::rxtext::writeMemo(clipText())) return;
        clipboard::empty();
        focusTransmitBox();
    });
    connect(TOCLPB, &QAction::triggered, this, &focusTransmitBox);
    connect(CLIPCLR, &QAction::triggered, this, [] {
        clipboard::empty();
        focusTransmitBox();
    });
}

void multi_ch::showModes() {
    const core::Globals& g = core::g;
    const bool psk = pskModes();
    for (QPushButton* b : {Command1, Command2})
        b->setText(psk ? QStringLiteral("=>To Ch1") : QStringLiteral("=>To Ch0"));
    Label1->setText(psk ? QStringLiteral("Ch2") : QStringLiteral("Ch1"));
    Label2->setText(psk ? QStringLiteral("Ch3") : QStringLiteral("Ch2"));
    const int first = psk ? g.Ch2PskMode : mmvstate::g.SubCh1VariMode;
    const int second = psk ? g.Ch3PskMode : mmvstate::g.SubCh2VariMode;
    if (psk) {
        tickOnly(PSKMODE2, first);
        tickOnly(PSKMODE3, second);
    } else {
        tickOnly(MMV2, first);
        tickOnly(MMV3, second);
    }
    for (int n : {1, 2}) {
        const int mode = n == 1 ? first : second;
        const std::optional<QString> text = psk ? pskPanelText(n, mode) : mmvariPanelText(n, mode, true);
        if (text) StatusBar1->setText(n + 1, *text);
    }
}

void multi_ch::Form_Activate() {
    const core::Globals& g = core::g;
    if (!pskModes()) return;
    const int range = core::WholeNumber(g.RxSearchRange).value_or(0);
    pskcore::lib().fnSetRXFrequency(g.Ch2RxFreq, range, 1);
    pskcore::lib().fnSetRXFrequency(g.Ch3RxFreq, range, 2);
    VScroll1->setValue(g.Ch2RxFreq);
    VScroll2->setValue(g.Ch3RxFreq);
    if (g.ChannelDisplay != 3) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    for (LineShape* l : {w.Line11, w.Line12, w.Line13, w.Line14})
        l->setVisible(true);
}

void multi_ch::StatusBar1_PanelClick(int Panel) {
    if (AnyEngineTransmits()) return;
    const QString head = StatusBar1->text(Panel).left(3);
    QMenu* menu = head == QLatin1String("ch1")   ? mmMODE2
                  : head == QLatin1String("ch2") ? mmMODE3
                  : head == QLatin1String("Ch2") ? MODSEL2
                  : head == QLatin1String("Ch3") ? MODSEL3
                                                 : nullptr;
    if (menu) {
        menu->popup(QCursor::pos());
        return;
    }
    if (head == QLatin1String("Clo")) CloseMultiChannel(true);
}

void multi_ch::PSKMODE_Click(int n, int Index) {
    core::Globals& g = core::g;
    (n == 1 ? g.Ch2PskMode : g.Ch3PskMode) = Index;
    tickOnly(n == 1 ? PSKMODE2 : PSKMODE3, Index);
    if (const std::optional<QString> text = pskPanelText(n, Index)) StatusBar1->setText(n + 1, *text);
    pskcore::lib().fnSetRXPSKMode(Index, n);
    g.EngineMsgHold = 0;
}

void multi_ch::MMV_Click(int n, int Index) {
    setControl(mmvari::PModeName, n, mmvariModeName(Index));
    if (const std::optional<QString> text = mmvariPanelText(n, Index, false))
        StatusBar1->setText(n + 1, *text);
    tickOnly(n == 1 ? MMV2 : MMV3, Index);
}

void multi_ch::Command_Click(int n) {
    core::Globals& g = core::g;
    PSK31MAIN& w = forms::PSK31MAIN();
    QScrollBar* bar = n == 1 ? VScroll1 : VScroll2;
    if (pskModes()) {
        int& freq = n == 1 ? g.Ch2RxFreq : g.Ch3RxFreq;
        freq = (n == 1 ? Label5 : Label6)->text().toInt();
        const int m = w.VScroll1->value();
        w.VScroll1->setValue(freq);
        {
            // The channel retunes below, also when its bar already stood there.
            const QSignalBlocker quiet(bar);
            bar->setValue(m);
        }
        n == 1 ? SetCh2FreqFromScroll() : SetCh3FreqFromScroll();
        int& mode = n == 1 ? g.Ch2PskMode : g.Ch3PskMode;
        std::swap(g.OpMode, mode);
        if (g.OpMode >= 0 && g.OpMode <= 2) {
            static const char* const names[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)"};
            w.StatusBar1->setText(2, QString::fromLatin1(names[g.OpMode]));
            for (int k = 0; k < 3; ++k)
                w.PSKMODE[std::size_t(k)]->setChecked(k == g.OpMode);
        }
        if (const std::optional<QString> text = pskPanelText(n, mode)) {
            StatusBar1->setText(n + 1, *text);
            tickOnly(n == 1 ? PSKMODE2 : PSKMODE3, mode);
        }
        pskcore::lib().fnSetRXPSKMode(g.OpMode, 0);
        pskcore::lib().fnSetRXPSKMode(mode, n);
    } else {
        const int f0 = mmv(mmvari::PRxFreq, 0).toInt();
        const int f1 = mmv(mmvari::PRxFreq, n).toInt();
        setControl(mmvari::PRxFreq, 0, f1);
        w.MMVARI->set(mmvari::IdTxFreq, mmv(mmvari::PRxFreq, 0));
        {
            const QSignalBlocker quiet(bar);
            bar->setValue(f0);
        }
        setControl(mmvari::PRxFreq, n, bar->value());
        const QVariant mainName = mmv(mmvari::PModeName, 0);
        setControl(mmvari::PModeName, 0, mmv(mmvari::PModeName, n));
        setControl(mmvari::PModeName, n, mainName);
        w.CBMode->setCurrentIndex(mmv(mmvari::PModeNumber, 0).toInt());
        const QVariant mainSpeed = mmv(mmvari::PSpeed, 0);
        setControl(mmvari::PSpeed, 0, mmv(mmvari::PSpeed, n));
        setControl(mmvari::PSpeed, n, mainSpeed);
        const int k = mmv(mmvari::PModeNumber, n).toInt();
        if (const std::optional<QString> text = mmvariPanelText(n, k, false))
            StatusBar1->setText(n + 1, *text);
        tickOnly(n == 1 ? MMV2 : MMV3, k);
    }
    w.Text5->setFocus();
}

void multi_ch::RichTextBox_MouseDown(int n, Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) (n == 1 ? DSP1CLR : DSP2CLR)->popup(globalPos);
}

void multi_ch::RichTextBox_MouseUp(int n, const QPoint& globalPos) {
    if (terminal::macros::g.MacroMoveMode == 1) return;
    RichTextPane* pane = n == 1 ? RichTextBox1 : RichTextBox2;
    const QString selected = pane->selText();
    clipboard::hold(selected);
    const int caret = pane->selStart();
    pane->setSelStart(pane->length());
    if (core::g.DataCaptureOn == 1 && selected.isEmpty()) {
        PSK31MAIN& w = forms::PSK31MAIN();
        const PanePick pick = panePick(pane->text(), caret);
        if (pick.target == PanePick::CallBox) {
            if (logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, pick.text))
                logwindows::CheckCallSign(pick.text);
        } else if (pick.target == PanePick::NameBox) {
            logwindows::PutIntoQsoBox(w.Text6, pick.text);
        } else {
            return;
        }
        clipboard::empty();
        focusTransmitBox();
        return;
    }
    if (!selected.isEmpty()) PUPMENU->popup(globalPos);
}
