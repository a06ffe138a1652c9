#pragma once

#include "framework/rectcontrol.h"

#include <QPushButton>

namespace fw {

// A push button; Action is raised when it is pressed: by a click, or by Space or Return while it has the focus
// (Return unless PressedByReturn is off). A dialog's default button is also pressed by Return elsewhere in the dialog.
class PushButton : public QPushButton, public RectControl {
    Q_OBJECT

public:
    explicit PushButton(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    bool Default() const { return isDefault(); }
    void SetDefault(bool isDefault) { setDefault(isDefault); }
    // Whether Return and Enter press the button while it has the focus; on by default.
    bool PressedByReturn() const { return m_pressedByReturn; }
    void SetPressedByReturn(bool pressed) { m_pressedByReturn = pressed; }

Q_SIGNALS:
    void Action();

protected:
    // A caption wider than the button wraps onto further lines.
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_pressedByReturn = true;
};

} // namespace fw
