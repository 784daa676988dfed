// A rig's status reply: the first byte picks the family (and the ICOM address),
// the rest is what the port delivered. A reading that decodes goes on through
// the common finish, as the poll takes it.
#include "rig/CatDecoders.h"
#include "rig/RigFinish.h"

#include <cstdint>
#include <cstdlib>

namespace {

using rig::Family;

struct Decoded {
    Family family;
    std::optional<rig::CatReading> reading;
};

Decoded decode(std::uint8_t pick, const QByteArray& reply) {
    // Text families read one character per byte.
    const QString text = QString::fromLatin1(reply);
    const auto icomAddress = static_cast<unsigned char>(0x40 + pick / 16);
    switch (pick % 10) {
    case 0:
        return {Family::Ft1000mp, rig::decodeFt1000mp(reply, QStringLiteral("RTTY"))};
    case 1:
        return {Family::Ft920, rig::decodeFt920(reply)};
    case 2:
        return {Family::Ft847, rig::decodeFt847(reply)};
    case 3:
        return {Family::Ft817, rig::decodeFt817(reply)};
    case 4:
        return {Family::Ft767, rig::decodeFt767(reply)};
    case 5:
        return {Family::Jst245, rig::decodeJst245(text)};
    case 6:
        return {Family::Kenwood, rig::decodeKenwood(text)};
    case 7:
        return {Family::Icom, rig::decodeIcomMode(reply, icomAddress)};
    case 8:
        return {Family::Icom, rig::decodeIcomFreq(reply, icomAddress)};
    default:
        rig::bcdValue(reply);
        return {Family::Icom, std::nullopt};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const Decoded d = decode(data[0], reply);
    if (!d.reading || !d.reading->dialHz) return 0;
    if (*d.reading->dialHz < 0) std::abort();
    for (const bool modeCheck : {false, true}) {
        rig::FinishInput in;
        in.family = d.family;
        in.dialHz = *d.reading->dialHz;
        in.clarifierSteps = d.family == Family::Kenwood ? d.reading->clarifierSteps.value_or(0) : 0;
        in.modeText = d.reading->modeText.value_or(QStringLiteral("USB"));
        in.audioOffsetHz = 1500;
        in.modeCheckOn = modeCheck;
        in.dataModeText = QStringLiteral("RTTY");
        const rig::Finished f = rig::finishReading(in);
        if (f.show && (f.freqText.isEmpty() || f.labelText.isEmpty())) std::abort();
    }
    return 0;
}
