// The contest serial number (Text11 with its spin VScroll4), shown with three
// digits and stored at once, and the transverter switch TRVon.
#include "terminal/receive/ContestNumber.h"

#include "core/ini/IniValues.h"
#include "rig/RigGlobals.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kHighestNumber = 32766;

} // namespace

int contestNumberOf(const QString& text) {
    static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?\\d+(\\.\\d*)?)"));
    const QRegularExpressionMatch m = leading.match(text);
    if (!m.hasMatch()) return 0;
    const double n = m.captured(1).toDouble();
    if (n >= kHighestNumber) return kHighestNumber;
    return std::max(0, terminal::displays::nearest(n));
}

void PSK31MAIN::Text11_Change() {
    if (Text11->text().isEmpty()) return;
    VScroll4->setValue(contestNumberOf(Text11->text()));
}

void PSK31MAIN::VScroll4_Change() {
    QString text = QString::number(VScroll4->value());
    if (text.size() < 3) text = QString(3 - text.size(), QLatin1Char('0')) + text;
    Text11->setText(text);
    Text11->setCursorPosition(int(text.size()));
    core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", Text11->text());
}

void PSK31MAIN::TRVon_Click() {
    const bool on = rig::g.TransverterOn != QLatin1String("1");
    TRVon->setChecked(on);
    rig::g.TransverterOn = on ? QStringLiteral("1") : QStringLiteral("0");
    core::PutIniText(QStringLiteral("RIG_CON_CFG"), "TRVon", rig::g.TransverterOn);
}

void PSK31MAIN::connectContestNumber() {
    connect(Text11, &QLineEdit::textChanged, this, &PSK31MAIN::Text11_Change);
    connect(VScroll4, &QScrollBar::valueChanged, this, &PSK31MAIN::VScroll4_Change);
    connect(TRVon, &QAction::triggered, this, &PSK31MAIN::TRVon_Click);
}
