#include "sstv/SSTVForm.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/engines/ModeChange.h"

#include <QGridLayout>
#include <QMenuBar>

SSTVForm::SSTVForm()
    : Text3(new QLineEdit), Text16(new QLineEdit), Label40(new QLabel), Picture3(new PictureBox),
      Picture8(new PictureBox) {
    setWindowTitle(QStringLiteral("ZORVATEK SSTV"));
    Picture3->setScale(320, 256);
    Picture8->setScale(320, 256);
    Picture3->setMinimumSize(320, 256);
    Picture8->setMinimumSize(320, 256);
    Text3->setReadOnly(true);
    Text3->hide();
    auto* grid = new QGridLayout(this);
    grid->addWidget(Picture3, 0, 0);
    grid->addWidget(Picture8, 0, 1);
    grid->addWidget(Text16, 1, 0);
    grid->addWidget(Label40, 1, 1);
    grid->addWidget(Text3, 2, 0, 1, 2);
    buildMenus();
    grid->setMenuBar(menuBar);
}

void SSTVForm::buildMenus() {
    menuBar = new QMenuBar(this);
    QMenu* mode = menuBar->addMenu(QStringLiteral("モード"));
    const char* modes[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)", "RTTY", "CW", "SSTV"};
    for (int i = 0; i < 6; ++i) {
        PSKMODE[std::size_t(i)] = mode->addAction(QString::fromLatin1(modes[i]));
        PSKMODE[std::size_t(i)]->setCheckable(true);
        connect(PSKMODE[std::size_t(i)], &QAction::triggered, this, [this, i] { PSKMODE_Click(i); });
    }
    PSKMODE[core::ModeCw]->setVisible(false);
    PSKMODE[core::ModeSstv]->setChecked(true);
    QMenu* sub = mode->addMenu(QStringLiteral("MMVARI"));
    const char* subs[] = {"GMSK",      "FSK",       "FSK-W",     "BPSK",     "bpsk(STD)",
                          "rtty(LSB)", "rtty(USB)", "mfsk(LSB)", "mfsk(USB)"};
    for (int i = 10; i <= 18; ++i) {
        mmvMODE[std::size_t(i)] = sub->addAction(QString::fromLatin1(subs[i - 10]));
        connect(mmvMODE[std::size_t(i)], &QAction::triggered, this, [this, i] { mmvMODE_Click(i); });
    }
}

// The rig port comes back with the window: polling restarts and the rig
// takes the mode.
void SSTVForm::Form_Load() {
    if (rig::g.RigPortName != QLatin1String("NONE")) rig::RigOpenPort();
}

// The main window that follows opens the port again.
void SSTVForm::Form_Unload() {
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
}

namespace {

void showSstvTicked() {
    if (!forms::isLoaded<SSTVForm>()) return;
    SSTVForm& f = forms::SSTVForm();
    for (int i = 0; i < 6; ++i)
        f.PSKMODE[std::size_t(i)]->setChecked(i == core::g.OpMode);
}

// The window may be gone after the change; nothing of it is touched blindly.
void changeFromHere(int Index) {
    if (terminal::engines::AnyEngineTransmits()) return showSstvTicked();
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    terminal::engines::ChangeMode(Index);
    core::PutIniText(QStringLiteral("PSKCFG"), QStringLiteral("LastMode"), core::g.LastModeText);
    if (!forms::isLoaded<SSTVForm>()) return;
    showSstvTicked();
    // No change was made: the window keeps its rig port.
    if (rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPortOpen == 0) rig::RigOpenPort();
}

} // namespace

void SSTVForm::PSKMODE_Click(int Index) {
    changeFromHere(Index);
}

void SSTVForm::mmvMODE_Click(int Index) {
    changeFromHere(Index);
}
