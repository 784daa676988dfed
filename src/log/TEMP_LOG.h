#pragma once
// The log entry window.
#include "platform/Forms.h"

#include <QLineEdit>
#include <QWidget>

class TEMP_LOG : public QWidget {
    Q_OBJECT
  public:
    TEMP_LOG();

    QLineEdit* Text1; // call sign
};

namespace forms {
inline ::TEMP_LOG& TEMP_LOG() {
    return get<::TEMP_LOG>();
}
} // namespace forms
