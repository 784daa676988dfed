#include "settings/dialogs/CLKadj.h"

#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/pskcore/PskCore.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "settings/dialogs/ClockValues.h"
#include "settings/dialogs/DialogPlace.h"
#include "settings/dialogs/MmvariDialogValues.h"
#include "settings/sheet/CFGSHEET.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>

namespace {

constexpr int kCarrierHz = 1000;
constexpr int kPoints = settings::kClockPoints;
constexpr int kMiddle = kPoints / 2;
constexpr int kLearningLines = 6;
constexpr int kHideInstructionsRow = 285;
constexpr int kNearLine = 10;
const QColor kCarrierColour = colour::fromRef(0xFF0000); // light blue
const QColor kQuietColour = colour::fromRef(0x00FFFF);   // light yellow

bool pskMode() {
    return core::g.OpMode == core::ModeBpsk || core::g.OpMode == core::ModeQpskUsb ||
           core::g.OpMode == core::ModeQpskLsb;
}

int storedPskPpm() {
    return core::WholeNumber(core::g.ClockAdjRxPpm).value_or(0);
}

double mmvariSampleFreq() {
    return mmvstate::g.MmvariBaseSampleFreq + mmvstate::g.MmvariRxOffset;
}

mmvari::MmvariControl& mainControl() {
    return *forms::PSK31MAIN().MMVARI;
}

} // namespace

CLKadj::CLKadj()
    : MMVARI2(new mmvari::MmvariControl(this)), XMMVView3(new mmvari::XMMVView), Picture1(new PictureBox),
      Line1(Picture1->addLine(Qt::red)), Label1(new QLabel(QStringLiteral("11025.00Hz"))),
      Label2(new QLabel(QStringLiteral("0.00Hz"))), Label3(new QLabel(QStringLiteral("AGC 中"))),
      Label4(new QLabel(QStringLiteral("0ppm"))), Label5(new QLabel), Label6(new QLabel(Picture1)),
      VScroll1(new QScrollBar(Qt::Vertical)), Command1(new QPushButton(QStringLiteral("補正"))),
      Command2(new QPushButton(QStringLiteral("クリヤ"))), menus(new QMenuBar) {
    setWindowTitle(QStringLiteral("SoundClock Adjust"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    pEnd = menus->addAction(QStringLiteral("終了"));
    SETing = menus->addMenu(QStringLiteral("設定"));
    stopSound1 = SETing->addAction(QStringLiteral("ﾒｲﾝ画面のｻｳﾝﾄﾞｶｰﾄﾞ利用を止める"));
    stopSound1->setCheckable(true);
    Picture1->setFixedSize(PictureWidth, PictureHeight);
    Picture1->setBackColor(Qt::black);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    Label6->setStyleSheet(QStringLiteral("color: white"));
    Label6->move(8, 8);
    VScroll1->setRange(1, 10);
    XMMVView3->setFixedHeight(60);
    XMMVView3->hide();
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menus);
    grid->addWidget(XMMVView3, 0, 0, 1, 4);
    grid->addWidget(Picture1, 1, 0, 1, 4);
    grid->addWidget(VScroll1, 1, 4);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(Label2, 2, 1);
    grid->addWidget(Label4, 2, 2);
    grid->addWidget(Label5, 2, 3);
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(Command1, 3, 2);
    grid->addWidget(Command2, 3, 3);

    connect(MMVARI2, &mmvari::MmvariControl::spectrumLine, this, &CLKadj::MMVARI2_SpectrumLine);
    connect(MMVARI2, &mmvari::MmvariControl::periodicUpdate, this,
            [this] { XMMVView3->invoke(mmvari::ViewDraw, {viewHandle_}); });
    connect(Picture1, &PictureBox::mouseMove, this, &CLKadj::Picture1_MouseMove);
    connect(Picture1, &PictureBox::mouseUp, this, &CLKadj::Picture1_MouseUp);
    connect(VScroll1, &QScrollBar::valueChanged, this, &CLKadj::VScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &CLKadj::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CLKadj::Command2_Click);
    connect(stopSound1, &QAction::triggered, this, &CLKadj::stopSound1_Click);
    connect(pEnd, &QAction::triggered, this, &CLKadj::pEnd_Click);
}

void CLKadj::Form_Load() {
    settings::placeBesideOwner(*this, settings::dialogOwner());
    ClkMainSoundStopped = 0;
    ClkPskMode = pskMode() ? 1 : 0;
    if (ClkPskMode == 1) {
        pskPpm_ = storedPskPpm();
        ClkSampleFreq = settings::pskSampleFreq(pskPpm_);
    } else {
        ClkSampleFreq = mmvariSampleFreq();
    }
    QVariant handle;
    if (MMVARI2->get(mmvari::IdLevelData, handle)) viewHandle_ = handle.toInt();
    Picture1->setScale(kPoints, PictureHeight);
    Picture1->ensureCanvas();
    lineHeight_ = PictureHeight - 1;
    rowCount_ = PictureHeight + 1;
    ClkMeasureStartX = ClkMeasureEndX = kMiddle;
    showLine();
    plotRow_ = 0;
    Label1->setText(settings::hzText(ClkSampleFreq));
    levelMax_ = 101;
    levelMin_ = 100;
    factor_ = 0.5;
    VScroll1->setValue(5);
    linesDrawn_ = 0;
    linePlaced_ = 0;
    XMMVView3->show();
    setUpControl();
    Label3->show();
    Label4->setText(QStringLiteral("0ppm"));
    Label6->setText(
        QStringLiteral("←　→ で計測線平行移動\r\nShiftキー＋←　→ で計測線の傾き調整\r\nクリヤ釦で再計測へ"));
    Label6->adjustSize();
    Label6->show();
}

// The window's own control hears the carrier on the sound card.
void CLKadj::setUpControl() {
    MMVARI2->set(mmvari::IdAtc, true);
    MMVARI2->set(mmvari::PAfc, 0, false);
    MMVARI2->set(mmvari::IdSoundCard, core::g.SoundCardNumber);
    MMVARI2->set(mmvari::IdPttPort, QStringLiteral("NONE"));
    MMVARI2->set(mmvari::IdRun, true);
    MMVARI2->set(mmvari::PRxFreq, 0, kCarrierHz);
    MMVARI2->set(mmvari::IdRxSampleFreq, ClkSampleFreq);
    MMVARI2->invoke(mmvari::MethodClockRef, {kCarrierHz, ClkSampleFreq});
    MMVARI2->invoke(mmvari::MethodLines, {kPoints});
}

void CLKadj::Form_Unload() {
    closing_ = true;
    MMVARI2->invoke(mmvari::MethodLines, {0});
    XMMVView3->hide();
    MMVARI2->set(mmvari::IdRun, false);
}

void CLKadj::pEnd_Click() {
    const int pskMode = ClkPskMode;
    const int mainStopped = ClkMainSoundStopped;
    forms::unload<CLKadj>();
    if (pskMode == 1) {
        terminal::engines::ReportSoundCardStart(pskcore::lib().fnStartSoundCard(
            core::g.MainHwnd, core::WholeNumber(core::g.SoundCardNumber).value_or(0), 3));
    } else if (mainStopped == 1 && forms::isLoaded<PSK31MAIN>()) {
        mainControl().set(mmvari::IdRun, true);
    }
}

void CLKadj::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!closing_) pEnd_Click();
}

void CLKadj::showLine() {
    Line1->setPoints(ClkMeasureStartX, 0, ClkMeasureEndX, lineHeight_);
}

void CLKadj::showOffset() {
    ClkOffsetHz = settings::clockOffsetHz(ClkMeasureStartX, ClkMeasureEndX, lineHeight_, ClkSampleFreq);
    Label2->setText(settings::hzText(ClkOffsetHz));
    Label4->setText(QString::number(settings::clockPpm(ClkOffsetHz, ClkPskMode == 1)) +
                    QStringLiteral("ppm"));
}

void CLKadj::MMVARI2_SpectrumLine(int line) {
    if (plotRow_ == rowCount_) {
        plotRow_ = 0;
        linesDrawn_ = 0;
        return;
    }
    if (plotRow_ == kHideInstructionsRow) Label6->hide();
    QVariant result;
    if (!MMVARI2->invoke(mmvari::MethodLineLevels, {0, line, kPoints}, &result)) return;
    plotLine(result.value<QList<int>>());
    ++plotRow_;
    ++linesDrawn_;
    Picture1->update();
}

void CLKadj::plotLine(const QList<int>& levels) {
    QImage& canvas = Picture1->canvas();
    for (int x = 0; x < std::min<int>(kPoints, int(levels.size())); ++x) {
        const int level = levels[x];
        if (linesDrawn_ < kLearningLines) {
            Label3->show();
            levelMax_ = std::max(levelMax_, level);
            levelMin_ = std::min(levelMin_, level);
        }
        const bool carrier = level >= settings::carrierThreshold(levelMax_, levelMin_, factor_);
        const QPoint px = Picture1->toPixels(x, plotRow_).toPoint();
        if (canvas.rect().contains(px)) canvas.setPixelColor(px, carrier ? kCarrierColour : kQuietColour);
        if (carrier && linesDrawn_ >= kLearningLines && linePlaced_ == 0) {
            linePlaced_ = 1;
            ClkMeasureStartX = ClkMeasureEndX = x;
            showLine();
            Label3->hide();
            Label2->setText(QStringLiteral("0.00Hz"));
            Label4->setText(QStringLiteral("0ppm"));
        }
    }
}

bool CLKadj::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Picture1 && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        Picture1_KeyDown(key->key(),
                         key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void CLKadj::Picture1_KeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_Left && key != Qt::Key_Right) return;
    const int step = key == Qt::Key_Left ? -1 : 1;
    if (shift == Qt::NoModifier) {
        ClkMeasureStartX += step;
        ClkMeasureEndX += step;
    } else if (shift == Qt::ShiftModifier) {
        ClkMeasureEndX += step;
        showOffset();
    } else {
        return;
    }
    showLine();
}

void CLKadj::Picture1_MouseMove(int button, double x, double y) {
    if (linePlaced_ == 0) return;
    const std::optional<int> lineX = settings::lineXAt(int(y), lineHeight_, ClkMeasureStartX, ClkMeasureEndX);
    if (!lineX) return;
    if (std::abs(terminal::displays::nearest(x) - *lineX) >= kNearLine) {
        Picture1->unsetCursor();
        return;
    }
    Picture1->setCursor(Qt::SizeHorCursor);
    if (button != 1) return;
    const std::optional<int> end =
        settings::pivotEndX(terminal::displays::nearest(x), int(y), lineHeight_, ClkMeasureStartX);
    if (!end) return;
    ClkMeasureEndX = *end;
    showOffset();
    showLine();
}

void CLKadj::Picture1_MouseUp(int button, double x, double) {
    if (button != 2) return;
    ClkMeasureStartX = ClkMeasureEndX = terminal::displays::nearest(x);
    showLine();
    showOffset();
}

void CLKadj::VScroll1_Change() {
    factor_ = VScroll1->value() / 10.0;
    Label5->setText(QStringLiteral("Sens x") + QString::number((11 - VScroll1->value()) / 10.0));
}

void CLKadj::Command1_Click() {
    Label1->setText(settings::hzText(ClkSampleFreq));
    mmvstate::Globals& m = mmvstate::g;
    if (ClkPskMode == 1) {
        // An offset measured at 8000 Hz is the PSK library's, not MMVARI's.
        pskPpm_ = settings::pskPpmAfter(storedPskPpm(), ClkOffsetHz);
        core::g.ClockAdjRxPpm = QString::number(pskPpm_);
        pskcore::lib().fnSetClockErrorAdjustment(pskPpm_);
        core::PutIniText(QStringLiteral("PSKCFG"), "SC_CLKADJRX", core::g.ClockAdjRxPpm);
        if (forms::isLoaded<CFGSHEET>()) forms::CFGSHEET().HScroll1->setValue(pskPpm_);
    } else {
        m.MmvariRxOffset = settings::mmvariOffsetAfter(m.MmvariRxOffset, ClkOffsetHz);
        if (forms::isLoaded<CFG_MMVARI>())
            forms::CFG_MMVARI().VScroll4->setValue(terminal::displays::nearest(m.MmvariRxOffset * 100.0));
        else if (forms::isLoaded<PSK31MAIN>())
            mainControl().set(mmvari::IdRxSampleFreq, mmvariSampleFreq());
    }
    MMVARI2->invoke(mmvari::MethodLines, {0});
    ClkSampleFreq = ClkPskMode == 1 ? settings::pskSampleFreq(pskPpm_) : mmvariSampleFreq();
    MMVARI2->set(mmvari::IdRxSampleFreq, ClkSampleFreq);
    if (ClkPskMode == 0)
        core::PutIniText(QStringLiteral("MMVCFG"), "RXoffset", settings::offsetText(m.MmvariRxOffset));
    Command2_Click();
}

void CLKadj::Command2_Click() {
    ClkMeasureStartX = ClkMeasureEndX = kMiddle;
    showLine();
    Picture1->clear();
    ClkOffsetHz = 0;
    plotRow_ = 0;
    linesDrawn_ = 0;
    linePlaced_ = 0;
    Label2->setText(QStringLiteral("0.00Hz"));
    MMVARI2->invoke(mmvari::MethodLines, {0});
    MMVARI2->invoke(mmvari::MethodClockRef, {kCarrierHz, ClkSampleFreq});
    MMVARI2->invoke(mmvari::MethodLines, {kPoints});
    Label1->setText(settings::hzText(ClkSampleFreq));
    Label3->show();
    Label4->setText(QStringLiteral("0ppm"));
    Label6->show();
    Picture1->update();
}

void CLKadj::stopSound1_Click() {
    if (ClkMainSoundStopped == 0) {
        ClkMainSoundStopped = 1;
        stopSound1->setChecked(true);
        terminal::engines::StopMmvariRun(mainControl());
    } else {
        ClkMainSoundStopped = 0;
        stopSound1->setChecked(false);
        MMVARI2->set(mmvari::IdRun, false);
        mainControl().set(mmvari::IdRun, true);
    }
}

namespace settings {

void OpenClockAdjust() {
    if (!pskMode() && core::g.OpMode != core::ModeMmvari) {
        ui::msgBox(QStringLiteral("Mode が PSKCore/MMVari でありません。"), ui::OkOnly);
        return;
    }
    forms::CLKadj().show();
}

} // namespace settings
