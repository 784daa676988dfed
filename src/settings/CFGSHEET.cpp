#include "settings/CFGSHEET.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "platform/NotBuilt.h"
#include "terminal/displays/MultiChPos.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CFGSHEET::CFGSHEET()
    : SSTab1(new QTabWidget), Text1(new QLineEdit), Check5(new QCheckBox(QStringLiteral("HORZ"))),
      Check6(new QCheckBox(QStringLiteral("TOPV"))), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("環境設定"));
    CFGEND = menus->addAction(QStringLiteral("設定完了"));
    CFGHLP = menus->addAction(QStringLiteral("Ｈｅｌｐ"));
    notbuilt::hold(this, {CFGHLP});
    connect(Check5, &QCheckBox::clicked, this, &CFGSHEET::Check5_Click);
    connect(Check6, &QCheckBox::clicked, this, &CFGSHEET::Check6_Click);
    auto* display = new QWidget;
    auto* displayLayout = new QVBoxLayout(display);
    displayLayout->addWidget(Check5);
    displayLayout->addWidget(Check6);
    displayLayout->addStretch();
    SSTab1->addTab(display, QStringLiteral("画面要素の設定"));
    SSTab1->addTab(new QWidget, QStringLiteral("サウンド要素の設定"));
    SSTab1->addTab(new QWidget, QStringLiteral("ＬＯＧ 関係の設定"));
    SSTab1->addTab(new QWidget, QStringLiteral("リグ制御関係の設定"));
    auto* frame2 = new QGroupBox(QStringLiteral("Call Sign."));
    auto* callLayout = new QFormLayout(frame2);
    callLayout->addRow(Text1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(frame2);
    layout->addWidget(SSTab1);
    resize(560, 420);
    connect(CFGEND, &QAction::triggered, this, [this] {
        finish(true);
        close();
    });
}

void CFGSHEET::Form_Load() {
    const std::optional<QString> call = core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("USERCALL"));
    Text1->setText(call.value_or(QStringLiteral("NO CALL")));
    const QString multi = QStringLiteral("MultiDSP");
    Check5->setChecked(core::IniStored(multi, QStringLiteral("HORZ")) == QStringLiteral("YES"));
    Check6->setChecked(core::IniStored(multi, QStringLiteral("TOPV")) == QStringLiteral("YES"));
}

void CFGSHEET::Check5_Click() {
    const QString text = Check5->isChecked() ? QStringLiteral("YES") : QStringLiteral("NO");
    core::PutIniText(QStringLiteral("MultiDSP"), QStringLiteral("HORZ"), text);
    multi_ch& m = forms::multi_ch();
    m.MultiHorizontalText = text;
    m.MultiHorizontal = Check5->isChecked() ? 1 : 0;
    terminal::displays::ArrangeMultiCh();
}

void CFGSHEET::Check6_Click() {
    const QString text = Check6->isChecked() ? QStringLiteral("YES") : QStringLiteral("NO");
    core::PutIniText(QStringLiteral("MultiDSP"), QStringLiteral("TOPV"), text);
    if (forms::isLoaded<multi_ch>()) forms::multi_ch().MultiOnTop = text;
}

void CFGSHEET::closeEvent(QCloseEvent* e) {
    if (!finished_) finish(false);
    e->accept();
    forms::unload<CFGSHEET>();
}

void CFGSHEET::finish(bool finishItem) {
    finished_ = true;
    core::Globals& g = core::g;
    g.UserCall = Text1->text();
    core::PutIniText(QStringLiteral("PSKCFG"), QStringLiteral("USERCALL"), g.UserCall);
    core::PutIniNumber(QStringLiteral("PSKCFG"), QStringLiteral("Audio_Center_Freq"), g.AudioCenterFreq);
    if (g.OpMode != core::ModeSstv) {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.Label7->setText(g.UserCall);
        g.DefaultCwId = QStringLiteral("DE ") + g.UserCall;
        main.Combo1->setEditText(g.DefaultCwId);
        main.Command3->setToolTip(g.DefaultCwId);
    }
    if (g.FirstRunSetup == 1) {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.finishFirstRun();
        if (finishItem) main.Text5->setFocus();
        g.FirstRunSetup = 0;
    }
}
