#pragma once
// Places of controls kept in twips, the unit in which the system stores and
// computes them; each change is applied to the control in pixels at once.
// Keeping the twips avoids the rounding that a way back from pixels would add.
#include <QHash>
#include <QWidget>

class TwipsLayout {
  public:
    struct Rect {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
    };

    void place(QWidget* w, int left, int top, int width, int height);
    Rect rect(const QWidget* w) const { return places_.value(w); }
    int left(const QWidget* w) const { return rect(w).left; }
    int top(const QWidget* w) const { return rect(w).top; }
    int width(const QWidget* w) const { return rect(w).width; }
    int height(const QWidget* w) const { return rect(w).height; }
    void setLeft(QWidget* w, int v);
    void setTop(QWidget* w, int v);
    void setWidth(QWidget* w, int v);
    void setHeight(QWidget* w, int v);

  private:
    void apply(QWidget* w);
    QHash<const QWidget*, Rect> places_;
};
