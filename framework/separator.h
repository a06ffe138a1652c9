#pragma once

#include "framework/rectcontrol.h"

#include <QFrame>

namespace fw {

// A separator line, horizontal or vertical after the longer side of its rectangle.
class Separator : public QFrame, public RectControl {
    Q_OBJECT

public:
    explicit Separator(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace fw
