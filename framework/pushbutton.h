#pragma once

#include "framework/rectcontrol.h"

#include <QPushButton>

namespace fw {

// A push button; Action is raised when it is pressed: by a click, or by Space or Return while it has the focus.
// A dialog's default button is also pressed by Return elsewhere in the dialog.
class PushButton : public QPushButton, public RectControl {
    Q_OBJECT

public:
    explicit PushButton(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    bool Default() const { return isDefault(); }
    void SetDefault(bool isDefault) { setDefault(isDefault); }

Q_SIGNALS:
    void Action();

protected:
    // A caption wider than the button wraps onto further lines.
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fw
