#include "terminal/macros/MacroStore.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "platform/os/AtomicFile.h"
#include "platform/forms/Colour.h"
#include "platform/forms/Dialogs.h"
#include "platform/os/Paths.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/MacroFileLegacy.h"

#include <QFile>
#include <QFileInfo>

namespace terminal::macros {
namespace {

const QString kFilter = QStringLiteral("マクロファイル(*.MAC)");
constexpr std::uint32_t kLightGrey = 0xC0C0C0;

QString ini(const char* section, const QString& key) {
    return core::IniStored(QLatin1String(section), key).value_or(QString());
}

void putIni(const char* section, const QString& key, const QString& value) {
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

void tellUnreadable() {
    ui::msgBox(QStringLiteral("マクロファイルが読めませんでした"), ui::OkOnly);
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
        const auto bytes = readBytes(paths::fromStored(file));
        if (!bytes || !fillFromFile(f, parseMacroFile(*bytes))) tellUnreadable();
    }
    rebuildShortcuts(f);
}

bool LoadMacroFile(const QString& path) {
    const auto bytes = readBytes(path);
    if (!bytes) {
        ui::msgBox(QStringLiteral("マクロファイルがロードできませんでした"), ui::OkOnly);
        return false;
    }
    core::g.MacrosFromFile = 1;
    MACRO_FORM& f = forms::MACRO_FORM();
    core::g.MacrosFromFile = 0;
    const bool complete = fillFromFile(f, parseMacroFile(*bytes));
    rebuildShortcuts(f);
    for (int i = 0; i < kCount; ++i) {
        showOnButton(i, macroInStore(f, i));
        putIni("MACRO_SCKEY", QStringLiteral("MACRO%1").arg(i),
               QString::number(core::g.MacroShortcutKeys[static_cast<std::size_t>(i)]));
    }
    core::g.MacroFilePath = path;
    putIni("PSKCFG", QStringLiteral("MacroFile"), path);
    putIni("MACRO_SCKEY", QStringLiteral("SC_USED"), g.UsedShortcutKeys);
    if (!complete) tellUnreadable();
    return true;
}

void MAC_LOAD_Click() {
    const QString current = ini("PSKCFG", QStringLiteral("MacroFile"));
    const QString folder =
        current.isEmpty() ? paths::programFolder() : QFileInfo(paths::fromStored(current)).absolutePath();
    const QString path = ui::openFileName(QStringLiteral("マクロファイル選択"), folder, kFilter);
    if (!path.isEmpty()) LoadMacroFile(path);
}

bool SaveMacroFile() {
    const QString current = ini("PSKCFG", QStringLiteral("MacroFile"));
    const QString suggested = current.isEmpty()
                                  ? paths::join(paths::programFolder(), QStringLiteral("ZORVATEK_MACRO"))
                                  : paths::fromStored(current);
    const QString chosen = ui::saveFileName(QStringLiteral("マクロファイル保存"), suggested, kFilter);
    if (chosen.isEmpty()) {
        ui::msgBox(QStringLiteral("マクロファイルは保存されていません"), ui::OkOnly);
        return false;
    }
    MACRO_FORM& f = forms::MACRO_FORM();
    std::array<Macro, kCount> all;
    for (int i = 0; i < kCount; ++i) {
        // A system colour cannot be stored in the file: it becomes light grey.
        if (f.nameColour(i) & 0x80000000u) f.setNameColour(i, kLightGrey);
        all[static_cast<std::size_t>(i)] = macroInStore(f, i);
    }
    const QString path = withMacSuffix(chosen);
    if (!files::replaceWhole(path, formatMacroFile(all))) {
        ui::msgBox(QStringLiteral("マクロファイルが保存できませんでした") + QStringLiteral("\r\n") + path,
                   ui::OkOnly);
        return false;
    }
    rebuildShortcuts(f);
    for (int i = 0; i < kCount; ++i) {
        showOnButton(i, all[static_cast<std::size_t>(i)]);
        putIni("MACRO_SCKEY", QStringLiteral("MACRO%1").arg(i),
               QString::number(core::g.MacroShortcutKeys[static_cast<std::size_t>(i)]));
    }
    core::g.MacroFilePath = path;
    putIni("PSKCFG", QStringLiteral("MACRO"), QStringLiteral("1"));
    putIni("PSKCFG", QStringLiteral("MacroFile"), path);
    putIni("MACRO_SCKEY", QStringLiteral("SC_USED"), g.UsedShortcutKeys);
    focusCallSignBox();
    return true;
}

} // namespace terminal::macros
