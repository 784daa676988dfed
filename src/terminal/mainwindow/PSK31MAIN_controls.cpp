// The main window's controls: kinds, captions and design places (twips).
#include "log/QsoBoxText.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/controls/TopHighBar.h"
#include "platform/forms/text/OneLine.h"
#include "platform/forms/text/TextRule.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariViews.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/SplitterBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

constexpr int kSMeterFrameLeft = 7200;
const QString kTimedTxNotice = QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。");

QLabel* label(QWidget* parent, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    return l;
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setFocusPolicy(Qt::TabFocus);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

QLineEdit* box(QWidget* parent) {
    return new QLineEdit(parent);
}

QScrollBar* scrollBar(QWidget* parent, Qt::Orientation o, int min, int max, int value) {
    auto* s = new QScrollBar(o, parent);
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

// A vertical bar with its maximum at the top.
QScrollBar* topHighBar(QWidget* parent, int min, int max, int value) {
    QScrollBar* s = ui::makeTopHigh(parent);
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

// The frequency bars: 100 to 3500 Hz.
QScrollBar* frequencyBar(QWidget* parent) {
    return topHighBar(parent, 100, 3500, 2200);
}

PictureBox* picture(QWidget* parent, double sw, double sh, const QColor& back = Qt::black) {
    auto* p = new PictureBox(parent);
    p->setScale(sw, sh);
    p->setBackColor(back);
    return p;
}

// The size in twips that a label needs for the widest text it shows, in its
// own font: a fixed size smaller than the font's text would cut it off.
QSize twipsFor(const QLabel* l, const QString& widest) {
    const QSize px = QFontMetrics(l->font()).size(Qt::TextSingleLine, widest);
    return {twips::fromPx(px.width() + 1), twips::fromPx(px.height())};
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    w->setPalette(pal);
}

} // namespace

PSK31MAIN::PSK31MAIN() : MMVARI(new mmvari::MmvariControl(this)) {
    setWindowTitle(QStringLiteral("ZORVATEK"));
    auto* canvas = new QWidget;
    setCentralWidget(canvas);
    buildPanesAndSplitter(canvas);
    buildQsoColumn(canvas);
    buildTuningFrame(canvas);
    buildMacroButtons(canvas);
    buildStatusBar();
    buildTimers();
    buildMenus();
    buildPopupMenus();
    connectHandlers();
    resize(twips::toPx(11850), twips::toPx(8790));
}

void PSK31MAIN::buildPanesAndSplitter(QWidget* canvas) {
    RichTextBox1 = new RichTextPane(canvas);
    RichTextBox2 = new RichTextPane(canvas);
    RichTextBox4 = new RichTextPane(canvas);
    for (RichTextPane* p : {RichTextBox1, RichTextBox2, RichTextBox4})
        tw.place(p, 2040, 0, 9510, 3135);
    RichTextBox2->hide();
    RichTextBox4->hide();

    Text3 = box(canvas);
    Text3->setReadOnly(true);
    Text3->setText(kTimedTxNotice);
    tw.place(Text3, 2040, 2880, 9510, 240);
    Text3->hide();
    Text12 = box(canvas);
    Text12->setReadOnly(true);
    Text12->setText(QStringLiteral("Audio Input Signal is Overloading"));
    setTextColour(Text12, Qt::red);
    tw.place(Text12, 2040, 2640, 4000, 240);
    Text12->hide();

    Image1 = new SplitterBar(canvas);
    tw.place(Image1, 2040, 3120, 9015, 135);
    Picture10 = new QFrame(canvas);
    Picture10->setFrameStyle(QFrame::Box);
    Picture10->setStyleSheet(QStringLiteral("background: #808080"));
    tw.place(Picture10, 2160, 3120, 9015, 135);
    Picture10->hide();

    Text1 = new RichTextPane(canvas);
    Text1->keepLinesWhole();
    tw.place(Text1, 2040, 3240, 9510, 1695);
    List1 = new QListWidget(canvas);
    tw.place(List1, 9000, 3360, 1500, 1500);
    List1->hide();
}

void PSK31MAIN::buildQsoColumn(QWidget* canvas) {
    Label7 = label(canvas, QStringLiteral("No Call"));
    Label7->setStyleSheet(QStringLiteral("font-weight: bold; color: #0000c0"));
    tw.place(Label7, 60, 0, 1920, 300);
    Label1 = label(canvas, QStringLiteral("Call Sign"));
    Label1->setToolTip(QStringLiteral("ｸﾘｯｸでCall検索"));
    tw.place(Label1, 60, 300, 1000, 240);
    Text5 = new QsoBox(canvas);
    Text5->setToolTip(QStringLiteral("↓ or ﾀﾞﾌﾞﾙｸﾘｯｸでLOGを検索します"));
    tw.place(Text5, 60, 540, 1920, 330);
    tw.place(label(canvas, QStringLiteral("Name")), 60, 900, 1000, 240);
    Text6 = new QsoBox(canvas);
    tw.place(Text6, 60, 1140, 1920, 330);
    Label3 = label(canvas, QStringLiteral("RST"));
    tw.place(Label3, 60, 1530, 500, 240);
    Text7 = new QsoBox(canvas);
    tw.place(Text7, 600, 1500, 560, 330);
    Text11 = box(canvas);
    Text11->setText(QStringLiteral("001"));
    // Wide enough for four digits: the serial passes 999 in a long contest.
    tw.place(Text11, 1160, 1500, 640, 330);
    Text11->hide();
    VScroll4 = topHighBar(canvas, 0, 32766, 1);
    tw.place(VScroll4, 1800, 1500, 180, 330);
    VScroll4->hide();
    Label47 = label(canvas, QStringLiteral("QTH "));
    tw.place(Label47, 60, 1860, 1000, 240);
    Text14 = new QsoBox(canvas);
    tw.place(Text14, 60, 2100, 1920, 330);

    Command6 = button(canvas, QStringLiteral("GET"));
    tw.place(Command6, 60, 2490, 480, 360);
    Command4 = button(canvas, QStringLiteral("消去 →"), QStringLiteral("CTRL+C"));
    tw.place(Command4, 570, 2490, 600, 360);
    Command5 = button(canvas, QStringLiteral("LOG作成"));
    tw.place(Command5, 1200, 2490, 780, 360);

    Check1 = new QCheckBox(QStringLiteral("さん(San)"), canvas);
    tw.place(Check1, 60, 2910, 1920, 255);
    Check2 = new QCheckBox(QStringLiteral("Time = UTC"), canvas);
    tw.place(Check2, 60, 3165, 1920, 255);
    Check5 = new QCheckBox(QStringLiteral("ﾃﾞｰﾀ取込"), canvas);
    tw.place(Check5, 60, 3420, 1920, 255);
    Check3 = new QCheckBox(QStringLiteral("Timer送信無効"), canvas);
    tw.place(Check3, 60, 3675, 1920, 255);
    Check4 = new QCheckBox(canvas);
    tw.place(Check4, 1740, 540, 240, 330);
    Check4->hide();

    Label40 = label(canvas, {});
    colour::setBackColor(Label40, 0x400000);
    tw.place(Label40, 60, 3960, 1920, 300);
    Label23 = label(canvas, {});
    tw.place(Label23, 60, 4260, 1920, 240);
    Command1 = button(canvas, QStringLiteral("TX (F12)"));
    tw.place(Command1, 60, 4530, 1920, 390);

    List4 = new QListWidget(canvas);
    List4->addItems({"599", "589", "579", "569", "559", "549", "539", "519", "459", "339"});
    tw.place(List4, 600, 1830, 800, 1800);
    List4->hide();
    ui::keepRule(Text5, logbook::callBoxText);
    ui::keepRule(Text7, logbook::reportBoxText);
    ui::keepOneLine(Text6);
    ui::keepOneLine(Text11);
    ui::keepOneLine(Text14);
}

void PSK31MAIN::buildTuningFrame(QWidget* canvas) {
    Frame1 = new QGroupBox(canvas);
    tw.place(Frame1, 60, 4920, 11490, 1440);
    Label11 = label(Frame1, QStringLiteral("RXFreq"));
    Label11->setToolTip(QStringLiteral("RIGコン時受信信号に対してTXFreqまでVFOを動かします(逆NET)"));
    tw.place(Label11, 60, 60, 720, 240);
    Text4 = box(Frame1);
    tw.place(Text4, 60, 300, 720, 300);
    VScroll1 = frequencyBar(Frame1);
    tw.place(VScroll1, 780, 300, 180, 300);
    Label10 = label(Frame1, QStringLiteral("TXFreq"));
    tw.place(Label10, 60, 660, 720, 240);
    // The PSK tuning shows them over the two tuning buttons; the RTTY panel hides them.
    Label16 = label(Frame1, QStringLiteral("RXFreq"));
    Label16->setToolTip(QStringLiteral("RIGコン時受信信号に対してTXFreqまでVFOを動かします(逆NET)"));
    tw.place(Label16, 1020, 60, 600, 240);
    Label19 = label(Frame1, QStringLiteral("TXFreq"));
    tw.place(Label19, 1020, 660, 600, 240);
    Text8 = box(Frame1);
    tw.place(Text8, 60, 900, 720, 300);
    VScroll2 = frequencyBar(Frame1);
    tw.place(VScroll2, 780, 900, 180, 300);
    Command7 = button(Frame1, QStringLiteral("AFC"));
    tw.place(Command7, 1020, 300, 600, 300);
    Command9 = button(Frame1, QStringLiteral("NET"));
    tw.place(Command9, 1020, 900, 600, 300);

    Command10 = button(Frame1, QStringLiteral("WF/SP"));
    tw.place(Command10, 1680, 60, 720, 270);
    Command11 = button(Frame1, QStringLiteral("Scan"));
    tw.place(Command11, 2430, 60, 720, 270);
    Label39 = label(Frame1, QStringLiteral("x1"));
    tw.place(Label39, 3210, 90, 360, 240);
    Label8 = label(Frame1, QStringLiteral(" Ch1"));
    tw.place(Label8, 3600, 90, 600, 240);
    Label14 = label(Frame1, QStringLiteral("IMD"));
    tw.place(Label14, 4230, 90, 480, 240);
    // The IMD read-out, the satellite indicator and the clock error share the
    // strip before the S-meter frame: each as wide as its text in the font.
    Label15 = label(Frame1, QStringLiteral("No Data"));
    const QSize imd = twipsFor(Label15, QStringLiteral("No Data"));
    tw.place(Label15, 4710, 90, imd.width(), std::max(240, imd.height()));
    Label30 = label(Frame1, QStringLiteral("Satelite"));
    setTextColour(Label30, Qt::red);
    const QSize satellite = twipsFor(Label30, Label30->text());
    tw.place(Label30, 4710 + imd.width() + 60, 90, satellite.width(), std::max(240, satellite.height()));
    Label12 = label(Frame1, {});
    Label12->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QSize ppm = twipsFor(Label12, QStringLiteral("-999ppm"));
    tw.place(Label12, kSMeterFrameLeft - 30 - ppm.width(), 90, ppm.width(), std::max(240, ppm.height()));
    Label30->hide();

    Picture5 = picture(Frame1, 717, 10, QColor(0x20, 0x20, 0x20));
    tw.place(Picture5, 1680, 360, 5280, 90);
    Picture3 = picture(Frame1, 717, 100);
    tw.place(Picture3, 1680, 450, 5280, 840);
    Picture9 = picture(Frame1, 717, 100);
    tw.place(Picture9, 1680, 450, 5280, 840);
    Picture9->hide();
    XMMVView1 = new mmvari::XMMVView(Frame1);
    tw.place(XMMVView1, 1680, 450, 5280, 840);
    XMMVView1->hide();
    Picture7 = picture(Frame1, 717, 10, QColor(0x20, 0x20, 0x20));
    tw.place(Picture7, 1680, 1290, 5280, 90);
    VScroll5 = scrollBar(Frame1, Qt::Vertical, 5, 200, 50); // 5 at the top: the up arrow enlarges
    tw.place(VScroll5, 6960, 450, 180, 840);
    Line5 = Picture3->addLine(Qt::yellow);
    Line20 = Picture3->addLine(Qt::yellow);
    Line21 = Picture3->addLine(Qt::red);
    Line8 = Picture3->addLine(Qt::white);
    Line11 = Picture3->addLine(Qt::cyan);
    Line12 = Picture3->addLine(Qt::magenta);
    Line15 = Picture3->addLine(Qt::green);
    Line16 = Picture3->addLine(Qt::yellow);
    Line17 = Picture3->addLine(Qt::yellow);
    for (LineShape* l : {Line20, Line21, Line8, Line11, Line12, Line15, Line16, Line17})
        l->setVisible(false);
    Label43 = label(Frame1, QStringLiteral("ch2"));
    tw.place(Label43, 1680, 1290, 360, 150);
    Label43->hide();
    Label44 = label(Frame1, QStringLiteral("ch3"));
    tw.place(Label44, 2100, 1290, 360, 150);
    Label44->hide();

    Frame5 = new QGroupBox(QStringLiteral("S-meter && Squelch"), Frame1);
    tw.place(Frame5, kSMeterFrameLeft, 0, 1680, 780);
    ProgressBar1 = new QProgressBar(Frame5);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    tw.place(ProgressBar1, 60, 270, 1560, 210);
    XMMVLv1 = new mmvari::XMMVLvl(Frame5);
    tw.place(XMMVLv1, 60, 270, 1560, 210);
    XMMVLv1->hide();
    Slider1 = new QSlider(Qt::Horizontal, Frame5);
    Slider1->setRange(0, 10);
    tw.place(Slider1, 60, 510, 1560, 240);
    Picture2 = picture(Frame1, 1275, 1275);
    tw.place(Picture2, 7200, 810, 570, 570);
    Frame7 = new QGroupBox(QStringLiteral("WaterFall/Color balance"), Frame1);
    tw.place(Frame7, 1680, 360, 3000, 780);
    Slider2 = new QSlider(Qt::Horizontal, Frame7);
    Slider2->setRange(0, 250);
    Slider2->setValue(90);
    tw.place(Slider2, 60, 270, 2200, 300);
    Command26 = button(Frame7, QStringLiteral("OK"));
    tw.place(Command26, 2340, 270, 540, 300);
    Frame7->hide();

    SSTab1 = new QTabWidget(Frame1);
    tw.place(SSTab1, 8940, 0, 2520, 1410);
    buildEnginePanels(Frame1);
}

void PSK31MAIN::buildEnginePanels(QWidget* frame) {
    auto* fft = new QWidget;
    SSTab1->addTab(fft, QStringLiteral("FFT"));
    Picture4 = picture(fft, 717, 1400, colour::fromRef(0xFFFFEC));
    tw.place(Picture4, 30, 30, 2220, 450);
    XMMVView2 = new mmvari::XMMVView(fft);
    tw.place(XMMVView2, 30, 30, 2220, 450);
    XMMVView2->hide();
    Line1 = Picture4->addLine(Qt::darkGreen);
    Line2 = Picture4->addLine(Qt::red);
    Line3 = Picture4->addLine(Qt::red);
    Line4 = Picture4->addLine(Qt::red);
    Line13 = Picture4->addLine(Qt::blue);
    Line14 = Picture4->addLine(Qt::magenta);
    Line13->setVisible(false);
    Line14->setVisible(false);
    VScroll3 = topHighBar(fft, 1, 25, 1);
    tw.place(VScroll3, 2250, 30, 180, 450);
    Label13 = label(fft, {});
    tw.place(Label13, 30, 480, 2400, 180);
    Command15 = button(fft, QStringLiteral("1"));
    Command16 = button(fft, QStringLiteral("2"));
    Command17 = button(fft, QStringLiteral("3"));
    int left = 30;
    for (QPushButton* b : {Command15, Command16, Command17}) {
        tw.place(b, left, 690, 720, 240);
        b->setEnabled(false);
        left += 750;
    }

    auto* line = new QWidget;
    SSTab1->addTab(line, QStringLiteral("Line"));
    Picture1 = picture(line, 16, 1000);
    tw.place(Picture1, 30, 30, 2400, 330);
    HScroll1 = scrollBar(line, Qt::Horizontal, 8, 2048, 1000);
    HScroll1->setSingleStep(8);
    HScroll1->setPageStep(8);
    tw.place(HScroll1, 30, 360, 2400, 180);
    Check6 = new QCheckBox(QStringLiteral("LINE/DATA SYNC 切換"), line);
    tw.place(Check6, 30, 540, 2400, 210);
    Label24 = label(line, {});
    tw.place(Label24, 30, 750, 540, 210);
    Label25 = label(line, QStringLiteral("ms"));
    tw.place(Label25, 570, 750, 360, 210);
    Label26 = label(line, {});
    tw.place(Label26, 960, 750, 720, 210);
    Label27 = label(line, QStringLiteral("Hz"));
    tw.place(Label27, 1680, 750, 360, 210);
    Label37 = label(line, QStringLiteral("DATA"));
    tw.place(Label37, 30, 750, 900, 210);
    Label37->hide();
    Label38 = label(line, QStringLiteral("SYNC"));
    tw.place(Label38, 960, 750, 900, 210);
    Label38->hide();

    // The RTTY panel stands over the tab strip, whose displays only the PSK
    // library draws, so that the spectrum with its mark and space stays in view.
    Frame4 = new QGroupBox(QStringLiteral("MMTTY Control"), frame);
    tw.place(Frame4, 8940, 0, 2520, 1410);
    Frame4->setAutoFillBackground(true);
    const char* switches[] = {"UOS", "Rev", "Squelh", "NOT", "BPF", "ATC", "NET", "AFC"};
    for (int k = 10; k <= 17; ++k) {
        Command13[k] = button(Frame4, QString::fromLatin1(switches[k - 10]));
        tw.place(Command13[k], 30 + (k - 10) % 4 * 615, 180 + (k - 10) / 4 * 240, 600, 240);
    }
    Command12 = button(Frame4, QStringLiteral("FIG"));
    tw.place(Command12, 30, 660, 600, 240);
    Command14 = button(Frame4, QStringLiteral("Type"));
    tw.place(Command14, 645, 660, 600, 240);
    Command21 = button(Frame4, QStringLiteral("HAM"));
    tw.place(Command21, 1260, 660, 600, 240);
    Command24 = button(Frame4, QStringLiteral("CFG"), QStringLiteral("RTTY MODE の各種設定"));
    tw.place(Command24, 1875, 660, 600, 240);
    Label32 = label(Frame4, QStringLiteral("MODEM=IIR"));
    tw.place(Label32, 30, 930, 1200, 210);
    Label36 = label(Frame4, QStringLiteral("Shift"));
    tw.place(Label36, 1260, 930, 540, 210);
    Label35 = label(Frame4, QStringLiteral("Mark"));
    Label35->setToolTip(
        QStringLiteral("RIGコン時受信信号に対してMarkFreqを2125HzまでVFOを動かします(逆NET?)"));
    tw.place(Label35, 1830, 930, 660, 210);
    // The RTTY program's mark and shift as it reports them, under their captions.
    Label34 = label(Frame4, {});
    tw.place(Label34, 1260, 1150, 540, 210);
    Label33 = label(Frame4, {});
    tw.place(Label33, 1830, 1150, 660, 210);
    Label9 = label(Frame4, {});
    tw.place(Label9, 60, 870, 2400, 150);
    Label9->hide();
    List5 = new QListWidget(frame);
    List5->addItems({"160", "170", "182", "200", "240", "350", "425", "850"});
    tw.place(List5, 5640, 0, 720, 1380);
    List5->hide();
    Frame4->hide();

    Frame6 = new QGroupBox(QStringLiteral("MMVARI Control"), frame);
    tw.place(Frame6, 1680, 360, 7140, 1050);
    const char* mmv[] = {"Notch", "Speed", "ATC", "ReqRX", "strtCR", "stopCR", "PlyBack", "CFG"};
    for (int k = 0; k < 8; ++k) {
        Command19[k] = button(Frame6, QString::fromLatin1(mmv[k]));
        tw.place(Command19[k], 60 + k * 660, 240, 630, 270);
    }
    Command19[7]->setToolTip(QStringLiteral("MMVARI固有の設定"));
    Command22 = button(Frame6, QStringLiteral("AFC"));
    tw.place(Command22, 60, 570, 630, 270);
    Command23 = button(Frame6, QStringLiteral("NET"));
    tw.place(Command23, 720, 570, 630, 270);
    CBMode = new QComboBox(Frame6);
    CBMode->addItems({"GMSK(MBCS)", "FSK(MBCS)", "FSK-W(MBCS)", "BPSK(MBCS)", "bpsk(STD)", "rtty(LSB)",
                      "rtty(USB)", "mfsk(LSB)", "mfsk(USB)"});
    tw.place(CBMode, 1380, 570, 1500, 300);
    List2 = new QListWidget(Frame6);
    List2->addItems({"PSK31", "PSK63", "PSK125", "PSK250"});
    tw.place(List2, 2940, 240, 900, 780);
    List2->hide();
    Text2 = box(Frame6);
    tw.place(Text2, 3900, 240, 360, 300);
    Text9 = box(Frame6);
    tw.place(Text9, 3900, 570, 360, 300);
    Label41 = label(Frame6, {});
    tw.place(Label41, 4320, 600, 2700, 240);
    Frame6->hide();
}

void PSK31MAIN::buildMacroButtons(QWidget* canvas) {
    Frame2 = new QGroupBox(QStringLiteral("CWID Set"), canvas);
    tw.place(Frame2, 60, 6360, 1920, 1440);
    Combo1 = new QComboBox(Frame2);
    Combo1->setEditable(true);
    tw.place(Combo1, 60, 270, 1800, 300);
    Command3 = button(Frame2, QStringLiteral("CW ID"));
    tw.place(Command3, 60, 630, 1800, 330);
    Label4 = label(Frame2, QStringLiteral("* SK  + AR  = BT"));
    tw.place(Label4, 60, 1020, 1800, 240);

    Frame3 = new QGroupBox(canvas);
    tw.place(Frame3, 2040, 6480, 9510, 1440);
    for (int i = 0; i < 36; ++i) {
        Command8[i] = button(Frame3, {});
        tw.place(Command8[i], 60 + (i % 9) * 1045, 120 + (i / 9) * 315, 1020, 300);
    }
}

void PSK31MAIN::buildStatusBar() {
    StatusBar1 = new StatusPanels({0, 160, 90, 90});
    setStatusBar(StatusBar1);
    StatusBar1->setText(2, QStringLiteral("BPSK"));
    StatusBar1->setText(3, QStringLiteral("IME無効"));
    StatusBar1->setText(4, QStringLiteral("送信可能"));
}

void PSK31MAIN::buildTimers() {
    Timer1 = new QTimer(this);
    Timer2 = new QTimer(this);
    Timer2->setInterval(10);
    Timer4 = new QTimer(this);
    Timer4->setInterval(1000);
    Timer5 = new QTimer(this);
    Timer5->setInterval(50);
}
