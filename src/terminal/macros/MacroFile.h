#pragma once
// The macro file (*.MAC): for each macro 0 to 35 its name, button colour and
// text, each cut out by the tags "<MACNAME i>", "<BUTCOL i>", "<MACText i>" and
// "<MacroEND i>". Shift-JIS with CR LF; macro texts keep their own CR LF line
// breaks. Shortcut letters travel inside the names as a trailing "(sX)".
#include "terminal/macros/MacroState.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace terminal::macros {

struct Macro {
    QString name;
    std::uint32_t colour = 0;
    QString text; // line breaks CR LF
};

// What a file yielded for one macro: each part only when its tags were found
// in order (a colour also only when it is a number).
struct ReadMacro {
    std::optional<QString> name;
    std::optional<std::uint32_t> colour;
    std::optional<QString> text;
    bool complete() const { return name && colour && text; }
};

struct ReadResult {
    std::array<ReadMacro, kCount> macros;
    bool complete() const;
};

// The file's bytes: colours are written as decimal numbers between two spaces.
QByteArray formatMacroFile(const std::array<Macro, kCount>& macros);
// Reads what the file holds; a damaged or cut-off file gives what is there.
// Any line ending (CR LF, LF or CR) is read as CR LF.
ReadResult parseMacroFile(const QByteArray& bytes);

// What keeps the macros from coming back out of their file as they stand:
// a character Shift-JIS would give back as another (cp932::uncarried), or a tag
// of the file in a name or a text, which would cut that macro or make up
// another. The first macro so held, in the order of the file.
struct NotStorable {
    int macro = 0;
    bool inName = false;
    QString characters; // those that would come back as others, each once
    QString tag;        // else the tag found, when one is to blame
};
std::optional<NotStorable> notStorable(const std::array<Macro, kCount>& macros);

// The letter of a trailing shortcut marker "(s" + A..Z + ")", if the name ends in one.
std::optional<QChar> shortcutLetter(const QString& name);
// The name without its trailing shortcut marker.
QString withoutShortcutMarker(const QString& name);

// Line breaks of an edit box ("\n") and of the store (CR LF).
QString toCrLf(const QString& boxText);
QString fromCrLf(const QString& text);

} // namespace terminal::macros
