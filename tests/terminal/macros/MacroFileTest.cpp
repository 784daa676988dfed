// The macro file: a full file of 36 macros round trip byte for byte, and what a
// damaged hand-written file still yields.
#include "terminal/macros/MacroFile.h"
#include "terminal/macros/MacroFileLegacy.h"

#include "platform/os/Cp932.h"

#include <gtest/gtest.h>

namespace {

using terminal::macros::kCount;

std::array<terminal::macros::Macro, kCount> sampleMacros() {
    std::array<terminal::macros::Macro, kCount> m;
    for (int i = 0; i < kCount; ++i) {
        auto& x = m[static_cast<std::size_t>(i)];
        x.name = QStringLiteral("マクロ%1").arg(i);
        x.colour = static_cast<std::uint32_t>(0x102030 * i) & 0xFFFFFF;
        x.text = QStringLiteral("CQ CQ DE 'MYCALL' %1\r\n'HISNAME' さん　こんにちは\r\n'TXOFF'").arg(i);
    }
    m[0].name = QStringLiteral("CQ(sQ)");
    m[1].colour = 0x8000000F; // a system colour is written as it is held
    m[2].text = QString();
    m[3].name = QString();
    m[4].text = QStringLiteral("\r\n\r\n前後に空行\r\n\r\n");
    m[10].name = QStringLiteral("QRV (sota)");
    m[35].text = QStringLiteral("最後");
    return m;
}

TEST(MacroFile, ThirtySixMacrosRoundTripByteExact) {
    const QByteArray bytes = terminal::macros::formatMacroFile(sampleMacros());
    EXPECT_TRUE(bytes.startsWith("<MACNAME0>\r\nCQ(sQ)\r\n<BUTCOL0>\r\n 0 \r\n<MACText0>\r\n"));
    EXPECT_TRUE(bytes.endsWith(cp932::encode(QStringLiteral("<MACText35>\r\n最後\r\n<MacroEND35>\r\n"))));
    EXPECT_TRUE(bytes.contains("<BUTCOL1>\r\n 2147483663 \r\n"));
    EXPECT_EQ(bytes.count("<MacroEND"), kCount);
    EXPECT_FALSE(bytes.contains("\n\n<MacroEND")) << "no empty line is added after a text";

    const terminal::macros::ReadResult r = terminal::macros::parseMacroFile(bytes);
    ASSERT_TRUE(r.complete());
    std::array<terminal::macros::Macro, kCount> back;
    for (int i = 0; i < kCount; ++i) {
        const auto& got = r.macros[static_cast<std::size_t>(i)];
        back[static_cast<std::size_t>(i)] = {*got.name, *got.colour, *got.text};
        EXPECT_EQ(*got.name, sampleMacros()[static_cast<std::size_t>(i)].name) << i;
        EXPECT_EQ(*got.text, sampleMacros()[static_cast<std::size_t>(i)].text) << i;
    }
    EXPECT_EQ(terminal::macros::formatMacroFile(back), bytes);
}

TEST(MacroFile, DamagedHandWrittenFileYieldsWhatItHolds) {
    const QByteArray file =
        cp932::encode(QStringLiteral("<MACNAME0>\nあいさつ\n<BUTCOL0>\n  255\n<MACText0>\nこんにちは\n"
                                     "<MacroEND0>\n"
                                     "<MACNAME1>\n色なし\n<MACText1>\nline\n<MacroEND1>\n"
                                     "<MACNAME2>\n悪い色\n<BUTCOL2>\nred\n<MACText2>\nx\n<MacroEND2>\n"
                                     "<MACNAME3> \t\n空白付き\n<BUTCOL3>  \n 0 \n<MACText3>\nz\n<MacroEND3>\n"
                                     "<MACNAME10>\n十\n<BUTCOL10>\r\n-2147483633\r\n<MACText10>\r\n"
                                     "cut off\r\nsecond line"));
    const terminal::macros::ReadResult r = terminal::macros::parseMacroFile(file);
    EXPECT_FALSE(r.complete());
    const auto& m0 = r.macros[0];
    ASSERT_TRUE(m0.complete());
    EXPECT_EQ(*m0.name, QStringLiteral("あいさつ"));
    EXPECT_EQ(*m0.colour, 255u);
    EXPECT_EQ(*m0.text, QStringLiteral("こんにちは"));

    EXPECT_FALSE(r.macros[1].name) << "the name ends at the colour tag, which is missing";
    EXPECT_FALSE(r.macros[1].colour);
    EXPECT_EQ(r.macros[1].text, QStringLiteral("line"));
    EXPECT_EQ(r.macros[2].name, QStringLiteral("悪い色"));
    EXPECT_FALSE(r.macros[2].colour) << "a colour that is not a number";
    EXPECT_EQ(r.macros[2].text, QStringLiteral("x"));
    EXPECT_EQ(r.macros[3].name, QStringLiteral("空白付き")) << "blanks after a tag stay on its line";
    EXPECT_EQ(r.macros[3].colour, 0u);

    const auto& m10 = r.macros[10];
    EXPECT_EQ(m10.name, QStringLiteral("十")) << "<MACNAME1> must not match <MACNAME10>";
    EXPECT_EQ(m10.colour, 0x8000000Fu);
    EXPECT_EQ(m10.text, QStringLiteral("cut off\r\nsecond line")) << "a cut-off last macro keeps its text";
    for (int i : {4, 9, 11, 35}) {
        const auto& m = r.macros[static_cast<std::size_t>(i)];
        EXPECT_FALSE(m.name || m.colour || m.text) << i;
    }
    EXPECT_FALSE(terminal::macros::parseMacroFile(QByteArray()).macros[0].name);
}

// What would not come back out of the file as it stands is held, with the
// macro to mend: a character Shift-JIS lacks, or a tag that comes before the
// one the reading rule should take. A tag that comes after it harms nothing.
TEST(MacroFile, AMacroThatWouldNotReadBackIsHeld) {
    const QString forging =
        QStringLiteral("CQ DE JA1ZVK\r\n<MacroEND0>\r\n<MACNAME1>\r\nFORGED\r\n<BUTCOL1>\r\n"
                       " 255 \r\n<MACText1>\r\nEVIL TEXT\r\n<MacroEND1>\r\nTAIL OF M1 BODY");
    const struct {
        const char* what;
        int macro;
        bool name;
        QString value;
        std::optional<terminal::macros::NotStorable> held;
    } cases[] = {
        {"a text that forges the next macro",
         0,
         false,
         forging,
         {{0, false, {}, QStringLiteral("<MacroEND0>")}}},
        {"a text that names a later macro",
         3,
         false,
         QStringLiteral("x <MACNAME7> y"),
         {{3, false, {}, QStringLiteral("<MACNAME7>")}}},
        {"its own end in a text",
         5,
         false,
         QStringLiteral("a\r\n<MacroEND5>\r\nb"),
         {{5, false, {}, QStringLiteral("<MacroEND5>")}}},
        {"a tag in a name",
         2,
         true,
         QStringLiteral("<BUTCOL2>"),
         {{2, true, {}, QStringLiteral("<BUTCOL2>")}}},
        {"an earlier macro's tag comes after the one read", 9, false, QStringLiteral("<MacroEND0><MACNAME8>"),
         std::nullopt},
        {"its own opening tags come before its text", 4, false, QStringLiteral("<MACNAME4><MACText4>"),
         std::nullopt},
        {"no macro 36", 0, false, QStringLiteral("<MACNAME36><MacroEND99><MACNAME01>"), std::nullopt},
        {"euro in a name", 6, true, QStringLiteral("JA1€X"), {{6, true, QStringLiteral("€"), {}}}},
        {"emoji and euro in a text",
         35,
         false,
         QStringLiteral("🎉 JA1€X €"),
         {{35, false, QStringLiteral("🎉€"), {}}}},
        {"Japanese and a wave dash", 1, false, QStringLiteral("こんにちは～ ①"), std::nullopt},
        {"a wave dash typed by an input method, in a name", 1, true, QStringLiteral("よろしく〜"),
         std::nullopt},
        {"a yen sign in a name", 7, true, QStringLiteral("PSK¥63"), {{7, true, QStringLiteral("¥"), {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto macros = sampleMacros();
        auto& m = macros[static_cast<std::size_t>(c.macro)];
        (c.name ? m.name : m.text) = c.value;
        const auto held = terminal::macros::notStorable(macros);
        ASSERT_EQ(held.has_value(), c.held.has_value());
        if (!held) {
            const auto back = terminal::macros::parseMacroFile(terminal::macros::formatMacroFile(macros));
            EXPECT_EQ(c.name ? back.macros[static_cast<std::size_t>(c.macro)].name
                             : back.macros[static_cast<std::size_t>(c.macro)].text,
                      cp932::readBack(c.value))
                << "reads back whole, in the form the file holds";
            continue;
        }
        EXPECT_EQ(held->macro, c.held->macro);
        EXPECT_EQ(held->inName, c.held->inName);
        EXPECT_EQ(held->characters, c.held->characters);
        EXPECT_EQ(held->tag, c.held->tag);
    }
}

TEST(MacroFile, ShortcutMarkerOnlyAtTheEnd) {
    struct Case {
        const char* name;
        QChar letter; // null: none
        const char* bare;
    } cases[] = {
        {"CQ(sQ)", QLatin1Char('Q'), "CQ"},
        {"QRV (sota)", QChar(), "QRV (sota)"},
        {"(sA)", QLatin1Char('A'), ""},
        {"X(sq)", QChar(), "X(sq)"},
        {"X(sQ) ", QChar(), "X(sQ) "},
        {"(sQ)name", QChar(), "(sQ)name"},
        {"", QChar(), ""},
    };
    for (const Case& c : cases) {
        const auto got = terminal::macros::shortcutLetter(QString::fromUtf8(c.name));
        EXPECT_EQ(got.value_or(QChar()), c.letter) << c.name;
        EXPECT_EQ(terminal::macros::withoutShortcutMarker(QString::fromUtf8(c.name)),
                  QString::fromUtf8(c.bare))
            << c.name;
    }
}

// The files of older installations: the text line by line joined by CR LF, the
// name the first item of the first line (a quoted item keeps its commas).
TEST(MacroFile, LegacyFilesTextAndName) {
    const struct {
        QByteArray bytes;
        QString text;
        std::optional<QString> name;
    } cases[] = {
        {"CQ CQ\r\nde JA1ZZZ\r\n", QStringLiteral("CQ CQ\r\nde JA1ZZZ"), QStringLiteral("CQ CQ")},
        {"a\nb\n\r\n", QStringLiteral("a\r\nb\r\n"), QStringLiteral("a")},
        {"\"CQ,DX\",x\r\nsecond", QStringLiteral("\"CQ,DX\",x\r\nsecond"), QStringLiteral("CQ,DX")},
        {"  QRZ , 1", QStringLiteral("  QRZ , 1"), QStringLiteral("QRZ")},
        {"\"open quote\r\n", QStringLiteral("\"open quote"), QStringLiteral("open quote")},
        {cp932::encode(QStringLiteral("挨拶,1\r\n")), QStringLiteral("挨拶,1"), QStringLiteral("挨拶")},
        {"", QString(), std::nullopt},
        {"\r\n", QString(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(terminal::macros::legacyMacroText(c.bytes), c.text) << c.bytes.constData();
        EXPECT_EQ(terminal::macros::legacyMacroName(c.bytes), c.name) << c.bytes.constData();
    }
}

} // namespace
