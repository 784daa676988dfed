#include "startup/AboutZORVATEK.h"

#include "core/Globals.h"
#include "core/Version.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvRoutines.h"
#include "startup/VersionLabels.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLayout>

AboutZORVATEK::AboutZORVATEK()
    : Timer3(new QTimer(this)), Timer6(new QTimer(this)), Command1(new QPushButton(QStringLiteral("OK"))),
      Picture1(new PictureBox) {
    setWindowTitle(QStringLiteral("Version"));
    Timer6->setInterval(300);
    Timer6->start();
    Picture1->setBackColor(QColor(0x00, 0x40, 0x80));
    Picture1->setFixedSize(twips::toPx(1200), twips::toPx(1200));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Picture1, 0, 3, 4, 1);
    startup::AddCaption(grid, QStringLiteral("ZORVATEK"), 0, 0)
        ->setStyleSheet(QStringLiteral("font-weight: bold"));
    startup::AddVersionRows(grid, 1,
                            {
                                {QStringLiteral("ZORVATEK.EXE"), {}, &Label6},
                                {QStringLiteral("PSKCore.DLL"), QStringLiteral("by QQ9CC"), &Label2},
                                {QStringLiteral("Hamlog32.DLL"), QStringLiteral("by QQ9DDD"), &Label10},
                                {QStringLiteral("MMTTY.EXE"), QStringLiteral("by QQ9BBB"), &Label12},
                                {QStringLiteral("SSTVeng.DLL"), QStringLiteral("by QQ9BBB"), &Label15},
                                {QStringLiteral("MMVARI.OCX"), QStringLiteral("by QQ9BBB"), &Label18},
                            });
    grid->addWidget(Command1, 7, 3);

    connect(Timer3, &QTimer::timeout, this, &AboutZORVATEK::Timer3_Timer);
    connect(Timer6, &QTimer::timeout, this, &AboutZORVATEK::Timer6_Timer);
    connect(Command1, &QPushButton::clicked, this, &AboutZORVATEK::Command1_Click);
}

void AboutZORVATEK::Form_Load() {
    Label2->setText(core::DllVersionText(pskcore::lib().fnGetDLLVersion()));
    Label6->setText(core::ProgramVersionText());
    Label10->setText(core::HamlogVersionText(static_cast<unsigned>(hamlog::GetThdllVersion())));
    Label15->setText(sstv::SstvEngineString(sstveng::lib().mmsGetVersion()));
}

void AboutZORVATEK::Form_Activate() {
    Label12->setText(core::ScopeLibraryVersionText(true));
    Label18->setText(mmvariVersion());
    // The window grows to texts that are longer than the last ones.
    layout()->activate();
    adjustSize();
}

// The multi-mode control's version while it is the engine in use, else "0".
QString AboutZORVATEK::mmvariVersion() {
    QVariant version;
    if (core::g.MmvariActive != 1 || !forms::isLoaded<PSK31MAIN>() ||
        !forms::PSK31MAIN().MMVARI->get(mmvari::IdVersion, version))
        return QStringLiteral("0");
    return version.toString();
}

void AboutZORVATEK::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void AboutZORVATEK::closeEvent(QCloseEvent* e) {
    // The window carries timers that must outlive the dialog: close only hides.
    e->ignore();
    hide();
}

void AboutZORVATEK::Command1_Click() {
    hide();
}

void AboutZORVATEK::Timer3_Timer() {
    if (core::g.OpMode == core::ModeSstv) {
        forms::SSTVForm().Text3->hide();
    } else {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.Text3->hide();
        main.Text3->setText(QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。"));
        main.Text12->hide();
    }
    Timer3->stop();
    core::g.StatusMessage.clear();
}

void AboutZORVATEK::Timer6_Timer() {
    Timer6->stop();
    const int mode = core::g.OpMode;
    // The PSK core library takes the PTT port only while it is the engine in use.
    if (mode == core::ModeBpsk || mode == core::ModeQpskUsb || mode == core::ModeQpskLsb) {
        const int port = core::WholeNumber(core::g.PttPortNumber).value_or(0);
        const int control = core::WholeNumber(core::g.PttPortControl).value_or(0);
        if (pskcore::lib().fnSetComPort(port, control) == 0 && control > 0)
            ui::msgBox(QStringLiteral("COMport Can Not Open Port=") + core::g.PttPortNumber +
                           QStringLiteral("が使えません。TM6"),
                       ui::OkOnly);
    } else if (mode == core::ModeSstv) {
        SSTVForm& sstv = forms::SSTVForm();
        sstv.Picture8->update();
        sstv.Picture3->update();
    }
}
