#include "logwindows/lookups/CheckCallSign.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniStore.h"
#include "log/CallParts.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogCharacters.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"

#include <QLineEdit>

namespace logwindows {

CallCheck callCheck;

namespace {

// The entry is emptied for the new station, unless a stored record is on show
// or the check only searches.
void prepareEntry() {
    if (logbook::g.CheckKeepsEntry) return;
    TEMP_LOG& log = forms::TEMP_LOG();
    for (QLineEdit* box : {log.Text9, log.Text10, log.Text12, log.Text13, log.Text14})
        box->clear();
}

QString resultText() {
    const logbook::Globals& g = logbook::g;
    QString text = g.FirstQsoFlag == 1 ? QStringLiteral("１ｓｔ　ＱＳＯ　です。") : QString();
    if (g.JcaChecked != 1) return text;
    switch (g.JcaState) {
    case 1:
        return text + QStringLiteral("１ｓｔ　ＪＣＡです。");
    case 2:
        return text + QStringLiteral("ＪＣＡ=Wkdなるも未Cfmです。");
    case 3:
        return text + QStringLiteral("ＪＣＡとしては Cfm です。");
    default:
        return text;
    }
}

void showResult() {
    const QString text = resultText();
    if (text.isEmpty()) return;
    core::g.StatusMessage = text;
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    forms::TEMP_LOG().setWindowTitle(text);
}

// An empty call sends the operator back to the call box; a check to where the
// QSO goes on.
void focusAfter(bool callBox) {
    const QsoBoxes boxes = operatingBoxes();
    QWidget* box = callBox ? boxes.call : boxes.afterCheck;
    if (box) box->setFocus();
}

void endCheck() {
    logbook::g.FirstQsoFlag = 0;
    logbook::g.JcaState = 0;
    logbook::g.CheckKeepsEntry = false;
    callCheck.CallSearchOnly = 0;
}

bool lookUpCall(const QString& entered) {
    // The list windows (and a log entry window loaded on the way) read and
    // store their settings within one reading and one write of the file.
    core::IniBatch together;
    logbook::Globals& g = logbook::g;
    g.CheckKeepsEntry = g.LogEditMode == 1 || callCheck.CallSearchOnly == 1;
    prepareEntry();
    const QString call = entered.trimmed();
    callCheck.Call = call;
    if (StatusPanels* status = operatingBoxes().status) status->setText(1, {});
    const logbook::CallSplit split = logbook::splitCall(call);
    g.WkdCall = split.WkdCall;
    g.PrefixCall = split.PrefixCall;
    g.SlashPos = split.SlashPos;
    if (g.WkdCall.trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("CallSign を記入してください"), ui::OkOnly);
        focusAfter(true);
        endCheck();
        return false;
    }
    forms::unload<QSODATA>();
    LookupHamlogCall(g.WkdCall.toUpper());
    forms::unload<CODE_LIST>();
    g.DistrictLongitudeOn = 0;
    if (g.HamlogJcaOn == 1)
        ReadJcaRecord(g.WkdCall.trimmed().toUpper());
    else
        g.JcaChecked = 0;
    LookupPrefix(g.PrefixCall);
    showResult();
    focusAfter(false);
    endCheck();
    return true;
}

} // namespace

bool CheckCallSign(const QString& call) {
    logbook::g.PrefixCall.clear();
    // A call typed into the call box is the new station's once it is checked;
    // a No keeps the QSO before, and nothing is looked up.
    if (callCheck.CallSearchOnly != 1 && !SettleTypedCall(DropCause::Lookup)) return true;
    switch (logbook::g.HamlogLink) {
    case 1:
        return lookUpCall(call);
    case 2:
        // A QSO handed over goes only with the operator's word; a No keeps
        // it, and the call checked stays in its box.
        if (!MaySendAnotherCall(textOf(operatingBoxes().call)) || !QsoBoxesHold()) return true;
        HamlogSendQso();
        logbook::g.FirstQsoFlag = 0;
        logbook::g.JcaState = 0;
        return true;
    default:
        return true;
    }
}

} // namespace logwindows
