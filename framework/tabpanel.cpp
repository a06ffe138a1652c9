#include "framework/tabpanel.h"

#include "framework/exceptions.h"

namespace fw {

TabPanel::TabPanel(QWidget* parent)
    : QTabWidget(parent)
    , RectControl(static_cast<QWidget&>(*this))
{
}

void TabPanel::SetCaptions(const QStringList& captions)
{
    while (count() > 0) {
        QWidget* page = widget(0);
        removeTab(0);
        delete page;
    }
    for (const QString& caption : captions)
        addTab(new QWidget, caption);
}

QStringList TabPanel::Captions() const
{
    QStringList captions;
    for (int i = 0; i < count(); ++i)
        captions << tabText(i);
    return captions;
}

void TabPanel::SetCurrentPage(int page)
{
    if (page < 1 || page > count())
        throw OutOfBoundsException("tab page " + std::to_string(page) + " out of range");
    setCurrentIndex(page - 1);
}

} // namespace fw
