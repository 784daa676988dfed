#pragma once
// The arithmetic of tuning by the pictures and the boxes, apart from any
// control: FFT bins of 3.90625 Hz (8000 Hz sampling, 2048 points), always
// rounded to the nearest with halves going to the even neighbour.
namespace terminal::displays {

// x rounded to the nearest integer, halves to even.
int nearest(double x);
// The frequency of a bin, and the bin of a frequency.
int binToHz(double bin);
int hzToBin(double hz);
// The frequency under a click at x of a picture whose scale starts at firstBin.
int clickHz(double x, int firstBin);

// Every frequency from outside (a box, a stored value, an engine) is held to
// this before it reaches a scroll bar or the engine.
constexpr int LowestHz = 100;
constexpr int HighestHz = 3500;
int clampHz(int hz);
// What the frequency boxes accept on Enter.
constexpr int BoxLowestHz = 200;
constexpr int BoxHighestHz = 3000;
int boxHz(int hz);

// The bins the wide picture shows at magnification m around the transmit
// frequency; 51 to 768 before the zoom is first used.
struct BinSpan {
    int first;
    int last;
};
BinSpan zoomBins(int txHz, int m);

// The narrow spectrum's edges around a centre, for the span scroll bar's
// value, held to 150..3500 Hz.
struct HzSpan {
    int low;
    int high;
};
HzSpan spectrumSpan(int centreHz, int zoom);

// The narrow spectrum's drawing step in bins for a span: 1, 2, 4 or 6.
int drawStep(int zoom);

// The squelch slider's position for a click at x of the level bar of the
// given width: the slider's maximum times the share, halves to even.
int squelchPosition(double x, double width, int maximum);
// The RTTY program's squelch (0..1024) for a level of 0..100.
int rttySquelch(int level);

// The RTTY program's mark and space for a click at x (1 Hz a unit from 200 Hz)
// with the program's last mark and space: kept inside 300..2700 Hz.
struct MarkSpace {
    int mark;
    int space;
};
MarkSpace rttyMarkSpace(double x, int markHz, int spaceHz);
// The right click's frequency in RTTY and CW.
int rttyClickHz(double x);

// The scan threshold for a click at height y of the wide picture (scale 100).
int scanThreshold(double y);

} // namespace terminal::displays
