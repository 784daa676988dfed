// What each family's rig sends back for each of our commands: the lengths the
// link waits for before it writes again.
#include "rig/CatAnswers.h"
#include "rig/CatFrames.h"

#include <gtest/gtest.h>

namespace {

using rig::Family;

constexpr unsigned char kAddress = 0x58;

TEST(CatAnswers, StatusRequestsAreAnsweredWithTheFamilysReplyLength) {
    for (const Family f : {Family::Ft1000mp, Family::Ft920, Family::Ft900, Family::Ft847, Family::Ft817,
                           Family::Ft767, Family::Kenwood, Family::Jst245, Family::Icom}) {
        SCOPED_TRACE(rig::traits(f).name);
        // The reply comes after the last command of the request.
        const rig::CatSequence request = rig::statusRequest(f, kAddress);
        EXPECT_EQ(rig::answerLength(f, request.back().bytes), rig::traits(f).replyLength);
    }
    EXPECT_EQ(rig::answerLength(Family::Icom, rig::icomFrequencyRequest(kAddress)), 17);
}

TEST(CatAnswers, SettingsAreAnsweredOnlyOnTheIcomBus) {
    // An ICOM rig echoes the frame and acknowledges it with FE FE E0 addr FB FD;
    // the other families take a setting without a word.
    const struct {
        Family family;
        int answer; // after the ICOM echo of the frame
    } rows[] = {{Family::Icom, 6},  {Family::Kenwood, 0}, {Family::Ft1000mp, 0}, {Family::Ft920, 0},
                {Family::Ft900, 0}, {Family::Ft847, 0},   {Family::Ft817, 0},    {Family::Jst245, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(rig::traits(r.family).name);
        std::vector<QByteArray> commands;
        for (const bool on : {true, false})
            if (const QByteArray c = rig::pttCommand(r.family, on, kAddress); !c.isEmpty())
                commands.push_back(c);
        for (const rig::CatSend& c : rig::modeCommand(r.family, QStringLiteral("01"), kAddress))
            commands.push_back(c.bytes);
        const QString digits = QString(rig::traits(r.family).qsyDigits, QLatin1Char('0'));
        const std::optional<rig::CatSequence> frequency = rig::frequencyCommands(r.family, digits, kAddress);
        ASSERT_TRUE(frequency);
        for (const rig::CatSend& c : *frequency)
            commands.push_back(c.bytes);
        for (const QByteArray& c : commands) {
            const int expected = r.family == Family::Icom ? int(c.size()) + r.answer : 0;
            EXPECT_EQ(rig::answerLength(r.family, c), expected) << c.toHex(' ').toStdString();
        }
    }
}

TEST(CatAnswers, CommandsWithAndWithoutAnAnswer) {
    const struct {
        Family family;
        QByteArray command;
        int answer;
    } rows[] = {
        // The FT767 sends its status block after every acknowledgement, the frequency command's too.
        {Family::Ft767, QByteArray::fromHex("000000000B"), 86},
        {Family::Ft767, QByteArray::fromHex("1501704008"), 0},
        {Family::Ft767, QByteArray::fromHex("0000000100"), 0},
        // Yaesu: the command byte decides, not a parameter that happens to look like it.
        {Family::Ft1000mp, QByteArray::fromHex("0000000210"), 16},
        {Family::Ft1000mp, QByteArray::fromHex("000000020C"), 0},
        {Family::Ft847, QByteArray::fromHex("0300000007"), 0},
        {Family::Ft847, QByteArray::fromHex("0000000080"), 0},
        {Family::Kenwood, QByteArray("IF;\r"), 38},
        {Family::Kenwood, QByteArray("FA00014070150;\r"), 0},
        {Family::Jst245, QByteArray("H1\r"), 0},
        {Family::Jst245, QByteArray("I0\r"), 0},
        // An ICOM frame the rig does not know is only echoed.
        {Family::Icom, QByteArray::fromHex("FEFE58E07FFD"), 6},
        {Family::Icom, QByteArray::fromHex("FEFE58E004FD"), 14},
        // Too short to hold the command byte.
        {Family::Icom, QByteArray::fromHex("FEFE"), 2},
        {Family::Ft817, QByteArray::fromHex("0000"), 0},
        {Family::Kenwood, QByteArray(), 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(rig::answerLength(r.family, r.command), r.answer)
            << rig::traits(r.family).name << " " << r.command.toHex(' ').toStdString();
}

// What comes back after a command is the rig's own whole answer, or not.
TEST(CatAnswers, OnlyTheRigsOwnWholeAnswerCounts) {
    const QByteArray kenwood = "RX;\rIF;\r";
    const QByteArray ifAnswer = "IF00014070000     +000000000020000000;";
    const QByteArray ft817 = QByteArray::fromHex("0000000088") + QByteArray::fromHex("0000000003");
    const QByteArray icom = QByteArray::fromHex("FEFE58E01C0000FD");
    const struct {
        Family family;
        QByteArray command, back;
        bool answered;
        QByteArray before = {}; // written just before the command
    } rows[] = {
        {Family::Kenwood, kenwood, ifAnswer, true},
        {Family::Kenwood, kenwood, kenwood, false},                             // an echo
        {Family::Kenwood, kenwood, ifAnswer.left(19), false},                   // half of it
        {Family::Kenwood, kenwood, QByteArray::fromHex("FEFEE058FBFD"), false}, // another family's
        {Family::Kenwood, kenwood, QByteArray(38, '\xFF'), false},              // noise
        {Family::Ft817, ft817, QByteArray::fromHex("0140700001"), true},
        {Family::Ft817, ft817, ft817, false},
        // The echo of a key-on written just before, whole or with its first bytes cleared from the port.
        {Family::Ft847, ft817, QByteArray::fromHex("0000000008") + ft817, false,
         QByteArray::fromHex("0000000008")},
        {Family::Ft847, ft817, QByteArray::fromHex("00000008") + ft817, false,
         QByteArray::fromHex("0000000008")},
        {Family::Ft847, ft817, QByteArray::fromHex("0140700001"), true, QByteArray::fromHex("0000000008")},
        {Family::Icom, icom, icom + QByteArray::fromHex("FEFEE058FBFD"), true},
        {Family::Icom, icom, icom + QByteArray::fromHex("FEFEE05EFBFD"), false}, // another rig's
        {Family::Icom, icom, icom + QByteArray::fromHex("FEFEE058FB"), false},
        {Family::Icom, icom, icom + QByteArray(6, '\xFF'), false},
        {Family::Ft900, QByteArray::fromHex("0000000210"), QByteArray(10, '\x01'), false}, // not read
    };
    for (const auto& r : rows)
        EXPECT_EQ(rig::answeredWhole(r.family, r.command, r.back, kAddress, r.before), r.answered)
            << rig::traits(r.family).name << " " << r.back.toHex(' ').toStdString();
}

} // namespace
