#include "platform/mmvari/Dispatch.h"

namespace dispatch {

std::optional<QVariant> convert(const QVariant& value, ValueKind kind) {
    bool ok = false;
    switch (kind) {
    case ValueKind::Bool:
        if (value.typeId() == QMetaType::Bool) return value;
        if (const qlonglong n = value.toLongLong(&ok); ok) return QVariant(n != 0);
        return std::nullopt;
    case ValueKind::Int:
        if (const int n = value.toInt(&ok); ok) return QVariant(n);
        return std::nullopt;
    case ValueKind::Double:
        if (const double d = value.toDouble(&ok); ok) return QVariant(d);
        return std::nullopt;
    case ValueKind::String:
        if (value.canConvert<QString>() && value.isValid()) return QVariant(value.toString());
        return std::nullopt;
    }
    return std::nullopt;
}

bool Target::record(Call call) {
    if (calls_.size() >= RecordLimit) calls_.removeFirst();
    calls_.append(call);
    return call.ok;
}

bool Target::get(int id, QVariant& value) {
    return record({Call::Get, id, std::nullopt, {}, readMember(id, std::nullopt, value)});
}

bool Target::get(int id, int index, QVariant& value) {
    return record({Call::Get, id, index, {}, readMember(id, index, value)});
}

bool Target::set(int id, const QVariant& value) {
    return record({Call::Set, id, std::nullopt, {value}, writeMember(id, std::nullopt, value)});
}

bool Target::set(int id, int index, const QVariant& value) {
    return record({Call::Set, id, index, {value}, writeMember(id, index, value)});
}

bool Target::invoke(int id, const QVariantList& args, QVariant* result) {
    QVariant r;
    const bool ok = callMethod(id, args, r);
    if (ok && result) *result = r;
    return record({Call::Invoke, id, std::nullopt, args, ok});
}

QList<Call> Target::callsOf(Call::Kind kind, int id) const {
    QList<Call> out;
    for (const Call& c : calls_)
        if (c.kind == kind && c.id == id) out.append(c);
    return out;
}

} // namespace dispatch
