#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/DialogPlace.h"

#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "settings/dialogs/RecPlayValues.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/recording/RecordPlay.h"
#include "terminal/rxtext/RxTextFiles.h"
#include "terminal/rxtext/RxTextFormat.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const QString kNoFile = QStringLiteral("録音ファイル名がありません");
constexpr int kWidth = 3030;
constexpr int kHeight = 4800;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;

void colourText(QLineEdit* box, std::uint32_t ref) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, colour::fromRef(ref));
    box->setPalette(p);
}

// Recording failed to start: the sound card listens again, nothing records.
void backToListening() {
    terminal::recording::restartSoundCard();
    core::g.RecPlayState = 0;
    forms::PSK31MAIN().Text3->hide();
}

} // namespace

CFG_RecPlay::CFG_RecPlay()
    : Command28(new QPushButton(QStringLiteral("録音ﾌｧｲﾙ名指定"), this)), Text13(new QLineEdit(this)),
      Label45(new QLabel(QStringLiteral("録音時間(分)"), this)), Text9(new QLineEdit(this)),
      Check6(new QCheckBox(QStringLiteral("WavFile追加上書き"), this)),
      Label46(new QLabel(QStringLiteral("送信信号の録音を    ->"), this)),
      Option1{new QRadioButton(QStringLiteral("しない"), this),
              new QRadioButton(QStringLiteral("する"), this)},
      Command27(new QPushButton(QStringLiteral("設定値保存"), this)),
      Command29(new QPushButton(QStringLiteral("録音開始"), this)), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("録音設定"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    CLOSE_CFG = menus->addAction(QStringLiteral("閉じる"));
    Text13->setReadOnly(true);
    Text9->setToolTip(QStringLiteral("設定値は　1～1000 迄です"));
    Text9->installEventFilter(this);
    auto* group = new QButtonGroup(this);
    group->addButton(Option1[0], 0);
    group->addButton(Option1[1], 1);
    // Places in twips below the menu bar, as the dialog was laid out.
    auto place = [this](QWidget* c, int l, int t, int w, int h) {
        c->setGeometry(twips::toPx(l), menus->sizeHint().height() + twips::toPx(t), twips::toPx(w),
                       twips::toPx(h));
    };
    place(Command28, 120, 120, 2655, 375);
    place(Text13, 120, 600, 2655, 315);
    place(Label45, 120, 1080, 1500, 255);
    place(Text9, 1680, 1020, 1095, 315);
    place(Check6, 120, 1500, 2655, 315);
    place(Label46, 120, 1980, 2655, 255);
    place(Option1[0], 360, 2340, 1095, 315);
    place(Option1[1], 1560, 2340, 1095, 315);
    place(Command27, 120, 2880, 2655, 435);
    place(Command29, 120, 3480, 2655, 435);

    connect(Text9, &QLineEdit::textChanged, this, &CFG_RecPlay::Text9_Change);
    connect(Check6, &QCheckBox::toggled, this, &CFG_RecPlay::Check6_Click);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) Option1_Click(id);
    });
    connect(Command27, &QPushButton::clicked, this, &CFG_RecPlay::Command27_Click);
    connect(Command28, &QPushButton::clicked, this, &CFG_RecPlay::Command28_Click);
    connect(Command29, &QPushButton::clicked, this, &CFG_RecPlay::Command29_Click);
    connect(CLOSE_CFG, &QAction::triggered, this, &CFG_RecPlay::CloseRecPlayDialog);
}

void CFG_RecPlay::Form_Load() {
    settings::placeBeside(*this, forms::PSK31MAIN());
    resize(twips::toPx(kWidth), twips::toPx(kHeight));
}

void CFG_RecPlay::Form_Unload() {
    closing_ = true;
}

bool CFG_RecPlay::eventFilter(QObject* watched, QEvent* e) {
    // The length box takes digits only; Backspace too is refused.
    if (watched == Text9 && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const QString t = key->text();
        if (key->key() == Qt::Key_Backspace) return true;
        if (!t.isEmpty() && t[0].isPrint() && !(t[0] >= QLatin1Char('0') && t[0] <= QLatin1Char('9')))
            return true;
    }
    return QWidget::eventFilter(watched, e);
}

void CFG_RecPlay::showFileName(const QString& path) {
    const bool named = settings::namesWaveFile(path);
    Text13->setText(named ? path : kNoFile);
    colourText(Text13, named ? kBlack : kRed);
}

void CFG_RecPlay::Text9_Change() {
    const QString kept = settings::recordLengthText(Text9->text());
    if (kept != Text9->text()) {
        Text9->setText(kept);
        return;
    }
    core::g.RecTimeLen = kept.toInt();
}

void CFG_RecPlay::Check6_Click() {
    core::g.RecAppend = Check6->isChecked() ? 1 : 0;
}

void CFG_RecPlay::Option1_Click(int Index) {
    core::g.RecSpecText = Index == 1 ? QStringLiteral("1") : QStringLiteral("0");
    core::g.RecSpecCode = settings::recordingModeCode(core::g.RecSpecText);
}

void CFG_RecPlay::Command27_Click() {
    core::PutIniName(kCfg, QStringLiteral("RecFname"), core::g.WaveFilePath);
    core::PutIniText(kCfg, "RecTimelen", Text9->text());
    core::PutIniText(kCfg, "RecFappend", Check6->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    core::PutIniText(kCfg, "RecSpec", core::g.RecSpecText);
}

void CFG_RecPlay::Command28_Click() {
    core::g.RecFolder = terminal::rxtext::existingFolderOr(core::IniStored(kCfg, QStringLiteral("RecFOL")));
    const QString suggested =
        paths::join(core::g.RecFolder, settings::proposedRecordingName(sysclock::jstNow()));
    // The settings keep the whole name (RecFname): one they cannot hold is refused as it is chosen.
    QString chosen = core::IniHeldChoice(
        [&] {
            return ui::saveFileName(QStringLiteral("録音ﾃﾞｰﾀ保存"), suggested,
                                    QStringLiteral("録音ﾃﾞｰﾀ (*.WAV)"));
        },
        core::StoredPart::WholePath);
    // A cancelled choice leaves the file as it was.
    if (chosen.isEmpty()) return;
    chosen = terminal::rxtext::withExtension(chosen, QStringLiteral(".wav"));
    core::g.WaveFilePath = chosen;
    Text13->setText(chosen);
    colourText(Text13, kBlack);
    core::g.RecFileReady = 1;
    core::g.RecFolder = terminal::rxtext::folderOf(chosen);
    core::PutIniName(kCfg, QStringLiteral("RecFOL"), core::g.RecFolder);
}

void CFG_RecPlay::Command29_Click() {
    core::Globals& g = core::g;
    if (g.RecFileReady == 0) {
        ui::msgBox(QStringLiteral("録音ファイル名を指定して下さい。"), ui::OkOnly);
        g.RecPlayState = 0;
        return;
    }
    if (g.RecTimeLen < 1 || g.RecTimeLen > 1000) g.RecTimeLen = 1;
    pskcore::PskCore& lib = pskcore::lib();
    const int output = lib.fnSetOutputWavePath(g.WaveFilePath, g.RecTimeLen * 60, g.RecAppend);
    const QString refused = output == 41 ? QStringLiteral("can't open wave file for output")
                                         : terminal::recording::waveFileMessage(output);
    if (!refused.isEmpty()) {
        ui::msgBox(refused, ui::OkOnly);
        g.RecPlayState = 0;
        return;
    }
    terminal::recording::showMessageLine(QStringLiteral("ただ今録音中です。"));
    terminal::engines::StopPskSound();
    const int r = lib.fnStartSoundCardEx(g.MainHwnd, terminal::recording::soundCard(), 3, g.RecSpecCode);
    if (r != pskcore::StartOk) {
        if (r == 41)
            ui::msgBox(QStringLiteral("can't open wave file for output"), ui::OkOnly);
        else
            terminal::engines::ReportSoundCardStart(r);
        backToListening();
        return;
    }
    g.RecPlayState = 1;
    forms::letEventsRun();
    forms::unload<CFG_RecPlay>();
}

void CFG_RecPlay::CloseRecPlayDialog() {
    terminal::recording::enableRecordItems(true);
    core::g.RecPlayState = 0;
    forms::unload<CFG_RecPlay>();
    forms::PSK31MAIN().Text1->setFocus();
}

void CFG_RecPlay::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!closing_) CloseRecPlayDialog();
}
