#pragma once
// Small steps of reading a catalogue file by tag search, shared by the programs and the
// options file: a leaf's value, a container, each element of a list.

#include "catalogue/XMLUtilities.h"

#include <string>
#include <string_view>

namespace vorbix {

// The value of the first leaf of the name inside the parent (the "No focus set" message's
// empty value when there is none).
inline std::string ReadLeaf(TXMLLoadObject& reader, std::string_view name, const TXMLFocus& parent)
{
    TXMLFocus leaf;
    reader.FindElement(name, 1, leaf, parent);
    return reader.Getvalue();
}

// The same for a leaf that may be missing: empty then, and no "No focus set" message.
inline std::string ReadOptionalLeaf(TXMLLoadObject& reader, std::string_view name, const TXMLFocus& parent)
{
    TXMLFocus leaf;
    reader.FindElement(name, 1, leaf, parent);
    return reader.IsFocusSet(leaf) ? reader.Getvalue() : std::string();
}

// A container anywhere in the document; NoFocus when missing, so that the search for its
// children falls back to the whole document.
inline TXMLFocus FindContainer(TXMLLoadObject& reader, std::string_view name)
{
    TXMLFocus container;
    reader.FindElement(name, 1, container, NoFocus);
    return container;
}

// Calls read(focus) for each element of the name inside the container, in order.
template <typename Read>
void ForEachElement(TXMLLoadObject& reader, const TXMLFocus& container, std::string_view name, Read read)
{
    for (int k = 1;; ++k) {
        TXMLFocus item;
        reader.FindElement(name, k, item, container);
        if (!reader.IsFocusSet(item))
            break;
        read(item);
    }
}

} // namespace vorbix
