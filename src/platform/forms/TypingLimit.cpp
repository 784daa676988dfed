#include "platform/forms/TypingLimit.h"

#include <QValidator>

namespace ui {
namespace {

class TypingLimit : public QValidator {
  public:
    TypingLimit(QLineEdit* box, int maxChars)
        : QValidator(box), box_(box), max_(maxChars), held_(box->text().size()) {
        // The box holds the edited text already while it is checked: the
        // length before the edit is kept here, from every change that stood.
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { held_ = text.size(); });
    }

    State validate(QString& input, int&) const override {
        // A box takes every later edit unchecked once it has been told a text
        // is invalid without undoing it, as it does with a whole text set by
        // the program (no edit in its history) or one step of undo (a step to
        // redo): those are always acceptable, so that the limit holds after them.
        if (!box_->isUndoAvailable() || box_->isRedoAvailable()) return Acceptable;
        if (input.size() > max_ && input.size() > held_) return Invalid;
        return Acceptable;
    }

  private:
    QLineEdit* box_;
    int max_;
    qsizetype held_;
};

} // namespace

void limitTyping(QLineEdit* box, int maxChars) {
    box->setValidator(new TypingLimit(box, maxChars));
}

} // namespace ui
