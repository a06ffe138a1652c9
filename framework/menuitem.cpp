#include "framework/menuitem.h"

#include <QAction>
#include <QMenu>

namespace fw {

MenuItem::MenuItem(const QString& text, const QVariant& tag)
    : m_text(text)
    , m_tag(tag)
{
}

QKeySequence MenuItem::KeySequence() const
{
    QString text = m_shortcut;
    text.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"), Qt::CaseInsensitive);
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

void MenuItem::Append(const Ref<MenuItem>& item)
{
    if (item.IsNil())
        throw NilObjectException("appending a nil menu item");
    m_children.push_back(item);
}

Ref<MenuItem> MenuItem::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("menu item index " + std::to_string(index) + " out of range");
    return m_children[static_cast<size_t>(index)];
}

Ref<MenuItem> MenuItem::Child(const QString& name) const
{
    for (const auto& child : m_children)
        if (child->m_name == name)
            return child;
    return nullptr;
}

Ref<MenuItem> MenuItem::Find(const QString& name) const
{
    for (const auto& child : m_children) {
        if (child->m_name == name)
            return child;
        if (auto found = child->Find(name))
            return found;
    }
    return nullptr;
}

bool MenuItem::ShownEnabled() const
{
    if (m_enabled)
        return true;
    for (const auto& child : m_children)
        if (!child->IsSeparator() && child->ShownEnabled())
            return true;
    return false;
}

void MenuItem::FillMenu(QMenu& menu, const std::function<void(const Ref<MenuItem>&)>& chosen,
    const std::function<void(MenuItem&, QAction&, QMenu*)>& made) const
{
    for (const auto& child : m_children) {
        if (child->IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (child->Count() > 0) {
            QMenu* submenu = menu.addMenu(child->m_text);
            child->FillMenu(*submenu, chosen, made);
            submenu->menuAction()->setEnabled(child->ShownEnabled());
            made(*child, *submenu->menuAction(), submenu);
            continue;
        }
        // The shortcut is only shown here: a second binding would make Qt call the key ambiguous and run
        // neither. The window's own shortcuts run it after the enabling pass.
        const QKeySequence keys = child->KeySequence();
        QAction* action = menu.addAction(keys.isEmpty()
                ? child->m_text
                : child->m_text + QLatin1Char('\t') + keys.toString(QKeySequence::NativeText));
        action->setEnabled(child->m_enabled);
        QObject::connect(action, &QAction::triggered, &menu, [chosen, item = child] { chosen(item); });
        made(*child, *action, nullptr);
    }
}

} // namespace fw
