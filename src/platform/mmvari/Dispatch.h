#pragma once
// Late-bound access by dispatch id, as the multi-mode control and its views are
// reached: property get and set, indexed properties Pn(index), and methods.
// A member the target does not have, a wrong index or a value of the wrong kind
// fails the call (the result is false) and changes nothing; callers skip such a
// step and go on. Every call, failed or not, is kept in a call record (the last
// RecordLimit calls) that tests read.
#include <QList>
#include <QVariant>
#include <optional>

namespace dispatch {

struct Call {
    enum Kind { Get, Set, Invoke };
    Kind kind = Get;
    int id = 0;
    std::optional<int> index;
    QVariantList args; // the value set, or the method's arguments
    bool ok = false;
};

// Kinds of value a property holds; a set converts to it or fails.
enum class ValueKind { Bool, Int, Double, String };
// The value converted to the kind, or nothing when it cannot be.
std::optional<QVariant> convert(const QVariant& value, ValueKind kind);

class Target {
  public:
    virtual ~Target() = default;

    bool get(int id, QVariant& value);
    bool get(int id, int index, QVariant& value);
    bool set(int id, const QVariant& value);
    bool set(int id, int index, const QVariant& value);
    bool invoke(int id, const QVariantList& args = {}, QVariant* result = nullptr);

    const QList<Call>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    // Calls of the record that match kind and id, in order.
    QList<Call> callsOf(Call::Kind kind, int id) const;
    static constexpr int RecordLimit = 2000;

  protected:
    virtual bool readMember(int id, std::optional<int> index, QVariant& value) = 0;
    virtual bool writeMember(int id, std::optional<int> index, const QVariant& value) = 0;
    virtual bool callMethod(int id, const QVariantList& args, QVariant& result) = 0;

  private:
    bool record(Call call);
    QList<Call> calls_;
};

} // namespace dispatch
