#include "platform/forms/TextRule.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>

namespace ui {

namespace {

// QLineEdit's own maximum, that is none.
constexpr int kNoLimit = 32767;

// QLineEdit runs its validator on every change, typed or set, and takes the
// text the validator gives back: the one place every way in passes. The box's
// own maximum length would cut a paste before any rule saw it, so the box's
// outermost rule holds the limit and cuts after every rule has run.
class RuleValidator : public QValidator {
  public:
    RuleValidator(TextRule rule, QValidator* inner, int limit, QObject* parent)
        : QValidator(parent), rule_(rule), inner_(inner), limit_(limit) {}

    TextRule rule() const { return rule_; }
    QValidator* inner() const { return inner_; }
    int limit() const { return limit_; }
    void setLimit(int limit) { limit_ = limit; }

    State validate(QString& input, int& pos) const override {
        QValidator* rest = nullptr;
        for (const RuleValidator* v = this; v; v = dynamic_cast<const RuleValidator*>(rest)) {
            if (QString ruled = v->rule_(input); ruled != input) {
                pos = static_cast<int>(v->rule_(input.left(pos)).size());
                input = std::move(ruled);
            }
            rest = v->inner_;
        }
        cut(input, pos);
        return rest ? rest->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override {
        QValidator* rest = nullptr;
        for (const RuleValidator* v = this; v; v = dynamic_cast<const RuleValidator*>(rest)) {
            input = v->rule_(input);
            rest = v->inner_;
        }
        int end = static_cast<int>(input.size());
        cut(input, end);
        if (rest) rest->fixup(input);
    }

  private:
    // What came in ends at the cursor: the text after it stays, and what came
    // in is cut from its end, as the box's own maximum would have cut it.
    void cut(QString& input, int& pos) const {
        if (limit_ <= 0 || input.size() <= limit_) return;
        const qsizetype after = input.size() - pos;
        if (after >= limit_) {
            input.truncate(limit_);
            pos = std::min(pos, limit_);
            return;
        }
        input.remove(limit_ - after, input.size() - limit_);
        pos = static_cast<int>(limit_ - after);
    }

    TextRule rule_;
    QPointer<QValidator> inner_;
    int limit_;
};

// The box's rules when it has no other check; such a box's limit is held by
// its outermost rule. A box that has another check (a width in bytes, say)
// keeps its own maximum length, so that the check goes on judging what the
// box would take.
RuleValidator* rulesOnly(const QLineEdit* box) {
    auto* outer = dynamic_cast<RuleValidator*>(const_cast<QValidator*>(box->validator()));
    const QValidator* rest = outer;
    while (const auto* rule = dynamic_cast<const RuleValidator*>(rest))
        rest = rule->inner();
    return rest ? nullptr : outer;
}

} // namespace

void keepRule(QLineEdit* box, TextRule rule) {
    QValidator* inner = const_cast<QValidator*>(box->validator());
    for (const auto* kept = dynamic_cast<const RuleValidator*>(inner); kept;
         kept = dynamic_cast<const RuleValidator*>(kept->inner()))
        if (kept->rule() == rule) return;
    int limit = 0;
    if (RuleValidator* outer = rulesOnly(box); outer || !inner) {
        limit = box->maxLength() < kNoLimit ? box->maxLength() : 0;
        if (outer && outer->limit() > 0) limit = outer->limit();
        if (outer) outer->setLimit(0);
        box->setMaxLength(kNoLimit);
    }
    box->setValidator(new RuleValidator(rule, inner, limit, box));
    if (const QString ruled = rule(box->text()); ruled != box->text()) box->setText(ruled);
}

void setTextLimit(QLineEdit* box, int maxChars) {
    RuleValidator* outer = rulesOnly(box);
    if (!outer) {
        box->setMaxLength(maxChars);
        return;
    }
    outer->setLimit(maxChars);
    if (box->text().size() > maxChars) box->setText(box->text().left(maxChars));
}

Span overtypeSpan(const QString& text, qsizetype start, qsizetype length, int n) {
    start = std::clamp<qsizetype>(start, 0, text.size());
    const qsizetype rest = text.size() - start;
    const qsizetype reach = std::clamp<qsizetype>(n, 0, rest);
    return {start, std::clamp<qsizetype>(length, reach, rest)};
}

void selectOvertype(QLineEdit* box, int n, bool fixedPlaces) {
    const bool selected = box->hasSelectedText();
    const Span span = overtypeSpan(box->text(), selected ? box->selectionStart() : box->cursorPosition(),
                                   selected && !fixedPlaces ? box->selectionLength() : 0, n);
    if (span.length > 0) box->setSelection(static_cast<int>(span.start), static_cast<int>(span.length));
}

} // namespace ui
