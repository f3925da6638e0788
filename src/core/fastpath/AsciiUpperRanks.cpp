#include "fastpath/AsciiUpperRanks.h"

#include "fastpath/Prefetch.h"
#include "platform/Collation.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vorbix {

namespace {

// The words below are read from memory and byte-swapped into the order of the text.
static_assert(std::endian::native == std::endian::little);

constexpr std::size_t kKeyBytes = 24;

// A text with its first 24 bytes upper-cased as three such numbers. Texts whose prefixes
// differ compare as their prefixes; two texts of at most 24 bytes with equal prefixes
// differ only in length; only longer texts need the whole comparison.
struct TextKey {
    std::uint64_t part[3];
    std::uint64_t hash; // of the whole upper-cased text
    std::string_view text;
    std::uint32_t id; // the class of texts that compare equal, once numbered
};

// Eight bytes upper-cased at once: each byte from 'a' to 'z' loses 0x20, any other byte
// (bytes above 0x7F included) stays as it is.
std::uint64_t UpperWord(std::uint64_t x)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const std::uint64_t low7 = x & ~kHigh;
    const std::uint64_t aboveZ = low7 + (0x7F - 'z') * kOnes;
    const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;
    const std::uint64_t lower = fromA & ~aboveZ & ~x & kHigh;
    return x ^ (lower >> 2);
}

// A hash of the whole text as upper-cased, so that texts sharing a long prefix, or of the
// same length, spread over the table like any others.
std::uint64_t WholeTextHash(std::string_view text)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = text.size() * kMultiplier;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        h = (h ^ UpperWord(word)) * kMultiplier;
        h ^= h >> 29;
    }
    if (i < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, text.size() - i);
        h = (h ^ UpperWord(word)) * kMultiplier;
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    return h ^ (h >> 32);
}

// Eight bytes of a text from the offset, zeros past its end, upper-cased and in the
// order of the bytes: as numbers they compare as the texts do.
std::uint64_t UpperWordAt(std::string_view text, std::size_t offset)
{
    std::uint64_t word = 0;
    if (offset < text.size())
        std::memcpy(&word, text.data() + offset, std::min<std::size_t>(8, text.size() - offset));
    return __builtin_bswap64(UpperWord(word));
}

TextKey KeyOf(std::string_view text)
{
    return {{UpperWordAt(text, 0), UpperWordAt(text, 8), UpperWordAt(text, 16)}, WholeTextHash(text), text, 0};
}

// CompareAsciiUpper, eight bytes at a time: texts sharing a long prefix (a magazine's
// cover disks) compare in a few steps.
int CompareUpperFrom(std::string_view a, std::string_view b, std::size_t offset)
{
    const std::size_t longest = std::max(a.size(), b.size());
    for (std::size_t at = offset; at < longest; at += 8) {
        const std::uint64_t x = UpperWordAt(a, at);
        const std::uint64_t y = UpperWordAt(b, at);
        if (x != y)
            return x < y ? -1 : 1;
    }
    // Equal up to the zeros standing past the shorter end: the shorter comes first.
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareKeys(const TextKey& a, const TextKey& b)
{
    for (int i = 0; i < 3; ++i)
        if (a.part[i] != b.part[i])
            return a.part[i] < b.part[i] ? -1 : 1;
    return CompareUpperFrom(a.text, b.text, kKeyBytes);
}

bool SameKey(const TextKey& a, const TextKey& b)
{
    return a.hash == b.hash && a.text.size() == b.text.size() && a.part[0] == b.part[0] && a.part[1] == b.part[1]
        && a.part[2] == b.part[2] && (a.text.size() <= kKeyBytes || CompareUpperFrom(a.text, b.text, kKeyBytes) == 0);
}

// Gives the texts that compare equal (ASCII letters upper-cased) one class number, in the
// order they first appear, with an open-addressing table over a hash of the whole text:
// one probe or two per text, whatever the texts look like.
// Returns one text of each class.
std::vector<TextKey> NumberClasses(std::vector<TextKey>& keys)
{
    constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    std::size_t capacity = 16;
    while (capacity < keys.size() * 2)
        capacity <<= 1;
    std::vector<std::uint32_t> slots(capacity, kFree);
    std::vector<TextKey> classes;
    for (TextKey& key : keys) {
        std::size_t slot = static_cast<std::size_t>(key.hash) & (capacity - 1);
        while (slots[slot] != kFree && !SameKey(classes[slots[slot]], key))
            slot = (slot + 1) & (capacity - 1);
        key.id = slots[slot] == kFree ? static_cast<std::uint32_t>(classes.size()) : slots[slot];
        if (slots[slot] == kFree) {
            slots[slot] = key.id;
            classes.push_back(key);
        }
    }
    return classes;
}

} // namespace

std::vector<std::uint32_t> AsciiUpperRanks(const std::vector<std::string_view>& texts)
{
    std::vector<TextKey> keys;
    keys.reserve(texts.size());
    // The texts lie scattered over the heap; asking for them a little ahead hides most of
    // the wait for memory.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i + kAhead < texts.size())
            PrefetchLine(texts[i + kAhead].data());
        keys.push_back(KeyOf(texts[i]));
    }
    std::vector<TextKey> classes = NumberClasses(keys);
    std::sort(classes.begin(), classes.end(), [](const TextKey& a, const TextKey& b) { return CompareKeys(a, b) < 0; });
    std::vector<std::uint32_t> rankOfClass(classes.size());
    for (std::uint32_t rank = 0; rank < classes.size(); ++rank)
        rankOfClass[classes[rank].id] = rank;
    std::vector<std::uint32_t> ranks(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        ranks[i] = rankOfClass[keys[i].id];
    return ranks;
}

} // namespace vorbix
