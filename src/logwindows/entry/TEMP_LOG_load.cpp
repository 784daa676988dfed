// The log entry window's load and the input-method switches of its boxes.
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "core/lists/ListFiles.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/Paths.h"

#include <QFile>
#include <QMoveEvent>

namespace {

int storedTwips(const std::optional<QString>& stored) {
    const std::optional<int> n = stored ? core::WholeNumber(*stored) : std::nullopt;
    return n.value_or(0);
}

bool switchOn(const QString& key) {
    const std::optional<QString> v = core::IniStored(QStringLiteral("PSKCFG"), key);
    return v && *v != QLatin1String("0");
}

void applyIme(QLineEdit* box, QLabel* caption, int on) {
    box->setAttribute(Qt::WA_InputMethodEnabled, on == 1);
    caption->setAutoFillBackground(on == 1);
}

} // namespace

void TEMP_LOG::Form_Load() {
    core::IniBatch readOnce;
    logbook::Globals& g = logbook::g;
    g.ExportFromRecNo = 0;
    g.ExportToRecNo = 0;
    placeFromSettings();
    readImeSwitches();
    setWindowTitle(QStringLiteral("PSKログ LogData=>") + paths::programFolder() +
                   QStringLiteral("\\PSK31_TMPLOG.TXT"));
    g.EqslType = logbook::settledEqslType(g.EqslType);
    Command7->setText(logbook::eqslButtonCaption(g.EqslType));
    Label9->setStyleSheet(QStringLiteral("color: #FF00FF"));
    HLQ->setVisible(g.QslPrintProgKind == 1);
    HLQ->setEnabled(false);
    QSOEND->setEnabled(true);
    const bool contest = core::g.ContestMode == 1;
    Contest->setVisible(contest);
    Contest->setEnabled(contest);
    LSave->setVisible(!contest);
    LSave->setEnabled(!contest);
    g.LastBand = core::IniValueOr(QStringLiteral("Hamlog"), QStringLiteral("LastBand"), QStringLiteral("0"));
    Combo1->setEditText(logwindows::bandOfIndex(g.LastBand));
    Label17->setText(Combo1->currentText());
    const logwindows::QsoBoxes boxes = logwindows::operatingBoxes();
    Text5->setText(logwindows::textOf(boxes.rst));
    Text12->setText(logwindows::textOf(boxes.name));
    Text8->setText(core::g.ModeDisplayText);
    Text11->setText(g.QslMark);
    g.LogEntrySaved = 0;
    core::g.SearchFolder = paths::programFolder();
    fillOtherModes();
}

// A missing place puts the window at the top left; a place off the screen
// (saved while the window was minimised, or on a larger screen) comes back
// onto it as every window's does.
void TEMP_LOG::placeFromSettings() {
    const QString section = QStringLiteral("CFGPOS");
    const std::optional<QString> top = core::IniStored(section, QStringLiteral("LOGPOSTop"));
    const std::optional<QString> left = core::IniStored(section, QStringLiteral("LOGPOSLeft"));
    winframe::placeOnScreen(this, top ? storedTwips(left) : 0, storedTwips(top));
}

void TEMP_LOG::readImeSwitches() {
    logbook::Globals& g = logbook::g;
    g.QthImeOn = switchOn(QStringLiteral("QTHIME_SW")) ? 1 : 0;
    SetQthImeMode();
    g.Rem1ImeOn = switchOn(QStringLiteral("Rem1IME_SW")) ? 1 : 0;
    SetRem1ImeMode();
    g.Rem2ImeOn = switchOn(QStringLiteral("Rem2IME_SW")) ? 1 : 0;
    SetRem2ImeMode();
}

void TEMP_LOG::SetQthImeMode() {
    applyIme(Text13, Label12, logbook::g.QthImeOn);
}

void TEMP_LOG::SetRem1ImeMode() {
    applyIme(Text14, Label14, logbook::g.Rem1ImeOn);
}

void TEMP_LOG::SetRem2ImeMode() {
    applyIme(Text15, Label15, logbook::g.Rem2ImeOn);
}

void TEMP_LOG::fillOtherModes() {
    List1->clear();
    const QString found = core::FindFileOnPath(QStringLiteral("otherMODE.DAT"));
    if (found.isEmpty()) return;
    QByteArray bytes;
    if (core::ReadListFileBytes(found, bytes) != core::ListFileRead::Read) return;
    List1->addItems(core::OtherModeEntries(bytes));
}
