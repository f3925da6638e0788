#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace vorbix::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "vorbix-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Give back write permission everywhere so that read-only test folders can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    WriteAll(path_ + name, bytes);
    return path_ + name;
}

std::string TempDir::Read(const std::string& name) const
{
    return ReadAll(path_ + name);
}

bool TempDir::Exists(const std::string& name) const
{
    return fs::exists(path_ + name);
}

std::map<std::string, std::string> TempDir::Contents() const
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
        const std::string name = fs::relative(entry.path(), path_).generic_string();
        if (entry.is_directory())
            contents[name + "/"] = "";
        else
            contents[name] = ReadAll(entry.path().string());
    }
    return contents;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void SetMode(const std::string& path, unsigned mode)
{
    ::chmod(path.c_str(), mode);
}

} // namespace vorbix::test
