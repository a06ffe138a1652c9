#pragma once

#include "framework/rectcontrol.h"

#include <QStringList>
#include <QTabWidget>

namespace fw {

// Tabs whose pages are numbered from 1; controls join a page with RectControl::SetPage.
class TabPanel : public QTabWidget, public RectControl {
    Q_OBJECT

public:
    explicit TabPanel(QWidget* parent = nullptr);

    // Replaces the tabs, one per caption.
    void SetCaptions(const QStringList& captions);
    QStringList Captions() const;
    int PageCount() const { return count(); }
    // The selected page, from 1 (0 without tabs); SetCurrentPage raises OutOfBoundsException.
    int CurrentPage() const { return currentIndex() + 1; }
    void SetCurrentPage(int page);
};

} // namespace fw
