#pragma once

#include "framework/rectcontrol.h"

#include <QCheckBox>

namespace fw {

// A check box; Action is raised when the user clicks it.
class CheckBox : public QCheckBox, public RectControl {
    Q_OBJECT

public:
    explicit CheckBox(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    // 0 unchecked, 1 checked; SetState raises OutOfBoundsException for other values.
    int State() const { return isChecked() ? 1 : 0; }
    void SetState(int state);

Q_SIGNALS:
    void Action();
};

} // namespace fw
