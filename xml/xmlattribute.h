#pragma once

#include <QString>
#include <memory>

namespace xml {

namespace detail {
    class Tree;
    struct Attr;
}

// A counted reference to an attribute, attached to an element or not.
class XmlAttribute {
public:
    XmlAttribute() = default;

    bool IsNil() const { return m_attr == nullptr; }
    QString Name() const;
    void SetName(const QString& name); // refused when another attribute of its element has the name
    QString Value() const;
    void SetValue(const QString& value);

private:
    friend class XmlNode;
    friend class XmlDocument;
    XmlAttribute(std::shared_ptr<detail::Tree> tree, detail::Attr* attr);
    detail::Attr* attr() const;

    std::shared_ptr<detail::Tree> m_tree;
    detail::Attr* m_attr = nullptr;
};

} // namespace xml
