#include "core/engines/MmttySettings.h"

#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "platform/mmtty/MmttyProtocol.h"

#include <cmath>

namespace core {
namespace {

const QString kSection = QStringLiteral("Mmtty");

struct ScopeCode {
    const char* code;
    const char* bits;
    int quality;
    int mask;
};

constexpr ScopeCode kScopeCodes[] = {
    {"0", "0100", 0, 0x1FF}, {"1", "0101", 1, 0x3FF}, {"2", "0110", 2, 0x7FF},
    {"3", "0111", 3, 0xFFF}, {"4", "0000", 4, 0x1FF},
};

// Characters 7-8 by FFT response, 9-10 by FFT gain.
constexpr const char* kResponseBits[] = {"10", "01", "00"};
constexpr const char* kGainBits[] = {"00", "01", "10", "11"};

// The view word when Mmtty.INI is missing: scope off, medium response.
const QString kViewWithoutIni = QStringLiteral("00000010000000");

void replaceAt(QString& bits, int position, const char* with) {
    bits.replace(position - 1, int(qstrlen(with)), QString::fromLatin1(with));
}

void applyScopeCode(MmttyGlobals& m) {
    for (const ScopeCode& c : kScopeCodes) {
        if (m.MmttyXyScope != QLatin1String(c.code)) continue;
        replaceAt(m.MmttyViewBits, 1, c.bits);
        m.XyScopeQuality = c.quality;
        m.XyScopeMask = c.mask;
        return;
    }
}

} // namespace

void ReadMmttySettings() {
    mm.MmttyXyScope = IniStored(kSection, QStringLiteral("XY_Scope")).value_or(QStringLiteral("4"));
    mm.MmttyFftGain = IniWholeOr(kSection, QStringLiteral("FFTGain"), 2);
    mm.MmttyFftResp = IniWholeOr(kSection, QStringLiteral("FFTResp"), 1);
    mm.MmttyTxDelay = IniWholeOr(kSection, QStringLiteral("TXDelay"), 0);
    mm.MmttyNotLms = IniStored(kSection, QStringLiteral("NOT_LMS")).value_or(QStringLiteral("1"));
}

void BuildMmttyStartWords(bool iniBeside) {
    mm.MmttySwitchStates = mm.MmttyStatusBits2.rightJustified(mmtty::SwitchPositions, QLatin1Char('0'));
    mm.MmttyViewBits = mm.MmttyStatusBits.rightJustified(mmtty::ViewPositions, QLatin1Char('0'));
    replaceAt(mm.MmttySwitchStates, 1, "0000");
    replaceAt(mm.MmttySwitchStates, mmtty::NotchKindPosition,
              mm.MmttyNotLms == QLatin1String("0") ? "1" : "0");
    applyScopeCode(mm);
    if (!iniBeside) {
        mm.MmttyViewBits = kViewWithoutIni;
        mm.XyScopeQuality = 4;
        mm.XyScopeMask = 0x1FF;
        mm.MmttyXyScope = QStringLiteral("4");
        mm.MmttyFftGain = mm.MmttyFftResp = mm.MmttyTxDelay = 0;
        return;
    }
    if (mm.MmttyFftGain >= 0 && mm.MmttyFftGain <= 3)
        replaceAt(mm.MmttyViewBits, 9, kGainBits[mm.MmttyFftGain]);
    if (mm.MmttyFftResp >= 0 && mm.MmttyFftResp <= 2)
        replaceAt(mm.MmttyViewBits, 7, kResponseBits[mm.MmttyFftResp]);
}

int MmttySquelchValue(const QString& squelchLevel) {
    const int level = WholeNumber(squelchLevel).value_or(0);
    return int(std::nearbyint(level / 100.0 * 1024.0));
}

} // namespace core
