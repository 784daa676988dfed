// Fonts and colours of the panes and the transmit box, and the macro
// buttons' names, colours and shortcut keys as the load sets them.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/os/Paths.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroFileLegacy.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QFile>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const QString kDefaultFont = QStringLiteral("ＭＳ Ｐゴシック");

struct FontKeys {
    const char* size;
    const char* name;
    const char* bold;
    const char* italic;
};

struct FontTexts {
    QString size, name, bold, italic;
    bool stored = false;
};

FontTexts readFont(const FontKeys& k) {
    FontTexts f;
    const std::optional<QString> size = core::IniStored(kCfg, QString::fromLatin1(k.size));
    const std::optional<QString> name = core::IniStored(kCfg, QString::fromLatin1(k.name));
    const std::optional<QString> bold = core::IniStored(kCfg, QString::fromLatin1(k.bold));
    const std::optional<QString> italic = core::IniStored(kCfg, QString::fromLatin1(k.italic));
    f.size = size.value_or(QStringLiteral("12"));
    f.name = name.value_or(kDefaultFont);
    f.bold = bold.value_or(QStringLiteral("False"));
    f.italic = italic.value_or(QStringLiteral("False"));
    f.stored = size || name || bold || italic;
    return f;
}

void applyFont(QWidget* w, const FontTexts& f) {
    QFont font = w->font();
    font.setFamily(f.name);
    // Sizes are kept as single-precision texts: "10.5" is a size of its own.
    bool ok = false;
    const double points = f.size.trimmed().toDouble(&ok);
    font.setPointSizeF(ok && points > 0 && points < 1000 ? points : 12);
    font.setBold(f.bold == QLatin1String("True"));
    font.setItalic(f.italic == QLatin1String("True"));
    w->setFont(font);
}

// The kept text (stored or default) and the colour applied: the default is the
// pane's design colour, so that white received text never lands on white.
QString readColour(const char* key, const char* fallback, QWidget* target, bool back) {
    const QString v = core::IniStored(kCfg, QString::fromLatin1(key)).value_or(QString::fromLatin1(fallback));
    std::uint32_t ref = 0;
    if (colour::parseRef(v, &ref)) {
        if (back)
            colour::setBackColor(target, ref);
        else
            colour::setForeColor(target, ref);
    }
    return v;
}

// The first text field of a legacy macro name file, read as the macro store reads it.
std::optional<QString> legacyButtonName(int i) {
    QFile f(paths::join(paths::programFolder(), QStringLiteral("MACNAME%1.DAT").arg(i)));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return terminal::macros::legacyMacroName(f.readAll()).value_or(QString());
}

} // namespace

void PSK31MAIN::loadFontsAndColours() {
    core::Globals& g = core::g;
    const FontTexts rx = readFont({"RCVFSIZE", "RCVFNAME", "RCVFBOLD", "RCVFITAL"});
    if (rx.stored) applyFont(RichTextBox1, rx);
    applyFont(RichTextBox2, rx);
    g.RxFontSize = rx.size;
    g.RxFontName = rx.name;
    g.RxFontBold = rx.bold;
    g.RxFontItalic = rx.italic;
    g.RxBackColor = readColour("RCVBKCLR", "16711680", RichTextBox1, true);
    g.PlaybackBackColor = readColour("PBBKCLR", "11518665", RichTextBox2, true);
    g.RxForeColor = readColour("RCVFRCLR", "16777215", RichTextBox1, false);

    const FontTexts tx = readFont({"TXFSIZE", "TXFNAME", "TXFBOLD", "TXFITAL"});
    if (tx.stored) applyFont(Text1, tx);
    g.TxFontSize = tx.size;
    g.TxFontName = tx.name;
    g.TxFontBold = tx.bold;
    g.TxFontItalic = tx.italic;
    g.TxBackColor = readColour("TXBKCLR", "16711680", Text1, true);
    g.TxForeColor = readColour("TXFRCLR", "16777215", Text1, false);
    g.TxAreaBackColor = core::IniStored(kCfg, QStringLiteral("TXARCLR")).value_or(QStringLiteral("255"));

    const FontTexts multi = readFont({"MLTRCVFSIZE", "MLTRCVFNAME", "MLTRCVFBOLD", "MLTRCVFITAL"});
    g.MultiFontSize = multi.size;
    g.MultiFontName = multi.name;
    g.MultiFontBold = multi.bold;
    g.MultiFontItalic = multi.italic;
    g.MultiForeColor = core::IniStored(kCfg, QStringLiteral("MLTRCVFRCLR")).value_or(QStringLiteral("0"));
}

void PSK31MAIN::loadMacroButtons() {
    core::Globals& g = core::g;
    g.MacroFilePath = core::IniStored(kCfg, QStringLiteral("MacroFile")).value_or(kCfg);
    if (g.MacroFilePath != kCfg) {
        // The macro file sets names, colours and keys.
        terminal::macros::LoadMacroFile(paths::fromStored(g.MacroFilePath));
        return;
    }
    if (core::IniStored(kCfg, QStringLiteral("MACRO")).value_or(QString()) == QLatin1String("1")) {
        // A missing or unreadable name file leaves the button's caption as it is.
        MACRO_FORM& store = forms::MACRO_FORM();
        for (int i = 0; i < 36; ++i) {
            if (const std::optional<QString> name = legacyButtonName(i)) Command8[i]->setText(*name);
            Command8[i]->setToolTip(store.Text1[i]->toPlainText().left(120));
        }
    }
    for (int i = 0; i < 36; ++i) {
        std::uint32_t ref = colour::kButtonFace;
        const std::optional<QString> stored =
            core::IniStored(QStringLiteral("MACROCOLOR"), QStringLiteral("BTN%1").arg(i));
        if (!stored || !colour::parseRef(*stored, &ref)) ref = colour::kButtonFace;
        colour::setBackColor(Command8[i], ref);
        g.MacroShortcutKeys[i] =
            core::IniWholeOr(QStringLiteral("MACRO_SCKEY"), QStringLiteral("MACRO%1").arg(i), 0);
    }
}
