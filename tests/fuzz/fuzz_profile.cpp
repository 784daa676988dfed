// A profile (INI) file as the operator may bring it: its lines, the lookup of
// a section and key, and a write of one key, which must leave every other
// line's bytes as they were.
#include "platform/profile/ProfileEdit.h"
#include "platform/profile/ProfileParse.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool inside(profile::Span s, qsizetype size) {
    return s.begin >= 0 && s.begin <= s.end && s.end <= size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const profile::Parsed parsed = profile::parse(bytes);
    qsizetype covered = parsed.bodyStart;
    for (const profile::Line& line : parsed.lines) {
        if (!inside(line.whole, bytes.size()) || line.whole.begin != covered) std::abort();
        covered = line.whole.end;
        if (line.kind == profile::Line::Kind::Key && !inside(line.value, bytes.size())) std::abort();
        (void)profile::decode(bytes, line.name, parsed.encoding);
    }
    if (covered != bytes.size()) std::abort();

    const QString section = QStringLiteral("PSKCFG");
    const QString key = QStringLiteral("LastMode");
    (void)profile::valueIn(bytes, section, key);
    const QByteArray written = profile::withValue(bytes, section, key, QStringLiteral("RTTY　値"));
    const std::optional<QString> back = profile::valueIn(written, section, key);
    if (!back || *back != QStringLiteral("RTTY　値")) std::abort();
    return 0;
}
