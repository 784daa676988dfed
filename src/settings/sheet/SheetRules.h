#pragma once
// The settings sheet's rules over plain values: the FFT display mode, the
// span that the audio centre gives the spectrum, the clock-correction boxes,
// the rig command interval and ICOM address, and the stored numbers the sheet
// takes only when they lie in their control's range.
#include <QString>
#include <QStringList>
#include <optional>

namespace settings {

// The FFT display mode for a position of the mode scroll bar: the mode text
// ("1" no clipping, "10".."90" clipping) and what the label shows.
struct FftDisplay {
    QString mode;
    QString label;
};
FftDisplay FftFromScroll(int value);
// The label and scroll position for a stored mode (root mode aside).
struct FftPosition {
    QString mode;
    QString label;
    int scroll = 0;
};
FftPosition FftFromMode(const QString& mode);

// What the audio centre frequency makes of the receive and transmit tones and
// of the zoomed spectrum's edges (bins of 3.90625 Hz, halves to even).
struct CentreSpan {
    int txBin = 0;
    int lowHz = 0;
    int highHz = 0;
    int lowBin = 0;
    int highBin = 0;
    int binsFromLow = 0;
    int binsToHigh = 0;
    int rxBin = 0;
};
CentreSpan SpanForCentre(int centreHz, int zoom);

// A clock-correction box: the text it must show instead (when it must change)
// and the value for its scroll bar (none: the bar stays). While the operator
// types, a number moves the bar within its range and the box keeps what was
// typed; a start of one ("", "-") waits for the rest; text that can become no
// number shows "0" at once. When the box is done with, it shows the bar's
// value: the range applied, and "0" for what never became a number.
struct ClockBox {
    std::optional<QString> replaced;
    std::optional<int> value;
};
enum class Typing { Going, Done };
ClockBox ClockBoxValue(const QString& text, Typing typing = Typing::Going);

// The command interval the rig link uses for what the interval box holds.
QString RigIntervalFor(const QString& typed);
// The ICOM address: exactly two characters, cut or padded with blanks.
QString IcomAddressFor(const QString& typed);
// A typed whole number of 0 or more (digits only, blanks around them dropped),
// or nothing for text that is no such number.
std::optional<QString> TypedWholeNumber(const QString& typed);

// Index of a stored choice among its options, or -1 for none.
int SoundCardIndex(const QString& number);
int CwIdSpeedIndex(const QString& speed);
int BaudIndex(const QString& baud);
int StopBitsIndex(const QString& bits);
// "COM1".."COM8" give 1..8, "NONE" 0, anything else -1.
int RigPortIndex(const QString& name);
// The serial devices the rig tab offers beside "#1".."#8": those listed on
// this PC that no "#n" stands for, and the stored device path when it is not
// among them (a port that is unplugged, one the listing misses, or a device
// stored by its path although a "#n" stands for it: it stays as stored).
QStringList RigDeviceChoices(const QStringList& listed, const QString& stored);

// The stored text of a number the sheet shows, or nothing when it is missing,
// no whole number or outside its control's range (then the default applies).
std::optional<QString> SheetNumber(const QString& section, const QString& key);
// The lowest and highest values of a key's control.
int RangeLow(const char* section, const char* key);
int RangeHigh(const char* section, const char* key);

} // namespace settings
