#include "settings/dialogs/SoundClkADJ.h"

#include "core/ini/IniValues.h"
#include "platform/sstvengine/SstvEngine.h"
#include "settings/dialogs/DialogPlace.h"

#include <QCloseEvent>
#include <QGridLayout>

SoundClkADJ::SoundClkADJ()
    : Label1(new QLabel(QStringLiteral("基本サンプリング周波数"))), Label2(new QLabel),
      Label3(new QLabel(QStringLiteral("受信サンプリング周波数"))), Label4(new QLabel),
      Label5(new QLabel(QStringLiteral("送信時の周波数補正量"))), Label6(new QLabel), Label9(new QLabel),
      Label7(new QLabel(QStringLiteral("受信時の周波数補正量"))), Label8(new QLabel), Label10(new QLabel),
      Command1(new QPushButton(QStringLiteral("PSKCore へ反映させる"))), menus(new QMenuBar) {
    setWindowTitle(QStringLiteral("SoundClkADJ"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    tojiru = menus->addAction(QStringLiteral("閉じる"));
    Command1->setEnabled(false);
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menus);
    const QList<QList<QLabel*>> rows{
        {Label1, Label2}, {Label3, Label4}, {Label5, Label6, Label9}, {Label7, Label8, Label10}};
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            grid->addWidget(rows[r][c], r, c);
    grid->addWidget(Command1, int(rows.size()), 0, 1, 3);
    connect(Command1, &QPushButton::clicked, this, &SoundClkADJ::Command1_Click);
    connect(tojiru, &QAction::triggered, this, [] { forms::unload<::SoundClkADJ>(); });
}

// The readings are taken once, here; the button copies these.
void SoundClkADJ::Form_Load() {
    settings::placeBesideOwner(*this, settings::dialogOwner());
    sstveng::SstvEngine& engine = sstveng::lib();
    readings_.base = engine.mmsGetSampleFreq(3);
    readings_.rx = engine.mmsGetSampleFreq(2);
    readings_.txOffset = engine.mmsGetSampleFreq(1);
    const settings::SstvClockShown shown = settings::sstvClockShown(readings_);
    Label2->setText(shown.base);
    Label4->setText(shown.rx);
    Label6->setText(shown.txOffset);
    Label8->setText(shown.rxOffset);
    Label9->setText(shown.txPpm);
    Label10->setText(shown.rxPpm);
    Command1->setEnabled(shown.canApply);
}

void SoundClkADJ::Command1_Click() {
    const settings::PskClockKeys keys = settings::pskClockKeys(readings_);
    core::PutIniText(QStringLiteral("PSKCFG"), "SC_CLKADJRX", keys.rx);
    core::PutIniText(QStringLiteral("PSKCFG"), "SC_CLKADJTX", keys.tx);
}

void SoundClkADJ::closeEvent(QCloseEvent* e) {
    e->accept();
    forms::unload<::SoundClkADJ>();
}
