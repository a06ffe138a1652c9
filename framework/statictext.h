#pragma once

#include "framework/rectcontrol.h"

#include <QColor>
#include <QLabel>

namespace fw {

// A one-line label.
class StaticText : public QLabel, public RectControl {
    Q_OBJECT

public:
    explicit StaticText(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    QColor TextColor() const;
    void SetTextColor(const QColor& color);
    Qt::Alignment Alignment() const { return alignment(); }
    void SetAlignment(Qt::Alignment alignment) { setAlignment(alignment); }
};

} // namespace fw
