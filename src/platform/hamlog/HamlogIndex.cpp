// The master data indexes of the logging library (idx_open ... idx_close).
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogMaster.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>

namespace hamlog {

namespace {

std::shared_ptr<std::vector<MasterIndex::Entry>> readIndexFile(const QString& fileName, bool& byInitial) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    return parseMasterIndex(file.readAll(), byInitial);
}

bool isInitialOfArea(const QString& key) {
    return !key.isEmpty() && key[0] >= QLatin1Char('4') && key[0] <= QLatin1Char('8');
}

} // namespace

std::shared_ptr<std::vector<MasterIndex::Entry>> parseMasterIndex(const QByteArray& bytes, bool& byInitial) {
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    const QByteArray head = file.readLine().trimmed();
    if (head != "ZVIDX1 code" && head != "ZVIDX1 initial") return nullptr;
    byInitial = head.endsWith("initial");
    auto entries = std::make_shared<std::vector<MasterIndex::Entry>>();
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const int tab = static_cast<int>(line.indexOf('\t'));
        bool ok = false;
        const int recNo = line.mid(tab + 1).trimmed().toInt(&ok);
        if (tab < 0 || !ok || recNo < 1) return nullptr;
        entries->push_back({QString::fromUtf8(line.left(tab)), recNo});
    }
    std::stable_sort(entries->begin(), entries->end(),
                     [](const MasterIndex::Entry& a, const MasterIndex::Entry& b) { return a.key < b.key; });
    return entries;
}

int idx_open(const QString& fileName, MasterIndex& index) {
    idx_close(index);
    if (!QFile::exists(fileName) && fileName.size() > 4) rebuildMissingMasterIndexes(fileName.chopped(4));
    bool byInitial = false;
    auto entries = readIndexFile(fileName, byInitial);
    if (!entries) return NoIndex;
    index.entries = std::move(entries);
    index.byInitial = byInitial;
    return Done;
}

int idx_search(MasterIndex& index, const QString& key, int keyLength) {
    if (!index.entries) return 0;
    const QString wanted = keyLength > 0 ? key.left(keyLength) : key;
    const auto& entries = *index.entries;
    const auto first =
        std::lower_bound(entries.begin(), entries.end(), wanted,
                         [](const MasterIndex::Entry& e, const QString& k) { return e.key < k; });
    const bool leading = keyLength == 0 && index.byInitial && isInitialOfArea(wanted);
    if (first == entries.end() || !(first->key == wanted || (leading && first->key.startsWith(wanted)))) {
        index.pos = -1;
        return 0;
    }
    index.pos = static_cast<int>(first - entries.begin());
    return first->recNo;
}

int idx_next(MasterIndex& index) {
    if (!index.entries || index.pos < 0) return 0;
    if (index.pos + 1 >= static_cast<int>(index.entries->size())) {
        index.pos = -1;
        return 0;
    }
    return (*index.entries)[static_cast<std::size_t>(++index.pos)].recNo;
}

int idx_close(MasterIndex& index) {
    const bool wasOpen = index.entries != nullptr;
    index = MasterIndex{};
    return wasOpen ? Done : NotOpen;
}

} // namespace hamlog
