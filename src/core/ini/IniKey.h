#pragma once
// The key of a text setting, as the text writers (PutIniString, PutIniText,
// PutIniNumber) take it. A key written in the code is read as the code
// compiles: one that holds a name (kNameKeys) does not compile, as a name is
// written by PutIniName alone. A key built while the program runs (a column's
// number in it) is made with IniKey::built, which the writers refuse when it
// names a name key, and the check over the code (IniNamesInCode) reads every
// built key and what leads into it, for what the compiler cannot see.
#include "core/ini/IniNames.h"

#include <QString>
#include <cstddef>

namespace core {

namespace ini_key {
constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
// Keys are found in any letter case, as the file is read.
constexpr bool sameKey(const char* a, const char* b) {
    while (*a && lower(*a) == lower(*b)) {
        ++a;
        ++b;
    }
    return lower(*a) == lower(*b);
}
constexpr bool namesAName(const char* key) {
    for (const NameKey& k : kNameKeys)
        if (sameKey(k.key, key)) return true;
    return false;
}
// Never defined and never constant: called while a key is compiled, it stops
// the compiler on the key that names a name.
void aNameKeyIsWrittenByPutIniNameAlone();
} // namespace ini_key

class IniKey {
  public:
    template <std::size_t N> consteval IniKey(const char (&key)[N]) : literal_(key) {
        if (ini_key::namesAName(key)) ini_key::aNameKeyIsWrittenByPutIniNameAlone();
    }
    // A key made as the program runs; refused by the text writers when it names a name key.
    static IniKey built(QString key) {
        IniKey k;
        k.built_ = std::move(key);
        return k;
    }
    QString text() const { return literal_ ? QString::fromLatin1(literal_) : built_; }
    bool isBuilt() const { return !literal_; }

  private:
    IniKey() = default;
    const char* literal_ = nullptr;
    QString built_;
};

} // namespace core
