#include "terminal/macros/MacroStore.h"

#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/MacroFileLegacy.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace terminal::macros {
namespace {

const QString kFilter = QStringLiteral("マクロファイル(*.MAC)");
constexpr std::uint32_t kLightGrey = 0xC0C0C0;

QString ini(const char* section, const QString& key) {
    return core::IniStored(QLatin1String(section), key).value_or(QString());
}

void putIni(const char* section, const core::IniKey& key, const QString& value) {
    core::PutIniText(QLatin1String(section), key, value);
}

std::optional<QByteArray> readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

void fillFromLegacyFiles(MACRO_FORM& f) {
    const QString folder = paths::programFolder();
    for (int i = 0; i < kCount; ++i) {
        const auto text = readBytes(paths::join(folder, QStringLiteral("MACRO%1.DAT").arg(i)));
        const auto name = readBytes(paths::join(folder, QStringLiteral("MACNAME%1.DAT").arg(i)));
        if (text) f.setMacroText(i, legacyMacroText(*text));
        if (const auto n = name ? legacyMacroName(*name) : std::nullopt) f.setMacroName(i, *n);
    }
    for (int i = 0; i < kCount; ++i) {
        std::uint32_t ref = colour::kWindowBackground;
        colour::parseRef(ini("MACROCOLOR", QStringLiteral("BTN%1").arg(i)), &ref);
        f.setNameColour(i, ref);
    }
}

// Puts what the file held into the store; a macro the file lacks becomes an empty slot.
bool fillFromFile(MACRO_FORM& f, const ReadResult& r) {
    for (int i = 0; i < kCount; ++i) {
        const ReadMacro& m = r.macros[static_cast<std::size_t>(i)];
        f.setMacroName(i, m.name.value_or(QString()));
        f.setNameColour(i, m.colour.value_or(colour::kButtonFace));
        f.setMacroText(i, m.text.value_or(QString()));
    }
    return r.complete();
}

// Said once for a file, by its name, until a file is read whole: the store
// loads again at every touch after an exit. The file is then not replaced
// unasked: the operator may want to mend it by hand.
void tellUnreadable(const QString& path) {
    if (g.UnreadableMacroFile == path) return;
    g.UnreadableMacroFile = path;
    ui::msgBox(QStringLiteral("マクロファイルが読めませんでした\r\n") + path, ui::OkOnly);
}

// A file that could not be read whole is replaced only when the operator says so.
bool mayReplace(const QString& path) {
    if (g.UnreadableMacroFile.isEmpty() || !QFileInfo::exists(path) ||
        QFileInfo(path).canonicalFilePath() != QFileInfo(g.UnreadableMacroFile).canonicalFilePath())
        return true;
    return ui::msgBox(path + QStringLiteral("\r\nこのマクロファイルは読めなかったファイルです。"
                                            "保存すると今の内容で置き換えられます。\r\n置き換えますか？"),
                      ui::YesNo | ui::Exclamation | ui::DefaultButton2) == ui::Yes;
}

// Nothing is written while a macro would not come back out of the file as it
// stands: the operator is shown the macro and the box to mend.
bool storable(MACRO_FORM& f, const std::array<Macro, kCount>& all) {
    const std::optional<NotStorable> held = notStorable(all);
    if (!held) return true;
    const auto i = static_cast<std::size_t>(held->macro);
    f.showMacro(held->macro);
    if (held->inName)
        f.Text2[i]->setFocus();
    else
        f.Text1[i]->setFocus();
    if (!held->characters.isEmpty())
        ui::heldOrSaid(held->characters, nullptr,
                       caption(held->macro, {}) +
                           (held->inName ? QStringLiteral(" のマクロ名") : QStringLiteral(" のマクロ文")),
                       QStringLiteral("マクロファイルに保存"));
    else
        ui::msgBox((held->tag.isEmpty() ? caption(held->macro, {})
                                        : QStringLiteral("「") + held->tag + QStringLiteral("」")) +
                       QStringLiteral("はマクロファイルの区切りと重なるため、このままでは保存できません。"
                                      "\n別の文字に直して下さい。"),
                   ui::OkOnly | ui::Exclamation);
    return false;
}

QString withMacSuffix(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".MAC") : path;
}

} // namespace

Macro macroInStore(const MACRO_FORM& f, int i) {
    return {f.macroName(i), f.nameColour(i), f.macroText(i)};
}

void putInStore(MACRO_FORM& f, int i, const Macro& m) {
    f.setMacroName(i, m.name);
    f.setNameColour(i, m.colour);
    f.setMacroText(i, m.text);
}

void rebuildShortcuts(const MACRO_FORM& f) {
    g.UsedShortcutKeys = kReservedShortcutLetters;
    for (int i = 0; i < kCount; ++i) {
        const auto letter = shortcutLetter(f.macroName(i));
        const bool usable = letter && !g.UsedShortcutKeys.contains(*letter);
        core::g.MacroShortcutKeys[static_cast<std::size_t>(i)] = usable ? letter->unicode() : 0;
        if (usable) g.UsedShortcutKeys += *letter;
    }
}

void fillStoreAtLoad(MACRO_FORM& f) {
    const QString file = ini("PSKCFG", QStringLiteral("MacroFile"));
    if (file.isEmpty()) {
        fillFromLegacyFiles(f);
    } else {
        // The file named is said: the empty buttons are never left unexplained.
        const QString path = paths::fromStored(file);
        const auto bytes = readBytes(path);
        if (!bytes || !fillFromFile(f, parseMacroFile(*bytes)))
            tellUnreadable(path);
        else
            g.UnreadableMacroFile.clear();
    }
    rebuildShortcuts(f);
}

bool LoadMacroFile(const QString& path) {
    const auto bytes = readBytes(path);
    if (!bytes) {
        // Named: at a start, the file the settings hold may have moved or gone.
        ui::msgBox(QStringLiteral("マクロファイルがロードできませんでした\r\n") + path, ui::OkOnly);
        g.UnreadableMacroFile = path;
        return false;
    }
    // Macros typed in the open editor are the operator's until saved: the
    // file replaces them only on the editor's own question answered Yes.
    if (forms::isLoaded<MACRO_FORM>() && forms::MACRO_FORM().holdsMacroTyping() &&
        !forms::MACRO_FORM().mayDropTyping())
        return false;
    core::g.MacrosFromFile = 1;
    MACRO_FORM& f = forms::MACRO_FORM();
    core::g.MacrosFromFile = 0;
    const bool complete = fillFromFile(f, parseMacroFile(*bytes));
    f.keepAsStored();
    rebuildShortcuts(f);
    for (int i = 0; i < kCount; ++i) {
        showOnButton(i, macroInStore(f, i));
        putIni("MACRO_SCKEY", core::IniKey::built(QStringLiteral("MACRO%1").arg(i)),
               QString::number(core::g.MacroShortcutKeys[static_cast<std::size_t>(i)]));
    }
    core::g.MacroFilePath = path;
    core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("MacroFile"), path);
    putIni("MACRO_SCKEY", "SC_USED", g.UsedShortcutKeys);
    if (complete)
        g.UnreadableMacroFile.clear();
    else
        tellUnreadable(path);
    return true;
}

void MAC_LOAD_Click() {
    const QString current = ini("PSKCFG", QStringLiteral("MacroFile"));
    const QString folder =
        current.isEmpty() ? paths::programFolder() : QFileInfo(paths::fromStored(current)).absolutePath();
    const QString path = core::IniHeldChoice(
        [&] { return ui::openFileName(QStringLiteral("マクロファイル選択"), folder, kFilter); },
        core::StoredPart::WholePath);
    if (!path.isEmpty()) LoadMacroFile(path);
}

bool SaveMacroFile() {
    const QString current = ini("PSKCFG", QStringLiteral("MacroFile"));
    const QString suggested = current.isEmpty()
                                  ? paths::join(paths::programFolder(), QStringLiteral("ZORVATEK_MACRO"))
                                  : paths::fromStored(current);
    MACRO_FORM& f = forms::MACRO_FORM();
    std::array<Macro, kCount> all;
    for (int i = 0; i < kCount; ++i) {
        Macro& m = all[static_cast<std::size_t>(i)];
        m = macroInStore(f, i);
        // Checked as typed: the box's plain text has turned a no-break space
        // into a blank and a line separator into a line break.
        m.text = toCrLf(f.macroTextAsTyped(i));
        // A system colour cannot be stored in the file: it becomes light grey.
        if (m.colour & 0x80000000u) m.colour = kLightGrey;
    }
    if (!storable(f, all)) return false;
    // The settings name the file: a name they cannot hold is refused here.
    const QString chosen = core::IniHeldChoice(
        [&] { return ui::saveFileName(QStringLiteral("マクロファイル保存"), suggested, kFilter); },
        core::StoredPart::WholePath);
    const QString path = chosen.isEmpty() ? QString() : withMacSuffix(chosen);
    if (path.isEmpty() || !mayReplace(path)) {
        ui::msgBox(QStringLiteral("マクロファイルは保存されていません"), ui::OkOnly);
        return false;
    }
    for (int i = 0; i < kCount; ++i) {
        // The store shows what the file gives back: the same characters in
        // the form the file holds them.
        Macro& m = all[static_cast<std::size_t>(i)];
        m.name = cp932::readBack(m.name);
        m.text = cp932::readBack(m.text);
        if (m.name != f.macroName(i)) f.setMacroName(i, m.name);
        if (m.text != f.macroText(i)) f.setMacroText(i, m.text);
        f.setNameColour(i, m.colour);
    }
    if (!files::replaceWhole(path, formatMacroFile(all))) {
        ui::msgBox(QStringLiteral("マクロファイルが保存できませんでした") + QStringLiteral("\r\n") + path,
                   ui::OkOnly);
        return false;
    }
    g.UnreadableMacroFile.clear();
    // Stored now, also when the editor stays open (the move mode's end saves).
    f.keepAsStored();
    rebuildShortcuts(f);
    for (int i = 0; i < kCount; ++i) {
        showOnButton(i, all[static_cast<std::size_t>(i)]);
        putIni("MACRO_SCKEY", core::IniKey::built(QStringLiteral("MACRO%1").arg(i)),
               QString::number(core::g.MacroShortcutKeys[static_cast<std::size_t>(i)]));
    }
    core::g.MacroFilePath = path;
    putIni("PSKCFG", "MACRO", QStringLiteral("1"));
    core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("MacroFile"), path);
    putIni("MACRO_SCKEY", "SC_USED", g.UsedShortcutKeys);
    focusCallSignBox();
    return true;
}

} // namespace terminal::macros
