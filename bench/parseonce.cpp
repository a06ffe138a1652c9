#include "parseonce.h"

#include "processmemory.h"
#include "xml/xmldocument.h"

#include <QFile>
#include <chrono>
#include <cstdio>
#include <pugixml.hpp>
#include <vector>

namespace bench {

int ParseOnce(const char* parser, const char* path)
{
    // Timed until the tree is built: freeing it is no part of opening a file.
    const auto start = std::chrono::steady_clock::now();
    std::chrono::duration<double> took {};
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    bool parsed = false;
    if (std::string_view(parser) == "sildra") {
        xml::XmlDocument doc;
        doc.LoadXml(file.readAll());
        took = std::chrono::steady_clock::now() - start;
        parsed = !doc.DocumentElement().IsNil();
    } else {
        // pugixml parses a buffer of its own in place, as it is meant to be used.
        std::vector<char> bytes(size_t(file.size()));
        parsed = file.read(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
        pugi::xml_document doc;
        parsed = parsed
            && doc.load_buffer_inplace(
                bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_comments | pugi::parse_declaration);
        took = std::chrono::steady_clock::now() - start;
    }
    std::printf("%.6f %lld\n", took.count(), static_cast<long long>(StatusKb("VmHWM:")));
    return parsed ? 0 : 1;
}

} // namespace bench
