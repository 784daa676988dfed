#pragma once
// One-line boxes hold one line: a line break that reaches such a box (pasted,
// dropped, or written by the program from a pick or the logging program)
// becomes one blank, so that nothing with a line break reaches a log record,
// an export or a title.
#include <QObject>
#include <QString>

class QLineEdit;

namespace ui {

// CR LF, CR, LF and the other line and paragraph breaks each as one blank.
QString oneLine(const QString& text);

// The box joins its lines from now on, whatever way text reaches it. A check
// the box carries already (a width, a digits-only rule) goes on judging the
// joined text; set such a check before this.
void keepOneLine(QLineEdit* box);

// Every one-line box of the program keeps one line, whoever made it (ours,
// Qt's own dialogs), from before it is first shown. A box that carries a check
// of its own (digits only, a font size) is left to that check, and a spin
// box's line to its spin box. One lives with the application context and sees
// every box as it is made ready for showing.
class OneLineBoxes : public QObject {
  public:
    OneLineBoxes();
    ~OneLineBoxes() override;
    OneLineBoxes(const OneLineBoxes&) = delete;
    OneLineBoxes& operator=(const OneLineBoxes&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

} // namespace ui
