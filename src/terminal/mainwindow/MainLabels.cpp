#include "terminal/mainwindow/MainLabels.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/os/Mixer.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/HelpPage.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/MmvariPanel.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <cmath>
#include <functional>

namespace terminal::mainwindow {

namespace {

constexpr int kQthContestLength = 28;

// A click: the left button let go over the control.
class Clicks : public QObject {
  public:
    Clicks(QWidget* control, std::function<void()> onClick) : QObject(control), onClick_(std::move(onClick)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        const auto* m = static_cast<QMouseEvent*>(e);
        auto* control = static_cast<QWidget*>(watched);
        if (m->button() == Qt::LeftButton && control->rect().contains(m->position().toPoint())) onClick_();
        return false;
    }

  private:
    std::function<void()> onClick_;
};

// In contest mode the QTH box takes the exchange in upper case.
class QthContestKeys : public QObject {
  public:
    explicit QthContestKeys(QLineEdit* box) : QObject(box), box_(box) { box->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || core::g.ContestMode == 0) return false;
        ui::setTextLimit(box_, kQthContestLength);
        const auto* key = static_cast<QKeyEvent*>(e);
        const QString text = key->text();
        // Ctrl+V and the like are commands, not letters.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        if (text.size() != 1 || text[0] < QLatin1Char('a') || text[0] > QLatin1Char('z')) return false;
        box_->insert(text.toUpper());
        return true;
    }

  private:
    QLineEdit* box_;
};

// The shortest decimal text of a double, as the read-outs show it.
QString shortest(double v) {
    return QString::number(v, 'g', 15);
}

void refuseWhileRecording() {
    ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
}

void addMixerMenu(PSK31MAIN& w) {
    auto* volume = new QMenu(QStringLiteral("音量"), &w);
    w.VOLTX = volume->addAction(QStringLiteral("送信音量 調整"));
    w.VOLRX = volume->addAction(QStringLiteral("受信音量 調整"));
    // Beside the help menu, which holds the version item.
    auto* helpMenu = qobject_cast<QMenu*>(w.HLP->parent());
    w.menuBar()->insertMenu(helpMenu ? helpMenu->menuAction() : nullptr, volume);
    QObject::connect(w.VOLTX, &QAction::triggered, &w, [] { mixer::open(mixer::Side::Transmit); });
    QObject::connect(w.VOLRX, &QAction::triggered, &w, [] { mixer::open(mixer::Side::Receive); });
}

} // namespace

void RigRetune(bool mmttyPreset) {
    if (core::g.SatelliteMode == 1 || rig::g.RigPortName == QLatin1String("NONE")) return;
    rig::g.RigQsyRequest = 1;
    rig::RigReadStatus();
    if (mmttyPreset && core::MmttyProgram().isRunning())
        core::MmttyProgram().postCommand(mmtty::CmdHamPreset, 0);
}

void HScroll1_Change(PSK31MAIN& w, int value) {
    w.DataSyncBase = value;
    w.Picture1->setScale(value, w.Picture1->scaleHeight());
    w.Label24->setText(shortest(value / 8.0));
    w.Label26->setText(shortest(std::round(8000.0 / value * 1000.0) / 1000.0));
}

void Label3_Click(PSK31MAIN& w) {
    if (w.List4->isVisible()) {
        w.List4->hide();
        return;
    }
    w.tw.setLeft(w.List4, 10800);
    w.tw.setTop(w.List4, 5280);
    w.List4->show();
    w.List4->raise();
    w.List4->setFocus();
}

void MLTRCV_Click(PSK31MAIN&) {
    if (core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw) return;
    if (core::g.RecPlayState == 1) {
        refuseWhileRecording();
        return;
    }
    panels::StartMultiChannel();
}

void connectMainLabels(PSK31MAIN& w) {
    new Clicks(w.Label1, [] {
        if (macros::g.MacroMoveMode != 1) logwindows::CheckCallSign(core::g.HisCall);
    });
    new Clicks(w.Label11, [] { RigRetune(false); });
    new Clicks(w.Label16, [] { RigRetune(false); });
    new Clicks(w.Label35, [] { RigRetune(true); });
    const auto closeCwId = [&w] {
        w.Frame2->hide();
        w.Text5->setFocus();
    };
    new Clicks(w.Frame2, closeCwId);
    new Clicks(w.Label4, closeCwId);
    new Clicks(w.Label3, [&w] { Label3_Click(w); });
    QObject::connect(w.List4, &QListWidget::itemClicked, &w, [&w](QListWidgetItem* item) {
        logwindows::PutIntoQsoBox(w.Text7, item->text());
        w.List4->hide();
        w.Text1->setFocus();
    });
    QObject::connect(w.HScroll1, &QScrollBar::valueChanged, &w, [&w](int v) { HScroll1_Change(w, v); });
    new QthContestKeys(w.Text14);
    QObject::connect(w.MLTRCV, &QAction::triggered, &w, [&w] { MLTRCV_Click(w); });
    QObject::connect(w.HLP, &QAction::triggered, &w, [] { HLP_Click(); });
    addMixerMenu(w);
}

} // namespace terminal::mainwindow
