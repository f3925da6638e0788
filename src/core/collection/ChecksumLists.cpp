#include "collection/ChecksumLists.h"

#include "catalogue/Utilities.h"
#include "collection/TosecName.h"
#include "collection/XmlPull.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace vorbix {

namespace {

// A checksum list of BBC Micro images is well under a megabyte (MAME's largest, the
// cassettes, is 0.6 MB); a file many times that is no such list, and is refused before it
// is read into memory.
constexpr std::uintmax_t kMaxListBytes = 256ull * 1024 * 1024;

struct RomLine {
    std::string PartId; // MAME's part_id feature of the rom's part
    std::uint64_t Size = 0;
    std::uint32_t Crc = 0;
    Sha1Digest Sha1{};
    bool HasSha1 = false;
};

// One <software> or <game> while it is read.
struct Item {
    std::string Description;
    std::string GameName;
    std::string Year;
    std::string Publisher;
    std::string Manufacturer;
    std::string PartId;
    std::vector<RomLine> Roms;
};

bool ParseSize(std::string_view text, std::uint64_t& size)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ReadRom(const XmlPull& reader, RomLine& rom)
{
    if (reader.Attribute("status") == "nodump")
        return false;
    if (!ParseSize(reader.Attribute("size"), rom.Size) || !ParseHex(reader.Attribute("crc"), rom.Crc))
        return false;
    rom.HasSha1 = ParseSha1(reader.Attribute("sha1"), rom.Sha1);
    return true;
}

enum class ListKind { Unknown, Mame, Logiqx };

class ListReader {
public:
    ListReader(std::string_view document, std::string listName) : reader_(document), listName_(std::move(listName)) {}

    Status Read(std::vector<ChecksumEntry>& into);

private:
    void Start();
    void End();
    void AddItem(std::vector<ChecksumEntry>& into) const;

    XmlPull reader_;
    std::string listName_;
    ListKind kind_ = ListKind::Unknown;
    std::vector<std::string> path_; // the open elements, outermost first
    std::string* textInto_ = nullptr;
    Item item_;
    bool inItem_ = false;
    bool itemDone_ = false;
};

Status ListReader::Read(std::vector<ChecksumEntry>& into)
{
    for (;;) {
        switch (reader_.Next()) {
        case XmlPiece::StartElement:
            Start();
            if (kind_ == ListKind::Unknown)
                return Failure{listName_ + " is neither a MAME software list nor a Logiqx DAT file", listName_};
            break;
        case XmlPiece::EndElement:
            End();
            if (itemDone_) {
                AddItem(into);
                itemDone_ = false;
            }
            break;
        case XmlPiece::Text:
            if (textInto_ != nullptr)
                *textInto_ += reader_.Text();
            break;
        case XmlPiece::End:
            if (kind_ == ListKind::Unknown)
                return Failure{listName_ + " is neither a MAME software list nor a Logiqx DAT file", listName_};
            return {};
        case XmlPiece::Error: return Failure{"Cannot read " + listName_ + ": " + reader_.Message(), listName_};
        }
    }
}

void ListReader::Start()
{
    const std::string& name = reader_.Name();
    if (path_.empty())
        kind_ = name == "softwarelist" ? ListKind::Mame : name == "datafile" ? ListKind::Logiqx : ListKind::Unknown;
    path_.push_back(name);
    textInto_ = nullptr;
    const bool itemElement = kind_ == ListKind::Mame ? name == "software" : (name == "game" || name == "machine");
    if (path_.size() == 2 && itemElement) {
        item_ = Item{};
        item_.GameName = reader_.Attribute("name");
        inItem_ = true;
        return;
    }
    if (!inItem_)
        return;
    if (path_.size() == 3) {
        if (name == "description")
            textInto_ = &item_.Description;
        else if (name == "year")
            textInto_ = &item_.Year;
        else if (name == "publisher")
            textInto_ = &item_.Publisher;
        else if (name == "manufacturer")
            textInto_ = &item_.Manufacturer;
        else if (name == "part")
            item_.PartId.clear();
    } else if (name == "feature" && reader_.Attribute("name") == "part_id") {
        item_.PartId = reader_.Attribute("value");
    }
    RomLine rom;
    if (name == "rom" && ReadRom(reader_, rom)) {
        rom.PartId = item_.PartId;
        item_.Roms.push_back(std::move(rom));
    }
}

void ListReader::End()
{
    textInto_ = nullptr;
    if (inItem_ && path_.size() == 2) {
        inItem_ = false;
        itemDone_ = true;
    }
    if (!path_.empty())
        path_.pop_back();
}

void ListReader::AddItem(std::vector<ChecksumEntry>& into) const
{
    ChecksumEntry entry;
    entry.List = listName_;
    if (kind_ == ListKind::Mame) {
        entry.Name = item_.Description.empty() ? item_.GameName : item_.Description;
        entry.Publisher = item_.Publisher;
        entry.Year = item_.Year;
    } else if (const auto tosec = ParseTosecName(item_.GameName)) {
        entry.Name = tosec->Title;
        entry.Publisher = tosec->Publisher;
    } else {
        entry.Name = item_.GameName.empty() ? item_.Description : item_.GameName;
        entry.Publisher = item_.Manufacturer;
    }
    for (const RomLine& rom : item_.Roms) {
        ChecksumEntry one = entry;
        // A software of several discs or tapes names each by its part ("Side B").
        if (item_.Roms.size() > 1 && !rom.PartId.empty())
            one.Name += " - " + rom.PartId;
        one.Size = rom.Size;
        one.Crc = rom.Crc;
        one.Sha1 = rom.Sha1;
        one.HasSha1 = rom.HasSha1;
        into.push_back(std::move(one));
    }
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool ParseHex(std::string_view text, std::uint32_t& crc)
{
    if (text.empty() || text.size() > 8)
        return false;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    crc = value;
    return true;
}

bool ParseSha1(std::string_view text, Sha1Digest& digest)
{
    if (text.size() != 40)
        return false;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        digest[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

Status ChecksumLists::AddFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return Failure{"Cannot find file " + path, path};
    if (!std::filesystem::is_regular_file(status))
        return Failure{path + " is not a file", path};
    if (std::filesystem::file_size(path, error) > kMaxListBytes)
        return Failure{path + " is too large for a checksum list", path};
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.Error();
    return AddText(bytes.Value(), FileNamePart(path));
}

Status ChecksumLists::AddText(std::string_view document, const std::string& listName)
{
    std::vector<ChecksumEntry> read;
    ListReader reader(document, listName);
    if (Status status = reader.Read(read); !status)
        return status;
    files_.push_back({listName, read.size()});
    for (ChecksumEntry& entry : read) {
        byKey_.emplace(Key(entry.Size, entry.Crc), entries_.size());
        entries_.push_back(std::move(entry));
    }
    return {};
}

std::vector<std::size_t> ChecksumLists::Find(std::uint64_t size, std::uint32_t crc) const
{
    std::vector<std::size_t> found;
    const auto [first, last] = byKey_.equal_range(Key(size, crc));
    for (auto it = first; it != last; ++it)
        if (entries_[it->second].Size == size && entries_[it->second].Crc == crc)
            found.push_back(it->second);
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::uint64_t> ChecksumLists::Sizes() const
{
    std::vector<std::uint64_t> sizes;
    sizes.reserve(entries_.size());
    for (const ChecksumEntry& entry : entries_)
        sizes.push_back(entry.Size);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::vector<std::string> InstalledMameLists(const std::string& folder)
{
    std::vector<std::string> lists;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("bbc") && name.ends_with(".xml") && it->is_regular_file(error))
            lists.push_back(it->path().string());
    }
    std::sort(lists.begin(), lists.end());
    return lists;
}

} // namespace vorbix
