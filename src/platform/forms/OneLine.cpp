#include "platform/forms/OneLine.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>

namespace ui {

namespace {

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x0B) || c == QChar(0x0C) ||
           c == QChar(0x85) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// QLineEdit runs its validator on every change, typed or set, and takes the
// text the validator gives back: the one place every way in passes.
class OneLineValidator : public QValidator {
  public:
    OneLineValidator(QValidator* inner, QObject* parent) : QValidator(parent), inner_(inner) {}

    State validate(QString& input, int& pos) const override {
        if (std::any_of(input.cbegin(), input.cend(), isBreak)) {
            pos = static_cast<int>(oneLine(input.left(pos)).size());
            input = oneLine(input);
        }
        return inner_ ? inner_->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override {
        input = oneLine(input);
        if (inner_) inner_->fixup(input);
    }

  private:
    QPointer<QValidator> inner_;
};

} // namespace

QString oneLine(const QString& text) {
    QString joined;
    joined.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i])) {
            joined += text[i];
            continue;
        }
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        joined += QLatin1Char(' ');
    }
    return joined;
}

void keepOneLine(QLineEdit* box) {
    if (dynamic_cast<const OneLineValidator*>(box->validator())) return;
    box->setValidator(new OneLineValidator(const_cast<QValidator*>(box->validator()), box));
    // What the box held before keeps no break either.
    if (std::any_of(box->text().cbegin(), box->text().cend(), isBreak)) box->setText(oneLine(box->text()));
}

} // namespace ui
