// The RTTY program's modem as the system's commands set it: tones anywhere in
// the 32-bit range keep their shift without wrapping round, and only the
// amateur-radio preset hears the station.
#include "platform/programs/mmtty/RttyModem.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using mmtty::Pair;

// The scope level of the next scope notice.
std::int32_t scopeLevel(mmtty::RttyModem& modem) {
    for (int i = 0; i < 4; ++i)
        for (const Pair& n : modem.tick())
            if (n.code == mmtty::NtfScope) return n.value;
    ADD_FAILURE() << "no scope notice";
    return -1;
}

TEST(RttyModem, MarkKeepsTheShiftWithoutWrapping) {
    const struct {
        std::int32_t mark;
        std::int32_t space;
        bool hearsStation;
    } cases[] = {
        {2125, 2295, true},
        {2100, 2270, true},
        {1000, 1170, false},
        {INT32_MAX - 10, INT32_MAX, false},
        {INT32_MIN + 77, INT32_MIN + 247, false},
    };
    for (const auto& c : cases) {
        mmtty::RttyModem modem;
        const QList<Pair> answer = modem.command({mmtty::CmdSetMark, c.mark});
        const QList<Pair> expected{{mmtty::NtfMark, c.mark}, {mmtty::NtfSpace, c.space}};
        EXPECT_EQ(answer, expected) << c.mark;
        EXPECT_EQ(scopeLevel(modem) >= 300, c.hearsStation) << c.mark;
    }
}

TEST(RttyModem, FarOffSpaceIsNotTheStation) {
    for (const std::int32_t space : {INT32_MIN, INT32_MAX, -1, 2295}) {
        mmtty::RttyModem modem;
        modem.command({mmtty::CmdSetSpace, space});
        EXPECT_EQ(scopeLevel(modem) >= 300, space == 2295) << space;
    }
}

} // namespace
