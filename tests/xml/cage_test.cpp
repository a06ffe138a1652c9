// The region that holds the nodes of every tree: what is given back is taken again, and a tree may outlive the rest.
#include "xml/cage.h"
#include "xml/xmldocument.h"

#include <gtest/gtest.h>

namespace {

using xml::detail::Cage;

// Destroyed after every static made while the tests run, as a document kept by a static would be.
xml::XmlDocument keptUntilExit;

TEST(Cage, RangesGivenBackAreJoinedAndTakenAgain)
{
    keptUntilExit.LoadXml("<kept a='1'>text</kept>");
    constexpr size_t MiB = size_t(1) << 20;
    size_t taken = 0;
    void* below = Cage::take(MiB, taken);
    const size_t before = Cage::used();
    // Requests that grow, each given back before the next, as a document that grows from one load to the next:
    // without joining, each would need new space (about 2 GiB in all).
    for (size_t size = 2 * MiB; size <= 64 * MiB; size += MiB) {
        void* block = Cage::take(size, taken);
        Cage::give(block, taken);
    }
    EXPECT_LT(Cage::used() - before, 256 * MiB);
    Cage::give(below, MiB);
}

} // namespace
