// A master index file (.dx2 or .dx4), then searches and walks over what it gave.
#include "platform/hamlog/Hamlog.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    hamlog::MasterIndex index;
    index.entries = hamlog::parseMasterIndex(bytes, index.byInitial);
    if (!index.entries) return 0;
    const auto& entries = *index.entries;
    for (std::size_t i = 0; i < entries.size() && i < 8; ++i) {
        const QString& key = entries[i].key;
        for (const int keyLength : {0, 1, 2, 6}) {
            int walked = hamlog::idx_search(index, key, keyLength) != 0 ? 1 : 0;
            while (hamlog::idx_next(index) != 0)
                if (++walked > static_cast<int>(entries.size())) std::abort();
        }
    }
    hamlog::idx_search(index, QString::fromLatin1(bytes.right(3)), 0);
    hamlog::idx_close(index);
    return 0;
}
