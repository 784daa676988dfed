#pragma once
// A drawing surface with a user scale, as the engines' displays expect: code
// draws into an image in the surface's own scale (ScaleWidth x ScaleHeight,
// y growing downwards) and marker lines stand over it in the same scale.
#include <QColor>
#include <QImage>
#include <QList>
#include <QWidget>

class QPainter;

class PictureBox;

// A marker line over a picture, in the picture's scale.
class LineShape {
  public:
    explicit LineShape(PictureBox* owner, const QColor& colour = Qt::red);
    void setPoints(double x1, double y1, double x2, double y2);
    void setVisible(bool on);
    bool isVisible() const { return visible_; }
    void setColour(const QColor& c);
    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }
    QColor colour() const { return colour_; }

  private:
    PictureBox* owner_;
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    bool visible_ = true;
    QColor colour_;
};

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    void setScale(double width, double height);
    double scaleWidth() const { return scaleW_; }
    double scaleHeight() const { return scaleH_; }
    void setBackColor(const QColor& c);
    QColor backColor() const { return back_; }

    // The image drawn into; it has the widget's size and is kept on resize.
    QImage& canvas() { return canvas_; }
    // Makes the canvas at the widget's size when none is there yet or it has
    // another size (a box drawn into before it was first shown or while hidden).
    void ensureCanvas();
    // Converts a point of the picture's scale to pixels of the canvas.
    QPointF toPixels(double x, double y) const;
    // The point of the picture's scale under a pixel, as the mouse events give
    // it: drawing that must agree with a click maps its pixels by this.
    QPointF toScale(const QPointF& px) const;
    // Its x alone, cheap enough for every pixel of a row.
    double toScaleX(double px) const { return px * scaleW_ / (width() > 0 ? width() : 1); }
    void clear();
    // The same for a drawing that follows at once and asks for the repaint
    // itself: a repaint asked for twice a tick costs as much as the drawing.
    void erase();
    // Moves the whole picture down one pixel row, dropping the bottom row, and
    // returns the new top row to be drawn. The canvas is kept as a ring of rows,
    // so nothing is copied; clear() puts the first row back on top.
    QRgb* scrollDownOneRow();

    LineShape* addLine(const QColor& colour = Qt::red);

  signals:
    // Mouse events in the picture's scale; button 1 left, 2 right.
    void mouseDown(int button, double x, double y);
    void mouseMove(int button, double x, double y);
    void mouseUp(int button, double x, double y);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void drawCanvas(QPainter& p) const;
    // The canvas at the widget's size, keeping what it shows.
    void fitCanvas();
    double scaleW_ = 1, scaleH_ = 1;
    QColor back_ = Qt::black;
    QImage canvas_;
    // Canvas row shown at the top of the picture.
    int topRow_ = 0;
    QList<LineShape*> lines_;
};
