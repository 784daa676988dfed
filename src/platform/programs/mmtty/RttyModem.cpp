#include "RttyModem.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

namespace mmtty {

namespace {

// The simulated station's call; it ends each call with a new line and pauses.
constexpr char StationText[] = "RYRYRY CQ CQ CQ DE QQ9RTY QQ9RTY QQ9RTY PSE K\r\n";
constexpr int StationPauseTicks = 20;
// A mark within this many hertz of the station's decodes it.
constexpr int CaptureHz = 40;
constexpr std::int32_t SignalLevel = 320;
constexpr std::int32_t NoiseLevel = 30;
// Squelch runs 0..1024 against levels that reach about 500.
constexpr std::int32_t SquelchFullScale = 1024;
constexpr std::int32_t LevelFullScale = 500;

} // namespace

QList<Pair> RttyModem::status() const {
    return {{NtfMark, mark_},
            {NtfSpace, space_},
            {NtfBaud, BaudTimes100},
            {NtfSwitches, std::int32_t(switches_)},
            {NtfView, std::int32_t(view_)},
            {NtfFig, fig_ ? 1 : 0}};
}

QByteArray RttyModem::settingsFile() const {
    return QByteArray("[Settings]\r\nMark=") + QByteArray::number(mark_) +
           "\r\nSpace=" + QByteArray::number(space_) + "\r\nSwitches=" + QByteArray::number(switches_) +
           "\r\nView=" + QByteArray::number(view_) + "\r\nSquelch=" + QByteArray::number(squelch_) +
           "\r\nTxDelay=" + QByteArray::number(txDelay_) + "\r\n";
}

QList<Pair> RttyModem::command(Pair c) {
    switch (c.code) {
    case CmdSetWindow:
        return status();
    case CmdClose:
        closeRequested_ = true;
        return {};
    case CmdTx:
        return transmit(c.value);
    case CmdChar:
        txQueue_.append(char(c.value & 0xFF));
        return {};
    case CmdSetMark: {
        // Wide of 32 bits: a far-off mark must not wrap the space round.
        const std::int64_t shift = std::int64_t{space_} - mark_;
        mark_ = c.value;
        space_ = std::int32_t(std::clamp<std::int64_t>(mark_ + shift, INT32_MIN, INT32_MAX));
        return {{NtfMark, mark_}, {NtfSpace, space_}};
    }
    case CmdSetSpace:
        space_ = c.value;
        return {{NtfSpace, space_}};
    case CmdSetSwitches:
        if (!fitsSwitchWord(c.value)) return {};
        switches_ = std::uint32_t(c.value);
        return {{NtfSwitches, c.value}};
    case CmdHamPreset:
        mark_ = HamMarkHz;
        space_ = HamMarkHz + HamShiftHz;
        return {{NtfMark, mark_}, {NtfSpace, space_}};
    case CmdSetView:
        if (!fitsViewWord(c.value)) return {};
        view_ = std::uint32_t(c.value);
        return {{NtfView, c.value}};
    case CmdSetSquelch:
        squelch_ = std::clamp(c.value, 0, SquelchFullScale);
        return {};
    case CmdSetFig:
        fig_ = c.value == 1;
        return {{NtfFig, fig_ ? 1 : 0}};
    case CmdSetTxDelay:
        txDelay_ = std::max(c.value, 0);
        return {};
    case CmdSuspend:
        suspended_ = c.value == 1;
        return {};
    case CmdHoldTxReports:
        holdTxReports_ = c.value == 1;
        return holdTxReports_ ? QList<Pair>{} : std::exchange(heldTxReports_, {});
    case CmdStepSimulation: {
        QList<Pair> out;
        for (int i = 0; i < std::clamp(c.value, 0, MaxStepTicks); ++i)
            out += tick();
        return out;
    }
    default:
        return {}; // set-up window, port update, right click, profile: nothing to simulate
    }
}

QList<Pair> RttyModem::transmit(std::int32_t request) {
    switch (request) {
    case TxOn:
        txEndAfterQueue_ = false;
        return setTx(true);
    case TxOffAfterQueue:
        if (txQueue_.isEmpty()) return setTx(false);
        txEndAfterQueue_ = true;
        return {};
    case TxOffNow:
        return setTx(false);
    case TxClear:
        txQueue_.clear();
        return {};
    default:
        return {};
    }
}

QList<Pair> RttyModem::setTx(bool on) {
    txEndAfterQueue_ = false;
    if (tx_ == on) return {};
    tx_ = on;
    // The transmit delay holds the first character back after the key-down.
    txDelayTicks_ = on ? txDelay_ / TickMsecs : 0;
    const Pair report{NtfTxState, on ? 1 : 0};
    if (!holdTxReports_) return {report};
    heldTxReports_.append(report);
    return {};
}

bool RttyModem::stationTuned() const {
    const auto near = [](std::int64_t hz, std::int64_t wanted) { return std::abs(hz - wanted) <= CaptureHz; };
    return near(mark_, HamMarkHz) && near(space_, HamMarkHz + HamShiftHz);
}

std::int32_t RttyModem::level() const {
    if (tx_) return 0;
    return stationTuned() && pauseTicks_ == 0 ? SignalLevel : NoiseLevel;
}

QList<Pair> RttyModem::tick() {
    ++tickCount_;
    if (suspended_) return {};
    QList<Pair> out;
    if (tickCount_ % TicksPerChar == 0) out += tx_ ? transmitTick() : receiveTick();
    if (tickCount_ % 2 == 0) {
        noise_ = noise_ * 1103515245u + 12345u;
        out.append({NtfScope, level() + std::int32_t((noise_ >> 16) % 20)});
    }
    return out;
}

QList<Pair> RttyModem::transmitTick() {
    if (txDelayTicks_ > 0) {
        txDelayTicks_ -= TicksPerChar;
        return {};
    }
    if (txQueue_.isEmpty()) return txEndAfterQueue_ ? setTx(false) : QList<Pair>{};
    const unsigned char c = std::uint8_t(txQueue_.front());
    txQueue_.remove(0, 1);
    QList<Pair> out{{NtfRxChar, c}};
    if (txQueue_.isEmpty() && txEndAfterQueue_) out += setTx(false);
    return out;
}

QList<Pair> RttyModem::receiveTick() {
    if (pauseTicks_ > 0) {
        --pauseTicks_;
        return {};
    }
    const bool squelchOn = indicatorOn(switches_, Squelch);
    if (!stationTuned() || (squelchOn && SignalLevel * SquelchFullScale / LevelFullScale < squelch_))
        return {};
    const char c = StationText[stationPos_++];
    if (StationText[stationPos_] == '\0') {
        stationPos_ = 0;
        pauseTicks_ = StationPauseTicks;
    }
    return {{NtfRxChar, std::uint8_t(c)}};
}

} // namespace mmtty
