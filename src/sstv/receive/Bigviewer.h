#pragma once
// The enlarged picture viewer: one picture box kept at 320:256 whichever edge
// the operator drags. It mirrors the picture being received while the SSTV
// window's "大画面受信" is on, or shows one history picture.
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/Forms.h"

#include <QWidget>

class QAction;
class QMenuBar;

class Bigviewer : public QWidget {
    Q_OBJECT
  public:
    Bigviewer();
    void Form_Load();
    void Form_Unload();

    PictureBox* Picture1;
    QMenuBar* menuBar;
    QAction* fEnd;

    // 1 once the first layout is done; resizing is ignored before.
    int LayoutReady = 0;
    // Window width in twips after the last layout.
    int LastWidth = 0;

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void layOut(int windowWidth, int windowHeight);
    QSize laidOut_;
};

namespace forms {
inline ::Bigviewer& Bigviewer() {
    return get<::Bigviewer>();
}
} // namespace forms
