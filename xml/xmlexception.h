#pragma once

#include "framework/exceptions.h"

namespace xml {

// A refused document operation, or text that is not well-formed XML.
class XmlException : public fw::RuntimeException {
public:
    using fw::RuntimeException::RuntimeException;
    const char* name() const noexcept override { return "XmlException"; }
};

} // namespace xml
