// Our scope library: refuses and accepts the PTT port, delivers scope and
// spectrum data only when initialised and switched on, fixed-width versions.
#include "platform/mmtty/BobMako.h"
#include "support/ProgramFolder.h"

#include <vector>

namespace {

using namespace bobmako;

class BobMakoTest : public zvtest::ProgramFolderTest {
  protected:
    BobMako& lib = bobmako::lib();
    std::vector<std::int32_t> x = std::vector<std::int32_t>(XyPoints, 0), y = x;
    std::vector<std::int32_t> fft = std::vector<std::int32_t>(FftPoints, -1);
};

TEST_F(BobMakoTest, DeliversNothingUntilInitialised) {
    std::int32_t quality = 0;
    EXPECT_EQ(lib.fnBOBMAKOGetXYEx(quality, x.data(), y.data()), 0);
    EXPECT_EQ(lib.fnBOBMAKOGetFFT(fft.data()), 0);
    lib.initResult = 0;
    std::int32_t handle = 0;
    EXPECT_EQ(lib.fnBOBMAKOInit(handle, "MMTTY/ZORVAT", "COM3", "NONE"), 0);
    EXPECT_EQ(lib.fnBOBMAKOGetFFT(fft.data()), 0);
    lib.initResult = 1;
    EXPECT_NE(lib.fnBOBMAKOInit(handle, "MMTTY/ZORVAT", "EXTFSK", "NONE"), 0);
    EXPECT_EQ(lib.pttPort(), "EXTFSK");
    EXPECT_EQ(lib.calls(), (QStringList{"fnBOBMAKOInit(MMTTY/ZORVAT, COM3, NONE)",
                                        "fnBOBMAKOInit(MMTTY/ZORVAT, EXTFSK, NONE)"}));
}

TEST_F(BobMakoTest, ScopeAndSpectrumShowTheFskTones) {
    std::int32_t handle = 0;
    ASSERT_NE(lib.fnBOBMAKOInit(handle, "MMTTY/ZORVAT", "NONE", "NONE"), 0);
    std::int32_t quality = ScopeOff;
    EXPECT_EQ(lib.fnBOBMAKOGetXYEx(quality, x.data(), y.data()), 0);
    for (quality = 0; quality < ScopeOff; ++quality) {
        ASSERT_NE(lib.fnBOBMAKOGetXYEx(quality, x.data(), y.data()), 0);
        for (int i = 0; i < XyPoints; ++i) {
            ASSERT_LE(std::abs(x[i]), 25000);
            ASSERT_LE(std::abs(y[i]), 25000);
        }
        EXPECT_GT(*std::max_element(x.begin(), x.end()), 15000);
        EXPECT_GT(*std::max_element(y.begin(), y.end()), 15000);
    }
    ASSERT_NE(lib.fnBOBMAKOGetFFT(fft.data()), 0);
    const int mark = int(MarkHz / HzPerBin + 0.5), space = int(SpaceHz / HzPerBin + 0.5);
    for (int i = 0; i < FftPoints; ++i)
        ASSERT_TRUE(fft[i] >= 0 && fft[i] <= 270) << i;
    EXPECT_GT(fft[mark], 150);
    EXPECT_GT(fft[space], 150);
    EXPECT_LT(fft[(mark + space) / 2 + 60], 60);
}

TEST_F(BobMakoTest, VersionsAreSixteenCharactersEach) {
    QByteArray first, second;
    lib.fnBOBMAKOGetVersion(first, second);
    EXPECT_EQ(first.size(), TextLength);
    EXPECT_EQ(second.size(), TextLength);
    EXPECT_TRUE(first.startsWith("Ver "));
}

} // namespace
