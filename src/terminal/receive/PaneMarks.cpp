#include "terminal/receive/PaneMarks.h"

#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/os/Clock.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCheckBox>
#include <QVariant>

namespace terminal::receive {
namespace {

// Each QSO box's text as its last change left it.
constexpr const char* kTextBefore = "zvTextBefore";

QColor storedColour(const QString& text, const QColor& fallback) {
    std::uint32_t ref = 0;
    return colour::parseRef(text, &ref) ? colour::fromRef(ref) : fallback;
}

void appendMark(const QString& prefix, bool lineBreakAfter) {
    if (core::g.OpMode == core::ModeSstv) return;
    MakeTimeStamp();
    const QString mark = QStringLiteral("\r\n") + prefix + core::g.TimeStampText +
                         (lineBreakAfter ? QStringLiteral("\r\n") : QString());
    RichTextPane* pane = forms::PSK31MAIN().RichTextBox1;
    // RxMarkPos holds the pane's length before its last received character;
    // the mark goes in with the pane's own cursor, so that a click or a
    // selection of the operator's stays where it is.
    pane->setSelColor(storedColour(core::g.TxAreaBackColor, Qt::gray));
    pane->insertTextAt(core::g.RxMarkPos + 1, mark);
    pane->setSelColor(storedColour(core::g.RxForeColor, Qt::black));
    core::g.RxMarkPos = pane->length();
}

} // namespace

void MakeTimeStamp() {
    if (core::g.OpMode == core::ModeSstv) return;
    const bool utc = forms::PSK31MAIN().Check2->checkState() == Qt::Checked;
    core::g.TimeZoneOffsetH = utc ? -9 : 0;
    const QDateTime shown = sysclock::jstNow().addSecs(core::g.TimeZoneOffsetH * 3600);
    core::g.TimeStampText = QStringLiteral("<< ") + core::GeneralDateTime(shown) + QLatin1Char('/') +
                            (utc ? QStringLiteral("UTC") : QStringLiteral("JST")) + QStringLiteral(" >>");
}

void MarkRxStart() {
    appendMark(QStringLiteral("RX-"), true);
}

void MarkTxStart() {
    appendMark(QStringLiteral("TX-"), false);
}

bool CheckLogScrolling(QLineEdit* changed, QLineEdit* TEMP_LOG::*recordBox) {
    // The record's text put back changes the box again: nothing more is asked.
    static bool puttingBack = false;
    if (puttingBack) return false;
    // What the box held before this change, for a No to put back: kept with
    // every link, so that a link chosen anew finds the box's last text.
    const QVariant before = changed->property(kTextBefore);
    changed->setProperty(kTextBefore, changed->text());
    if (logbook::g.HamlogLink != 1 || logbook::g.LogEditMode != 1) return true;
    if (logwindows::EntryUnsaved()) {
        if (!logwindows::AgreesToDropUnsaved()) {
            puttingBack = true;
            logwindows::PutBackQsoBox(changed, before.isValid() ? before.toString()
                                                                : (forms::TEMP_LOG().*recordBox)->text().trimmed());
            changed->setProperty(kTextBefore, changed->text());
            puttingBack = false;
            return false;
        }
    } else if (forms::isLoaded<TEMP_LOG>() && forms::TEMP_LOG().isVisible()) {
        // Said while the operator types a new call: the notice waits for no
        // answer, so that the rest of the call still reaches the box. A page
        // not on show turns without a word.
        logwindows::SayNewPage();
    }
    logwindows::StartLogEntry();
    return true;
}

} // namespace terminal::receive
