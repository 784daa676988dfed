#pragma once
// Back and text colours of controls as colour references (0x00BBGGRR). The
// reference set is kept on the control, so code reads back exactly what it
// set (the button-face system colour included) and tests can check it.
#include <QWidget>
#include <cstdint>

namespace colour {

void setBackColor(QWidget* w, std::uint32_t ref);
std::uint32_t backColor(const QWidget* w);
void setForeColor(QWidget* w, std::uint32_t ref);
std::uint32_t foreColor(const QWidget* w);

} // namespace colour
