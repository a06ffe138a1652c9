#pragma once

namespace xml {
class XmlDocument;
}

namespace editor {

// Asks, when the document holds edits that were not saved, whether to discard them; true when it holds none or
// the user discards them, false when the user goes back.
bool mayDiscardEdits(const xml::XmlDocument& document);

} // namespace editor
