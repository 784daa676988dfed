#include "settings/CFGSHEET.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "platform/NotBuilt.h"
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
    notbuilt::hold({Check5, Check6});
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
        main.Timer2->setInterval(10);
        main.Timer2->start();
        main.show();
        if (finishItem) main.Text5->setFocus();
        g.FirstRunSetup = 0;
    }
}
