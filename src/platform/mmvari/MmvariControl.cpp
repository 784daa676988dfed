// The control's members by dispatch id; the simulation is in MmvariSimulation.cpp.
#include "platform/mmvari/MmvariControl.h"

#include "platform/engines/Engines.h"

#include <QMap>
#include <cmath>

namespace mmvari {

namespace {

using dispatch::ValueKind;

struct Member {
    ValueKind kind;
    QVariant initial;
    bool readOnly = false;
};

const QMap<int, Member>& plainMembers() {
    static const QMap<int, Member> members{
        {IdTxFreq, {ValueKind::Int, 1000}},
        {IdTxOffsetMeasure, {ValueKind::Int, 0, true}},
        {IdRun, {ValueKind::Bool, false}},
        {IdAtc, {ValueKind::Bool, false}},
        {IdStartCr, {ValueKind::Bool, false}},
        {IdStopCr, {ValueKind::Bool, false}},
        {IdNet, {ValueKind::Bool, false}},
        {IdTransmit, {ValueKind::Bool, false}},
        {IdRxSampleFreq, {ValueKind::Double, 11025.0}},
        {IdTxOffset, {ValueKind::Double, 0.0}},
        {IdReqRx, {ValueKind::Bool, false}},
        {IdSoundCard, {ValueKind::String, QStringLiteral("-1")}},
        {IdLevelData, {ValueKind::Int, 0, true}},
        {IdVersion, {ValueKind::String, QStringLiteral("1.02"), true}},
        {IdAfcWidth, {ValueKind::Int, 50}},
        {IdExtLoop, {ValueKind::Bool, false}},
        {IdTuneReset, {ValueKind::Int, 0}},
        {IdPttPort, {ValueKind::String, QStringLiteral("NONE")}},
        {IdAtcReset, {ValueKind::Bool, false}},
        {IdCwIdSpeed, {ValueKind::Int, 20}},
        {IdTcMfsk, {ValueKind::Bool, false}},
        {IdSqMfsk, {ValueKind::Bool, false}},
        {IdDiddle, {ValueKind::Int, 0}},
        {IdPlayBack, {ValueKind::Bool, false}},
        {IdHpf, {ValueKind::Bool, false}},
    };
    return members;
}

const QMap<int, Member>& indexedMembers() {
    static const QMap<int, Member> members{
        {PChannelText, {ValueKind::String, QString(), true}},
        {PModeName, {ValueKind::String, QStringLiteral("bpsk")}},
        {PSpeed, {ValueKind::Double, 31.25}},
        {PRxFreq, {ValueKind::Int, 1000}},
        {PRxOn, {ValueKind::Bool, false}},
        {PSquelch, {ValueKind::Int, 0}},
        {PLevelDb, {ValueKind::Int, 0, true}},
        {PCharSet, {ValueKind::Int, 0}},
        {PAfc, {ValueKind::Bool, false}},
        {PValue, {ValueKind::Double, 0.0, true}},
        {PUos, {ValueKind::Bool, false}},
        {PModeNumber, {ValueKind::Int, 4}},
        {PNotch, {ValueKind::Int, 0}},
    };
    return members;
}

QHash<int, MmvariControl*>& handles() {
    return engines::current().mmvariControls;
}

} // namespace

MmvariControl::MmvariControl(QObject* parent) : QObject(parent) {
    handle_ = engines::current().nextMmvariHandle++;
    handles().insert(handle_, this);
    for (auto it = plainMembers().begin(); it != plainMembers().end(); ++it)
        props_.insert(it.key(), it->initial);
    for (auto& ch : channel_)
        for (auto it = indexedMembers().begin(); it != indexedMembers().end(); ++it)
            ch.insert(it.key(), it->initial);
    channel_[0][PRxOn] = true;
    timer_.setInterval(PeriodMsecs);
    connect(&timer_, &QTimer::timeout, this, &MmvariControl::tick);
}

MmvariControl::~MmvariControl() {
    handles().remove(handle_);
}

int MmvariControl::txOffsetReading() const {
    if (!props_.value(IdAtc).toBool()) return 0;
    return int(std::nearbyint(90.0 * (props_.value(IdTxOffset).toDouble() - StationTxOffsetHz)));
}

MmvariControl* MmvariControl::fromHandle(int handle) {
    return handles().value(handle, nullptr);
}

bool MmvariControl::readMember(int id, std::optional<int> index, QVariant& value) {
    if (!index) {
        if (!plainMembers().contains(id)) return false;
        if (id == IdLevelData)
            value = handle_;
        else if (id == IdTxOffsetMeasure)
            value = txOffsetReading();
        else
            value = props_.value(id);
        return true;
    }
    if (!indexedMembers().contains(id) || *index < 0 || *index >= Channels) return false;
    switch (id) {
    case PChannelText:
        value = channel_[*index].value(PModeName);
        break;
    case PLevelDb:
        value = signalDb(*index);
        break;
    case PValue:
        value = double(signalDb(*index));
        break;
    default:
        value = channel_[*index].value(id);
    }
    return true;
}

bool MmvariControl::writeMember(int id, std::optional<int> index, const QVariant& value) {
    if (index) return writeIndexed(id, *index, value);
    const auto member = plainMembers().find(id);
    if (member == plainMembers().end() || member->readOnly) return false;
    const auto v = dispatch::convert(value, member->kind);
    if (!v) return false;
    if (id == IdRun) return setRunning(v->toBool());
    props_[id] = *v;
    if (id == IdTransmit && !v->toBool()) txBuffer_.clear(); // ended at once: the rest is dropped
    return true;
}

bool MmvariControl::writeIndexed(int id, int channel, const QVariant& value) {
    const auto member = indexedMembers().find(id);
    if (member == indexedMembers().end() || member->readOnly || channel < 0 || channel >= Channels)
        return false;
    const auto v = dispatch::convert(value, member->kind);
    if (!v) return false;
    if (id == PModeName) return writeModeName(channel, v->toString());
    if (id == PModeNumber) {
        if (v->toInt() < 0 || v->toInt() >= modeNames().size()) return false;
        return writeModeName(channel, modeNames().at(v->toInt()));
    }
    if (id == PRxOn && channel == 0) return true; // the main channel always listens
    channel_[channel][id] = *v;
    return true;
}

bool MmvariControl::writeModeName(int channel, const QString& name) {
    const int number = int(modeNames().indexOf(name));
    if (number < 0) return false;
    channel_[channel][PModeName] = name;
    channel_[channel][PModeNumber] = number;
    return true;
}

bool MmvariControl::callMethod(int id, const QVariantList& args, QVariant& result) {
    switch (id) {
    case MethodTune:
        if (!args.isEmpty()) return false;
        tuneCarrier_ = true;
        props_[IdTransmit] = true;
        return true;
    case MethodRewind:
        return args.size() == 1 && dispatch::convert(args[0], dispatch::ValueKind::Int);
    case MethodCwIdEnd: {
        const auto flag =
            args.size() == 1 ? dispatch::convert(args[0], dispatch::ValueKind::Int) : std::nullopt;
        if (!flag) return false;
        // After a transmission has ended, 3 keys again for the CW ID left in the buffer.
        if (flag->toInt() == 3 && !txBuffer_.isEmpty()) props_[IdTransmit] = true;
        return true;
    }
    case MethodSend:
    case MethodCwId:
        if (args.size() != 1 || !dispatch::convert(args[0], dispatch::ValueKind::String)) return false;
        txBuffer_ += args[0].toString();
        result = int(txBuffer_.size());
        return true;
    case MethodLines: {
        const auto n = args.size() == 1 ? dispatch::convert(args[0], dispatch::ValueKind::Int) : std::nullopt;
        if (!n || n->toInt() < 0) return false;
        linePoints_ = n->toInt();
        return true;
    }
    case MethodClockRef: {
        if (args.size() != 2) return false;
        const auto hz = dispatch::convert(args[0], dispatch::ValueKind::Int);
        const auto rate = dispatch::convert(args[1], dispatch::ValueKind::Double);
        if (!hz || !rate || rate->toDouble() <= 0) return false;
        clockCarrierHz_ = hz->toInt();
        lineCount_ = 0;
        return true;
    }
    case MethodLineLevels: {
        if (args.size() != 3) return false;
        const auto line = dispatch::convert(args[1], dispatch::ValueKind::Int);
        const auto points = dispatch::convert(args[2], dispatch::ValueKind::Int);
        if (!line || !points || points->toInt() <= 0) return false;
        result = QVariant::fromValue(lineLevels(line->toInt(), points->toInt()));
        return true;
    }
    default:
        return false;
    }
}

} // namespace mmvari
