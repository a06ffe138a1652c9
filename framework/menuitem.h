#pragma once

#include "framework/ref.h"

#include <QKeySequence>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace fw {

// One entry of a menu tree: a menu, a submenu, a command or a separator (text "-").
class MenuItem {
public:
    MenuItem() = default;
    explicit MenuItem(const QString& text, const QVariant& tag = {});
    virtual ~MenuItem() = default;

    // The key for lookups and handler registration.
    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    // The caption; "&" marks the mnemonic, "-" makes a separator.
    QString Text() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }
    bool IsSeparator() const { return m_text == QLatin1String("-"); }

    // Shortcut text such as "Cmd+Shift+S"; "Cmd+" is the platform's command modifier (Ctrl here).
    QString KeyboardShortcut() const { return m_shortcut; }
    void SetKeyboardShortcut(const QString& shortcut) { m_shortcut = shortcut; }
    QKeySequence KeySequence() const;

    // Whether the enabling pass enables the item by itself.
    bool AutoEnable() const { return m_autoEnable; }
    void SetAutoEnable(bool autoEnable) { m_autoEnable = autoEnable; }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    void Enable() { m_enabled = true; }

    QVariant Tag() const { return m_tag; }
    void SetTag(const QVariant& tag) { m_tag = tag; }

    // Appends a child as the last one; raises NilObjectException for nil.
    void Append(const Ref<MenuItem>& item);
    int Count() const { return static_cast<int>(m_children.size()); }
    // The child at index (from 0); raises OutOfBoundsException.
    Ref<MenuItem> Item(int index) const;
    // The direct child of that name, or nil.
    Ref<MenuItem> Child(const QString& name) const;
    // The item of that name anywhere below this one, or nil.
    Ref<MenuItem> Find(const QString& name) const;

    // Shown enabled: enabled itself, or a menu holding an item shown enabled.
    bool ShownEnabled() const;

    // What the framework does when the item is chosen and no handler took it; nothing for plain items.
    virtual void Perform() { }

    // Adds one action per child to menu, submenus included; chosen runs with the item triggered, made reports
    // every item with the action that shows it.
    void FillMenu(QMenu& menu, const std::function<void(const Ref<MenuItem>&)>& chosen,
        const std::function<void(MenuItem&, QAction&, QMenu*)>& made) const;

private:
    QString m_name;
    QString m_text;
    QString m_shortcut;
    bool m_autoEnable = true;
    bool m_enabled = true;
    QVariant m_tag;
    std::vector<Ref<MenuItem>> m_children;
};

} // namespace fw
