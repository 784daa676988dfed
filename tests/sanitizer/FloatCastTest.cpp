// The sanitizer build stops at a float cast out of an int's range, which GCC's
// "undefined" alone lets pass: one processor saturates it, another turns it
// into INT_MIN, and a frequency or a level read wrong goes on unseen.
#include <gtest/gtest.h>

namespace {

TEST(Sanitizer, StopsAtAFloatCastOutOfAnIntsRange) {
    volatile double hertz = 1e10;
    EXPECT_DEATH(
        {
            volatile int cast = int(hertz);
            (void)cast;
        },
        "outside the range of representable values");
}

} // namespace
