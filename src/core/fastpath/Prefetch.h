#pragma once
// Hints that memory is about to be read. Passes over a large catalogue visit records and
// texts that lie scattered over hundreds of megabytes; each visit waits for memory
// unless the next ones were asked for while the current one was being worked on. A hint
// never changes what a program computes, only when its memory arrives.

#include <cstddef>
#include <string>

namespace vorbix {

inline void PrefetchLine(const void* p)
{
    __builtin_prefetch(p, 0, 3);
}

// The object's cache lines, for an object of at most a few lines.
template <typename T>
void PrefetchObject(const T& object)
{
    constexpr std::size_t kLine = 64;
    const auto* bytes = reinterpret_cast<const char*>(&object);
    for (std::size_t at = 0; at < sizeof(T); at += kLine)
        PrefetchLine(bytes + at);
}

// The start of a text's characters: the hardware follows on by itself once a text is read
// from its start. A short text lies in its string object.
inline void PrefetchText(const std::string& text)
{
    PrefetchLine(text.data());
}

} // namespace vorbix
