#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string_view>

namespace xml {

namespace detail {
    class Tree;
    struct Node;
}
class XmlAttribute;

enum class XmlNodeType { Element, Text, CData, Comment, ProcessingInstruction };

// A counted reference to a node. A nil reference raises fw::NilObjectException on use;
// a node removed from its tree, or whose document was reloaded, stays usable.
class XmlNode {
public:
    XmlNode() = default;

    bool IsNil() const { return m_node == nullptr; }
    XmlNodeType Type() const;

    // "#text", "#comment", "#cdata-section", a processing instruction's target, or the element's name.
    QString Name() const;
    void SetName(const QString& name);
    // The text of a text, CDATA, comment or processing-instruction node; empty for an element.
    QString Value() const;
    void SetValue(const QString& value);

    int ChildCount() const;
    XmlNode Child(int index) const;
    XmlNode Parent() const; // nil for the document element and for detached nodes
    XmlNode AppendChild(const XmlNode& child);
    void RemoveChild(const XmlNode& child);

    int AttributeCount() const;
    XmlAttribute GetAttributeNode(int index) const;
    // Reads every attribute in order, as UTF-8 texts, without making handles of them: a long list would pay for
    // a handle and two strings per attribute.
    void ForEachAttributeText(const std::function<void(std::string_view name, std::string_view value)>& visit) const;
    void SetAttributeNode(const XmlAttribute& attribute); // an existing name keeps its place, gets the value
    void RemoveAttribute(const QString& name); // no such attribute: nothing happens

    bool operator==(const XmlNode& other) const { return m_node == other.m_node; }

private:
    friend class XmlDocument;
    friend class XmlAttribute;
    XmlNode(std::shared_ptr<detail::Tree> tree, detail::Node* node);
    detail::Node* node() const;

    std::shared_ptr<detail::Tree> m_tree;
    detail::Node* m_node = nullptr;
};

} // namespace xml
