#include "platform/forms/windows/TwipsLayout.h"

#include "platform/forms/colour/Colour.h"

#include <algorithm>

void TwipsLayout::place(QWidget* w, int left, int top, int width, int height) {
    places_[w] = {left, top, width, height};
    apply(w);
}

void TwipsLayout::setLeft(QWidget* w, int v) {
    places_[w].left = v;
    apply(w);
}

void TwipsLayout::setTop(QWidget* w, int v) {
    places_[w].top = v;
    apply(w);
}

void TwipsLayout::setWidth(QWidget* w, int v) {
    places_[w].width = v;
    apply(w);
}

void TwipsLayout::setHeight(QWidget* w, int v) {
    places_[w].height = v;
    apply(w);
}

void TwipsLayout::apply(QWidget* w) {
    const Rect& r = places_[w];
    // A control shrunk below nothing by a drag shows as an empty strip.
    w->setGeometry(twips::toPx(r.left), twips::toPx(r.top), std::max(0, twips::toPx(r.width)),
                   std::max(0, twips::toPx(r.height)));
}
