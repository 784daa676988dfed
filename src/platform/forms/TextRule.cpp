#include "platform/forms/TextRule.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

namespace ui {

namespace {

// QLineEdit runs its validator on every change, typed or set, and takes the
// text the validator gives back: the one place every way in passes.
class RuleValidator : public QValidator {
  public:
    RuleValidator(TextRule rule, QValidator* inner, QObject* parent)
        : QValidator(parent), rule_(rule), inner_(inner) {}

    TextRule rule() const { return rule_; }
    QValidator* inner() const { return inner_; }

    State validate(QString& input, int& pos) const override {
        if (QString ruled = rule_(input); ruled != input) {
            pos = static_cast<int>(rule_(input.left(pos)).size());
            input = std::move(ruled);
        }
        return inner_ ? inner_->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override {
        input = rule_(input);
        if (inner_) inner_->fixup(input);
    }

  private:
    TextRule rule_;
    QPointer<QValidator> inner_;
};

} // namespace

void keepRule(QLineEdit* box, TextRule rule) {
    QValidator* inner = const_cast<QValidator*>(box->validator());
    for (const auto* kept = dynamic_cast<const RuleValidator*>(inner); kept;
         kept = dynamic_cast<const RuleValidator*>(kept->inner()))
        if (kept->rule() == rule) return;
    box->setValidator(new RuleValidator(rule, inner, box));
    if (const QString ruled = rule(box->text()); ruled != box->text()) box->setText(ruled);
}

} // namespace ui
