// Connects the engine panels' controls to their handlers.
#include "platform/forms/windows/WindowFilter.h"
#include "settings/dialogs/CFG_MMTTY.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace terminal::panels {
namespace {

// Mouse releases over the RTTY switch buttons (any button), and clicks on the
// shift label and the small box of the multi-mode panel.
class PanelFilter : public forms::WindowFilter {
  public:
    explicit PanelFilter(PSK31MAIN& w) : WindowFilter(&w), w_(w) {
        for (int k = 10; k <= 17; ++k)
            watch(w.Command13[k]);
        watch(w.Label36);
        watch(w.Text9);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto* m = static_cast<QMouseEvent*>(e);
        if (!widget->isEnabled() || !widget->rect().contains(m->position().toPoint())) return false;
        if (watched == w_.Label36) {
            if (m->button() == Qt::LeftButton) Label36_Click();
        } else if (watched == w_.Text9) {
            if (m->button() == Qt::LeftButton) Text9_Click();
        } else {
            for (int k = 10; k <= 17; ++k)
                if (watched == w_.Command13[k]) Command13_MouseUp(k, m->button());
        }
        return false;
    }

  private:
    PSK31MAIN& w_;
};

void connectRtty(PSK31MAIN& w) {
    QObject::connect(w.Command12, &QPushButton::clicked, &w, [] { Command12_Click(); });
    QObject::connect(w.Command14, &QPushButton::clicked, &w, [] { Command14_Click(); });
    QObject::connect(w.Command21, &QPushButton::clicked, &w, [] { Command21_Click(); });
    QObject::connect(w.Command24, &QPushButton::clicked, &w, [] { settings::OpenMmttyDialog(); });
    QObject::connect(w.List5, &QListWidget::itemClicked, &w, [] { List5_Click(); });
    const std::array<QAction*, 4> shifts = {w.ShiftFree, w.ShiftFix, w.ShiftHAM, w.ShiftFSK};
    for (int m = 0; m < 4; ++m)
        QObject::connect(shifts[m], &QAction::triggered, &w, [m] { ShiftMenu_Click(m); });
}

void connectMmvari(PSK31MAIN& w) {
    // The operator's choice, also of the entry already shown; the system's own
    // selections run the handler through SelectModeEntry. A new sub-mode ends
    // a transmission or repeat under way, as the mode menu does.
    QObject::connect(w.CBMode, &QComboBox::activated, &w, [] {
        engines::EndTransmission();
        CBMode_Click();
    });
    QObject::connect(w.List2, &QListWidget::itemClicked, &w, [] { List2_Click(); });
    for (int k = 0; k < 8; ++k)
        QObject::connect(w.Command19[k], &QPushButton::clicked, &w, [k] { Command19_Click(k); });
    QObject::connect(w.Command22, &QPushButton::clicked, &w, [] { Command22_Click(); });
    QObject::connect(w.Command23, &QPushButton::clicked, &w, [] { Command23_Click(); });
}

} // namespace

void connectEnginePanels(PSK31MAIN& w) {
    new PanelFilter(w);
    connectRtty(w);
    connectMmvari(w);
    QObject::connect(w.Command7, &QPushButton::clicked, &w, [] { Command7_Click(); });
    QObject::connect(w.Command9, &QPushButton::clicked, &w, [] { Command9_Click(); });
}

} // namespace terminal::panels
