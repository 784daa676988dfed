#pragma once
// The simulated RTTY modem behind the program: its settings as the system sets
// them, a transmit queue, and one station on the air that calls CQ on the
// amateur-radio preset (mark 2125 Hz, space 2295 Hz). The modem knows nothing of
// the socket; it answers each command with the notices to send back.
#include "platform/mmtty/MmttyProtocol.h"

#include <QByteArray>
#include <QList>
#include <cstdint>

namespace mmtty {

class RttyModem {
  public:
    // The notices that answer one command (often none).
    QList<Pair> command(Pair command);
    // One tick of the simulation (every TickMsecs): received or transmitted
    // characters, transmit state changes, and every other tick the scope notice.
    QList<Pair> tick();

    // The window-handle notice with the program's own handle.
    static Pair windowNotice(std::int32_t handle) { return {NtfWindow, handle}; }
    // Mark, space, baud, switches, view and FIG as they stand.
    QList<Pair> status() const;

    bool closeRequested() const { return closeRequested_; }
    // The program's own settings file, written beside it when it is told to
    // close: the system uses its stored RTTY settings only once that file is
    // there, so without it they would never outlive a restart.
    QByteArray settingsFile() const;
    static constexpr char SettingsFileName[] = "Mmtty.INI";

    static constexpr int TickMsecs = 50;
    // 45.45 baud with 7.5 bits a character is about six characters a second.
    static constexpr int TicksPerChar = 3;
    static constexpr std::int32_t BaudTimes100 = 4545;

  private:
    QList<Pair> transmit(std::int32_t request);
    QList<Pair> transmitTick();
    QList<Pair> receiveTick();
    QList<Pair> setTx(bool on);
    bool stationTuned() const;
    std::int32_t level() const;

    std::int32_t mark_ = HamMarkHz;
    std::int32_t space_ = HamMarkHz + HamShiftHz;
    std::uint32_t switches_ = 0;
    std::uint32_t view_ = 0;
    std::int32_t squelch_ = 0;
    std::int32_t txDelay_ = 0;
    int txDelayTicks_ = 0;
    bool fig_ = false;
    bool suspended_ = false;
    bool tx_ = false;
    bool txEndAfterQueue_ = false;
    bool closeRequested_ = false;
    bool holdTxReports_ = false;
    QList<Pair> heldTxReports_;
    QByteArray txQueue_;
    int stationPos_ = 0;
    int pauseTicks_ = 0;
    unsigned tickCount_ = 0;
    std::uint32_t noise_ = 12345;
};

} // namespace mmtty
