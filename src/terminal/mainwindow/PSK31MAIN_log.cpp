// The main window's log button, the QTH label, and the QSO boxes' changes
// that keep the log entry window in step with the library link.
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/windows/WindowFilter.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/PaneMarks.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

bool libraryLink() {
    return logbook::g.HamlogLink == 1;
}

// A click on the QTH label: the left button let go over it.
class QthLabelClick : public forms::WindowFilter {
  public:
    explicit QthLabelClick(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        const auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton && w_.Label47->rect().contains(m->position().toPoint()))
            w_.Label47_Click(m->globalPosition().toPoint());
        return false;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::Command5_Click() {
    logwindows::LogButtonPress([this] { VScroll4->setValue(VScroll4->value() + 1); });
}

// With the library link the QTH goes to the log entry as the operator picks in
// the pop-up; with the window link the logging program is asked for its QTH.
void PSK31MAIN::Label47_Click(const QPoint& globalPos) {
    if (logbook::g.HamlogLink == 1) {
        QTHPST->popup(globalPos);
    } else if (logbook::g.HamlogLink == 2) {
        logbook::g.HamlogSending = 0;
        logwindows::HamlogAskQth();
    }
}

void PSK31MAIN::Text5_Change() {
    core::g.HisCall = Text5->text().trimmed();
    if (!terminal::receive::CheckLogScrolling(Text5, &TEMP_LOG::Text1)) return;
    logwindows::DropFillsOfOtherCalls(core::g.HisCall);
    if (!libraryLink()) return;
    TEMP_LOG& log = forms::TEMP_LOG();
    // The log window copies its own call here as it is typed; setting the same
    // text again would throw its cursor to the end in the middle of typing.
    if (log.Text1->text() != core::g.HisCall) log.Text1->setText(core::g.HisCall);
    log.Text2->clear();
    if (logbook::g.LogEditMode == 0) logwindows::SetQsoTime();
}

void PSK31MAIN::Text6_Change() {
    if (!terminal::receive::CheckLogScrolling(Text6, &TEMP_LOG::Text12) || !libraryLink()) return;
    QLineEdit* name = forms::TEMP_LOG().Text12;
    if (name->text() != Text6->text()) name->setText(Text6->text());
}

void PSK31MAIN::Text7_Change() {
    if (!terminal::receive::CheckLogScrolling(Text7, &TEMP_LOG::Text5) || !libraryLink()) return;
    QLineEdit* rst = forms::TEMP_LOG().Text5;
    if (rst->text() != Text7->text()) rst->setText(Text7->text());
}

void PSK31MAIN::HLDAT_VIEW_Click() {
    logbook::g.HamlogViewerOn = QStringLiteral("YES");
    logwindows::ShowLogViewer();
}

void PSK31MAIN::connectLogHandlers() {
    connect(HLDAT_VIEW, &QAction::triggered, this, &PSK31MAIN::HLDAT_VIEW_Click);
    connect(Command5, &QPushButton::clicked, this, &PSK31MAIN::Command5_Click);
    (new QthLabelClick(*this))->watch(Label47);
    connect(Text5, &QLineEdit::textChanged, this, &PSK31MAIN::Text5_Change);
    connect(Text6, &QLineEdit::textChanged, this, &PSK31MAIN::Text6_Change);
    connect(Text7, &QLineEdit::textChanged, this, &PSK31MAIN::Text7_Change);
}
