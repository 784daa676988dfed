#pragma once
// The CAT commands of each rig family, byte for byte. Pure functions: they
// build what goes on the wire and leave the sending (and its pacing) to the port.
#include "rig/RigFamily.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace rig {

// Now: written at once. Paced: with the command interval before and after.
enum class Pace { Now, Paced };
struct CatSend {
    QByteArray bytes;
    Pace pace;
    bool operator==(const CatSend&) const = default;
};
using CatSequence = std::vector<CatSend>;

// The byte of a code of up to two hexadecimal digits ("0C", "5E", "1"); 0 for anything else.
unsigned char hexCodeByte(const QString& code);
// Two decimal digits of the text from position pos (counted from 0) in one byte, the first high.
unsigned char bcdByte(const QString& digits, int pos);

QByteArray yaesuCommand(unsigned char p1, unsigned char p2, unsigned char p3, unsigned char p4,
                        unsigned char command);
// FE FE addr E0, the body, FD.
QByteArray icomFrame(unsigned char address, const QByteArray& body);
// A text command with its carriage return.
QByteArray textCommand(const QString& text);

// The status request; for ICOM the mode request (the frequency request follows its reply).
CatSequence statusRequest(Family f, unsigned char icomAddress);
QByteArray icomFrequencyRequest(unsigned char icomAddress);
// Sent after every FT767 status reading and when an FT767 reply has the wrong length.
CatSequence ft767FollowUp();
QByteArray ft847CatOn();
QByteArray ft847CatOff();

// Empty for the families that are not keyed by CAT.
QByteArray pttCommand(Family f, bool on, unsigned char icomAddress);
// Empty for the JST-245, which has no mode command.
CatSequence modeCommand(Family f, const QString& modeCode, unsigned char icomAddress);
// None when the digits are not exactly the family's count of decimal digits,
// so that a malformed frequency never retunes the rig somewhere else.
std::optional<CatSequence> frequencyCommands(Family f, const QString& digits, unsigned char icomAddress);

} // namespace rig
