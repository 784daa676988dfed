#include "rig/RigSettings.h"

#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "core/ini/SettingRanges.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"

namespace rig {
namespace {

const QString kSection = QStringLiteral("RIG_CON_CFG");
// The poll times the settings sheet offers, and the one for a setting that is no time.
const core::StoredRange& pollTimes() {
    return *core::StoredRangeOf(kSection, QStringLiteral("Poll_Time"));
}

QString value(const QString& key, const QString& missing) {
    return core::IniValueOr(kSection, key, missing);
}

QString yesOrNo(const QString& key) {
    return value(key, QStringLiteral("NO")) == QLatin1String("YES") ? QStringLiteral("YES")
                                                                    : QStringLiteral("NO");
}

// Whole-number part of a stored number, 0 when there is none ("1500ms" gives 1500).
qint64 leadingInt(const QString& text) {
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+'))) ++end;
    while (end < t.size() && t[end].isDigit())
        ++end;
    return t.left(end).toLongLong();
}

} // namespace

// The range table's rule, the one start-up applies to the file.
int PollIntervalOf(const QString& stored) {
    const core::StoredRange& range = pollTimes();
    return core::CorrectedNumber(range, stored, range.fallback)
        .value_or(core::WholeNumber(stored).value_or(range.fallback));
}

QString TransverterIfTextOf(const QString& stored) {
    const std::optional<int> mhz = core::WholeNumber(stored);
    return mhz && *mhz >= 0 ? stored.trimmed() : QStringLiteral("22");
}

qint64 TransverterIfHzOf(const QString& text) {
    return leadingInt(text) * 1000000;
}

void ReadRigSettings() {
    // Read once at the start: its first opening of the port clears a key left behind.
    keyEvent({KeyEventKind::Start});
    QString port = value(QStringLiteral("RIGCOMCONT"), QStringLiteral("NONE"));
    if (port == QLatin1String("0")) port = QStringLiteral("NONE");
    // Without a rig type no port is opened, whatever port is stored.
    g.RigType = value(QStringLiteral("RIG_TYPE"), kSection);
    if (g.RigType == kSection) {
        g.RigType = QStringLiteral("Not Use");
        port = QStringLiteral("NONE");
    }
    g.RigPortName = port;
    g.RigBaudRate = value(QStringLiteral("BAUD_RATE"), QStringLiteral("4800"));
    g.RigStopBits = value(QStringLiteral("STOP_BIT"), QStringLiteral("1"));
    g.RigInterval = value(QStringLiteral("Interval"), QStringLiteral("10"));
    g.IcomAddress =
        value(QStringLiteral("ICOM_RIGadrs"), QString()).left(2).leftJustified(2, QLatin1Char(' '));

    g.RigVfoCheck = value(QStringLiteral("VFOCHECK"), QStringLiteral("NO"));
    g.RigPollMode = g.RigVfoCheck == QLatin1String("YES")    ? 1
                    : g.RigVfoCheck == QLatin1String("YesP") ? 2
                                                             : 0;
    g.RigModeCheck = value(QStringLiteral("MODECHECK"), QStringLiteral("NO"));
    g.RigModeCheckOn = g.RigModeCheck == QLatin1String("YES") ? 1 : 0;
    g.InternetAlwaysOn = yesOrNo(QStringLiteral("INETCHECK"));
    g.TransverterUse = yesOrNo(QStringLiteral("USE_TRV"));
    g.TransverterIfText = TransverterIfTextOf(value(QStringLiteral("TRVIFfreq"), QStringLiteral("22")));
    g.TransverterIfHz = TransverterIfHzOf(g.TransverterIfText);
    g.TransverterOn = value(QStringLiteral("TRVon"), QStringLiteral("0")) == QLatin1String("1")
                          ? QStringLiteral("1")
                          : QStringLiteral("0");
    g.RigPollInterval = PollIntervalOf(value(QStringLiteral("Poll_Time"), QStringLiteral("1000")));

    g.RigDataModeText = QStringLiteral("PSK31");
}

} // namespace rig
