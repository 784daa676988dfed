// The logging program's master record file (.mst) as found beside a log.
#include "platform/hamlog/HamlogMaster.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    file.open(QIODevice::ReadOnly);
    for (int recNo = 0;; ++recNo) {
        const auto record = hamlog::readMasterRecord(file, recNo);
        if (!record) {
            if (recNo == 0) continue;
            break;
        }
        // The index keys come from the text fields read.
        if (hamlog::codeKey(*record).size() > 6 || hamlog::initialKey(*record).size() > 4) std::abort();
    }
    return 0;
}
