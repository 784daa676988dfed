#include "rig/CatFrames.h"

namespace rig {
namespace {

constexpr unsigned char kIcomController = 0xE0;

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

CatSequence one(QByteArray bytes, Pace pace) {
    return {CatSend{std::move(bytes), pace}};
}

bool isYaesu(Family f) {
    return f == Family::Ft1000mp || f == Family::Ft920 || f == Family::Ft900 || f == Family::Ft847 ||
           f == Family::Ft817 || f == Family::Ft767;
}

CatSequence yaesuFrequency(Family f, const QString& d) {
    const unsigned char d1 = bcdByte(d, 0), d3 = bcdByte(d, 2), d5 = bcdByte(d, 4), d7 = bcdByte(d, 6);
    switch (f) {
    case Family::Ft847:
    case Family::Ft817:
        return one(yaesuCommand(d1, d3, d5, d7, 0x01), Pace::Paced);
    case Family::Ft767: {
        CatSequence s = one(yaesuCommand(d7, d5, d3, d1, 0x08), Pace::Paced);
        s.push_back({yaesuCommand(0, 0, 0, 0, 0x0B), Pace::Paced});
        for (CatSend c : ft767FollowUp())
            s.push_back(c);
        return s;
    }
    default:
        return one(yaesuCommand(d7, d5, d3, d1, 0x0A), Pace::Paced);
    }
}

} // namespace

unsigned char hexCodeByte(const QString& code) {
    bool ok = false;
    const uint v = code.trimmed().toUInt(&ok, 16);
    return ok && v <= 0xFF ? static_cast<unsigned char>(v) : 0;
}

unsigned char bcdByte(const QString& digits, int pos) {
    auto digit = [&](int i) { return i < digits.size() ? digits[i].digitValue() & 0x0F : 0; };
    return static_cast<unsigned char>(digit(pos) << 4 | digit(pos + 1));
}

QByteArray yaesuCommand(unsigned char p1, unsigned char p2, unsigned char p3, unsigned char p4,
                        unsigned char command) {
    const char b[5] = {char(p1), char(p2), char(p3), char(p4), char(command)};
    return QByteArray(b, 5);
}

QByteArray icomFrame(unsigned char address, const QByteArray& body) {
    QByteArray f("\xFE\xFE", 2);
    f.append(char(address)).append(char(kIcomController)).append(body).append(char(0xFD));
    return f;
}

QByteArray textCommand(const QString& text) {
    return text.toLatin1() + '\r';
}

CatSequence statusRequest(Family f, unsigned char icomAddress) {
    switch (f) {
    case Family::Ft1000mp:
    case Family::Ft920:
    case Family::Ft900:
        return one(yaesuCommand(0, 0, 0, 0x02, 0x10), Pace::Now);
    case Family::Ft847:
    case Family::Ft817:
        return one(yaesuCommand(0, 0, 0, 0, 0x03), Pace::Now);
    case Family::Ft767:
        return {{yaesuCommand(0, 0, 0, 0, 0x00), Pace::Paced},
                {yaesuCommand(0, 0, 0, 0, 0x0B), Pace::Paced},
                {yaesuCommand(0, 0, 0, 0, 0x01), Pace::Paced},
                {yaesuCommand(0, 0, 0, 0, 0x0B), Pace::Paced}};
    case Family::Kenwood:
        return one(textCommand(QStringLiteral("IF;")), Pace::Now);
    case Family::Jst245:
        return {{textCommand(QStringLiteral("H1")), Pace::Now},
                {textCommand(QStringLiteral("I1")), Pace::Now}};
    case Family::Icom:
        return one(icomFrame(icomAddress, QByteArray(1, char(0x04))), Pace::Now);
    }
    return {};
}

QByteArray icomFrequencyRequest(unsigned char icomAddress) {
    return icomFrame(icomAddress, QByteArray(1, char(0x03)));
}

CatSequence ft767FollowUp() {
    return {{yaesuCommand(0, 0, 0, 0x01, 0x00), Pace::Paced}, {yaesuCommand(0, 0, 0, 0, 0x0B), Pace::Paced}};
}

QByteArray ft847CatOn() {
    return yaesuCommand(0, 0, 0, 0, 0x00);
}

QByteArray ft847CatOff() {
    return yaesuCommand(0, 0, 0, 0, 0x80);
}

QByteArray pttCommand(Family f, bool on, unsigned char icomAddress) {
    switch (f) {
    case Family::Ft1000mp:
    case Family::Ft920:
    case Family::Ft900:
        return yaesuCommand(0, 0, 0, on ? 0x01 : 0x00, 0x0F);
    case Family::Ft847:
    case Family::Ft817:
        return yaesuCommand(0, 0, 0, 0, on ? 0x08 : 0x88);
    case Family::Icom:
        return icomFrame(icomAddress, QByteArray::fromRawData(on ? "\x1C\x00\x01" : "\x1C\x00\x00", 3));
    case Family::Kenwood:
        return textCommand(on ? QStringLiteral("TX;") : QStringLiteral("RX;"));
    case Family::Ft767:
    case Family::Jst245:
        break;
    }
    return {};
}

CatSequence modeCommand(Family f, const QString& modeCode, unsigned char icomAddress) {
    const unsigned char m = hexCodeByte(modeCode);
    switch (f) {
    case Family::Ft1000mp:
    case Family::Ft920:
    case Family::Ft900:
        return one(yaesuCommand(0, 0, 0, m, 0x0C), Pace::Paced);
    case Family::Ft847:
    case Family::Ft817:
        return one(yaesuCommand(m, 0, 0, 0, 0x07), Pace::Paced);
    case Family::Ft767:
        return one(yaesuCommand(0, 0, 0, m, 0x0A), Pace::Paced);
    case Family::Kenwood:
        return one(textCommand(QStringLiteral("MD") + modeCode + QLatin1Char(';')), Pace::Paced);
    case Family::Icom:
        return one(icomFrame(icomAddress, QByteArray(1, char(0x06)) + char(m)), Pace::Paced);
    case Family::Jst245:
        break;
    }
    return {};
}

std::optional<CatSequence> frequencyCommands(Family f, const QString& digits, unsigned char icomAddress) {
    if (digits.size() != traits(f).qsyDigits || !allDigits(digits)) return std::nullopt;
    if (isYaesu(f)) return yaesuFrequency(f, digits);
    switch (f) {
    case Family::Kenwood:
        return one(textCommand(QStringLiteral("FA") + digits + QLatin1Char(';')), Pace::Paced);
    case Family::Jst245:
        return CatSequence{{textCommand(QStringLiteral("H1")), Pace::Now},
                           {textCommand(QLatin1Char('F') + digits + QLatin1Char('A')), Pace::Now},
                           {textCommand(QStringLiteral("H0")), Pace::Paced}};
    case Family::Icom: {
        QByteArray body(1, char(0x05));
        for (int pos : {8, 6, 4, 2, 0})
            body.append(char(bcdByte(digits, pos)));
        return one(icomFrame(icomAddress, body), Pace::Paced);
    }
    default:
        return std::nullopt;
    }
}

} // namespace rig
