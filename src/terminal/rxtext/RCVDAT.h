#pragma once
// The received-text viewer: a received-data file the operator opened, or the
// memo pad, in one editable box. Closing it keeps its text as the memo pad of
// the received-data folder; it can also save the text as received data or
// delete the file it shows.
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QMainWindow>
#include <QPlainTextEdit>

namespace terminal::rxtext {

struct Globals {
    // The file chosen in the last save or open dialog; the delete item deletes it.
    QString ViewedFilePath;
    // 1 while the viewer is loaded: memo items append to its text then.
    int RcvViewerOpen = 0;
};

extern Globals g;

} // namespace terminal::rxtext

class RCVDAT : public QMainWindow {
    Q_OBJECT
  public:
    RCVDAT();
    void Form_Load();
    void Form_Unload();

    QPlainTextEdit* Text1;
    QAction* RCVMEMO;   // "受信ﾃﾞｰﾀとして保存"
    QAction* DELRCVDAT; // "Ｆｉｌｅ削除"
    QAction* RDEND;     // "閲覧終了"

    // Appends text and a line break after what the box holds.
    void appendLine(const QString& line);
    // Appends text read from a file whose bytes named in unreadable
    // (cp932::undecodable) stand for no character: they show as U+FFFD.
    void appendText(const QString& text, const QString& unreadable = {});

    void RCVMEMO_Click();
    void DELRCVDAT_Click();
    // Keeps the text as the memo pad and unloads; false (the viewer stays) when
    // the memo cannot be written or would not give the text back as typed.
    bool RDEND_Click();
    // True while the box holds text the operator changed and no file has taken.
    bool holdsTyping() const;
    // Asked before that text goes with the viewer; true on Yes.
    bool mayDropTyping();
    void SaveRcvDatPos();

  private:
    // True when a Shift-JIS file gives the box's text back as typed; else the
    // operator is told, on the box, and nothing is to be written.
    bool holdsText(const QString& what);
    // Whether the box's text may be written for `what` (the memo at the close,
    // or a copy saved): bytes of a file read that stand for no character are
    // not taken for characters the operator typed. *write when it is to be written.
    bool textMayGo(const QString& what, bool closing, bool* write);
    // A text holding bytes the program did not write: the memo closed
    // unchanged is not written; otherwise the operator is told which bytes
    // cannot be kept and asked. True when the text may go.
    bool mayDropUnreadable(const QString& typed, const QString& what, bool closing, bool* write);

    // What the program has put into the box (the operator's typing not
    // followed), and the bytes of the files read that stand for no character.
    QString programText_;
    // The text as a file last took it or the program put it in.
    QString keptText_;
    QString unreadable_;

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
};

namespace forms {
inline ::RCVDAT& RCVDAT() {
    return get<::RCVDAT>();
}
} // namespace forms
