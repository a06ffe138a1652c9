#pragma once

#include "framework/rectcontrol.h"

#include <QGroupBox>

namespace fw {

// A captioned frame that can hold controls (see RectControl::SetContainer).
class GroupBox : public QGroupBox, public RectControl {
    Q_OBJECT

public:
    explicit GroupBox(QWidget* parent = nullptr);

    QString Caption() const { return title(); }
    void SetCaption(const QString& caption) { setTitle(caption); }
};

} // namespace fw
