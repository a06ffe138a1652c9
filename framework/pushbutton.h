#pragma once

#include "framework/rectcontrol.h"

#include <QPushButton>

namespace fw {

// A push button; Action is raised when it is pressed. The window's default button is pressed by Return.
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
};

} // namespace fw
