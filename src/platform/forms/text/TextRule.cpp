#include "platform/forms/text/TextRule.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// QLineEdit's own maximum, that is none.
constexpr int kNoLimit = 32767;

// QLineEdit runs its validator on every change, typed or set, and takes the
// text the validator gives back: the one place every way in passes, so the
// box's owner is its validator. The box's own maximum length would cut a
// paste before any rule saw it and a stored text as it is set, so the owner
// holds the limit in its place.
class BoxText : public QValidator {
  public:
    explicit BoxText(QLineEdit* box)
        : QValidator(box), box_(box), check_(const_cast<QValidator*>(box->validator())),
          held_(box->text().size()) {
        if (box->maxLength() < kNoLimit) limit_ = box->maxLength();
        // The box holds the edited text already while it is checked: the
        // length before the edit is kept here, from every change that stood.
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { held_ = text.size(); });
        box->setMaxLength(kNoLimit);
        box->setValidator(this);
    }

    static BoxText* of(const QLineEdit* box) {
        return dynamic_cast<BoxText*>(const_cast<QValidator*>(box->validator()));
    }
    static BoxText& owner(QLineEdit* box) {
        BoxText* held = of(box);
        return held ? *held : *new BoxText(box);
    }

    bool addRule(TextRule rule) {
        if (std::find(rules_.begin(), rules_.end(), rule) != rules_.end()) return false;
        rules_.push_back(rule);
        return true;
    }
    void setLimit(int limit, PastLimit past) {
        limit_ = limit;
        past_ = past;
    }
    int limit() const { return limit_; }
    void setCheck(QValidator* check) { check_ = check; }

    State validate(QString& input, int& pos) const override {
        rule(input, pos);
        if (past_ == PastLimit::Cut)
            cut(input, pos);
        else if (refused(input))
            return Invalid;
        return check_ ? check_->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override {
        int end = static_cast<int>(input.size());
        rule(input, end);
        if (past_ == PastLimit::Cut) cut(input, end);
        if (check_) check_->fixup(input);
    }
    bool checkTakes(QString text) const {
        int pos = static_cast<int>(text.size());
        rule(text, pos);
        return !check_ || check_->validate(text, pos) != Invalid;
    }

  private:
    void rule(QString& input, int& pos) const {
        for (TextRule r : rules_) {
            if (QString ruled = r(input); ruled != input) {
                pos = static_cast<int>(r(input.left(pos)).size());
                input = std::move(ruled);
            }
        }
    }
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
    // Only an edit the box can take back is refused. A box keeps a refused
    // text it cannot undo (a whole text set by the program, with no edit in
    // its history, or a step of undo, with a step to redo) and then takes
    // every later edit unchecked: those are taken, so the limit holds after.
    bool refused(const QString& input) const {
        if (limit_ <= 0 || !box_->isUndoAvailable() || box_->isRedoAvailable()) return false;
        return input.size() > limit_ && input.size() > held_;
    }

    QLineEdit* box_;
    QPointer<QValidator> check_;
    std::vector<TextRule> rules_;
    int limit_ = 0;
    PastLimit past_ = PastLimit::Cut;
    qsizetype held_;
};

} // namespace

void keepRule(QLineEdit* box, TextRule rule) {
    if (!BoxText::owner(box).addRule(rule)) return;
    if (const QString ruled = rule(box->text()); ruled != box->text()) box->setText(ruled);
}

void setTextLimit(QLineEdit* box, int maxChars, PastLimit past) {
    BoxText& owner = BoxText::owner(box);
    owner.setLimit(maxChars, past);
    if (past == PastLimit::Cut && maxChars > 0 && box->text().size() > maxChars)
        box->setText(box->text().left(maxChars));
}

int textLimit(const QLineEdit* box) {
    const BoxText* owner = BoxText::of(box);
    return owner ? owner->limit() : 0;
}

bool keepsRules(const QLineEdit* box) {
    return BoxText::of(box) != nullptr;
}

void keepCheck(QLineEdit* box, QValidator* check) {
    BoxText::owner(box).setCheck(check);
}

bool checkTakes(const QLineEdit* box, const QString& text) {
    if (const BoxText* owner = BoxText::of(box)) return owner->checkTakes(text);
    int pos = 0;
    QString copy = text;
    return !box->validator() || box->validator()->validate(copy, pos) != QValidator::Invalid;
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
