// The views, the meter, the sub-channel pop-up, the three-channel receive and
// the way back to the PSK arrangement.
#include "terminal/panels/MmvariPanel.h"

#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

namespace terminal::panels {
namespace {

constexpr int kSquelchPerStep = 200;

bool mmvariMode() {
    return core::g.OpMode == core::ModeMmvari;
}

// Sets sub-channel n (1 or 2) on the frequency of the last right click.
void setSubChannel(int n) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (!mmvariMode()) {
        core::g.ImdChannel = n;
        mmvstate::g.SubChannelSel = n;
        for (LineShape* l : n == 1 ? std::array{w.Line11, w.Line13} : std::array{w.Line12, w.Line14})
            l->setVisible(true);
        return;
    }
    mmvari::MmvariControl* m = w.MMVARI;
    QVariant mainMode;
    if (m->get(mmvari::PCharSet, 0, mainMode)) m->set(mmvari::PCharSet, n, mainMode);
    if (n == 2) m->set(mmvari::PRxOn, 2, true);
    m->set(mmvari::PRxFreq, n, int(std::int16_t(w.ViewClickFreq)));
    forms::multi_ch().show();
    (n == 1 ? w.Command16 : w.Command17)->setEnabled(true);
    mmvstate::g.SubChannelSel = n;
    m->set(mmvari::PRxOn, n, true);
}

} // namespace

void placePanel(PSK31MAIN& w) {
    // The panel takes the PSK tuning column and the start of the waterfall's
    // row, in four rows; the first view takes the rest of that row, the second
    // the narrow spectrum's place and the meter the level bar's.
    TwipsLayout& tw = w.tw;
    tw.place(w.Frame6, 60, 0, 3480, 1410);
    for (int k = 0; k < 8; ++k)
        tw.place(w.Command19[k], 60 + (k % 4) * 840, 210 + (k / 4) * 300, 810, 270);
    tw.place(w.Command22, 60, 810, 600, 270);
    tw.place(w.Command23, 690, 810, 600, 270);
    tw.place(w.CBMode, 1320, 810, 2100, 300);
    tw.place(w.Text2, 60, 1110, 600, 270);
    tw.place(w.Text9, 690, 1110, 600, 270);
    tw.place(w.Label41, 1320, 1110, 2100, 240);
    tw.place(w.List2, 1740, 210, 900, 1140);
    tw.place(w.XMMVView1, 3600, 60, 3540, 1320);
    tw.place(w.XMMVView2, 30, 30, 2220, 450);
    // Drawn over the PSK controls it takes the place of.
    w.Frame6->setAutoFillBackground(true);
    w.Frame6->raise();
}

void XMMVView1_LeftClick(int Freq) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (w.IgnoreViewClick != 1) w.MMVARI->set(mmvari::IdTxFreq, Freq);
    w.IgnoreViewClick = 0;
}

void XMMVView1_Drag() {
    forms::PSK31MAIN().IgnoreViewClick = 1;
}

void XMMVView1_RightClick(int Freq) {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.ViewClickFreq = int(std::int16_t(Freq));
    w.MLTSET->popup(QCursor::pos());
    w.Command15->setEnabled(true);
}

void XMMVLv1_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    QVariant squelch;
    if (!w.MMVARI->get(mmvari::PSquelch, 0, squelch)) return;
    w.Slider1->setValue(squelch.toInt() / kSquelchPerStep);
    w.MMVARI->set(mmvari::PSquelch, 0, w.Slider1->value() * kSquelchPerStep);
}

void SET2CH_Click() {
    setSubChannel(1);
}

void SET3CH_Click() {
    setSubChannel(2);
}

void SETnotch0_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.MMVARI->set(mmvari::PNotch, 0, w.ViewClickFreq);
    showMmvariSwitch(w, 0, true);
    QVariant notch;
    if (w.MMVARI->get(mmvari::PNotch, 0, notch)) w.LastNotchFreq = notch.toInt();
}

void StartMultiChannel() {
    PSK31MAIN& w = forms::PSK31MAIN();
    ::multi_ch& m = forms::multi_ch();
    if (!mmvariMode()) {
        core::g.ChannelDisplay = 3;
        m.VScroll1->setValue(core::g.Ch2RxFreq);
        m.VScroll2->setValue(core::g.Ch3RxFreq);
    }
    for (QPushButton* b : {w.Command15, w.Command16, w.Command17})
        b->setEnabled(true);
    colour::setBackColor(w.Command16, kSwitchOnColour);
    colour::setBackColor(w.Command17, kSwitchOnColour);
    w.Text5->setFocus();
    w.Label43->show();
    w.Label44->show();
    m.RichTextBox1->setText(QString());
    m.RichTextBox2->setText(QString());
    const bool onTop =
        core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("TOPV")).value_or(QString()) == "YES";
    m.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    m.show();
}

void RestorePskLayout() {
    PSK31MAIN& w = forms::PSK31MAIN();
    forms::unload<::multi_ch>();
    core::g.ImdChannel = 0;
    mmvstate::g.SubChannelSel = 0;
    core::g.MmvariActive = 0;
    const char* captions[] = {"1", "2", "3"};
    int i = 0;
    for (QPushButton* b : {w.Command15, w.Command16, w.Command17}) {
        b->setEnabled(false);
        b->setText(QString::fromLatin1(captions[i++]));
    }
    w.SET2CH->setText(QStringLiteral("ch2へSET"));
    w.SET3CH->setText(QStringLiteral("ch3へSET"));
    for (QWidget* v : std::initializer_list<QWidget*>{w.XMMVView1, w.XMMVView2, w.XMMVLv1})
        v->hide();
    for (QAction* a : {w.SETnotch0, w.SETnotch1, w.SETnotch2})
        a->setVisible(false);
    for (QWidget* p : std::initializer_list<QWidget*>{w.Picture2, w.Picture3, w.Picture5, w.Picture7})
        p->show();
    w.Line20->setVisible(true);
    w.Line21->setVisible(true);
    w.Frame6->hide();
    w.Label14->setText(QStringLiteral("IMD"));
    w.setWindowTitle(QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)"));
    w.SATMOD->setEnabled(true);
    w.WFCOLOR->setEnabled(true);
    core::g.MainHwnd = engines::MainWindowHandle;
}

void connectMmvariPanel(PSK31MAIN& w) {
    mmvari::MmvariControl* m = w.MMVARI;
    QObject::connect(m, &mmvari::MmvariControl::periodicUpdate, &w, &MMVARI_Update);
    QObject::connect(m, &mmvari::MmvariControl::txBufferChanged, &w, &MMVARI_TxBuffer);
    QObject::connect(m, &mmvari::MmvariControl::txState, &w, &MMVARI_TxState);
    QObject::connect(m, &mmvari::MmvariControl::receivedText, &w, &MMVARI_RxText);
    QObject::connect(m, &mmvari::MmvariControl::errorRaised, &w, &MMVARI_Error);
    QObject::connect(w.XMMVView1, &mmvari::XMMVView::leftClicked, &w, &XMMVView1_LeftClick);
    QObject::connect(w.XMMVView1, &mmvari::XMMVView::dragged, &w, &XMMVView1_Drag);
    QObject::connect(w.XMMVView1, &mmvari::XMMVView::rightClicked, &w, &XMMVView1_RightClick);
    QObject::connect(w.XMMVLv1, &mmvari::XMMVLvl::clicked, &w, &XMMVLv1_Click);
    QObject::connect(w.SET2CH, &QAction::triggered, &w, &SET2CH_Click);
    QObject::connect(w.SET3CH, &QAction::triggered, &w, &SET3CH_Click);
    QObject::connect(w.SETnotch0, &QAction::triggered, &w, &SETnotch0_Click);
}

} // namespace terminal::panels
