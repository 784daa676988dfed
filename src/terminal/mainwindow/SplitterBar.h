#pragma once
// The bar between the receive pane and the transmit box: reports mouse
// presses, moves and releases with the button (1 left, 2 right) and the
// pointer's vertical place in twips relative to the bar's own top.
#include <QFrame>

class SplitterBar : public QFrame {
    Q_OBJECT
  public:
    explicit SplitterBar(QWidget* parent = nullptr);

  signals:
    void mouseDown(int button, int yTwips);
    void mouseMove(int button, int yTwips);
    void mouseUp(int button, int yTwips);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};
