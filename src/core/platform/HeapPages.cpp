#include "platform/HeapPages.h"

#include <gnu/libc-version.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vorbix {

namespace {

// Holds GLIBC_TUNABLES as it was before the restart: "=" and the value, or "-" when it
// was not set. Its presence also says that this process is the restarted one.
constexpr const char* kBefore = "VORBIX_TUNABLES_BEFORE";
constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kHeapSetting = "glibc.malloc.hugetlb=1";

void PutBack(const char* before)
{
    if (before[0] == '=')
        ::setenv(kTunables, before + 1, 1);
    else
        ::unsetenv(kTunables);
    ::unsetenv(kBefore);
}

// The tunable came with the C library 2.35.
bool LibraryHasTheTunable()
{
    unsigned major = 0;
    unsigned minor = 0;
    return std::sscanf(::gnu_get_libc_version(), "%u.%u", &major, &minor) == 2
        && (major > 2 || (major == 2 && minor >= 35));
}

bool SystemGivesLargePagesOnRequest()
{
    std::FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (f == nullptr)
        return false;
    char setting[128] = {};
    const bool read = std::fgets(setting, sizeof setting, f) != nullptr;
    std::fclose(f);
    // "always [madvise] never": the mode in force is in brackets. With "always" the heap
    // has large pages already, with "never" it cannot.
    return read && std::strstr(setting, "[madvise]") != nullptr;
}

} // namespace

void UseLargeHeapPages(char** argv)
{
    if (const char* before = std::getenv(kBefore)) {
        // The restarted process: the C library read the setting before main().
        const std::string kept(before);
        PutBack(kept.c_str());
        return;
    }
    const char* tunables = std::getenv(kTunables);
    const char* preload = std::getenv("LD_PRELOAD");
    if ((tunables != nullptr && std::strstr(tunables, "glibc.malloc.hugetlb") != nullptr)
        || (preload != nullptr && preload[0] != '\0') || argv == nullptr || argv[0] == nullptr
        || !LibraryHasTheTunable() || !SystemGivesLargePagesOnRequest())
        return;
    const std::string before = tunables != nullptr ? std::string("=") + tunables : std::string("-");
    const std::string with =
        tunables != nullptr && tunables[0] != '\0' ? std::string(tunables) + ":" + kHeapSetting : kHeapSetting;
    if (::setenv(kBefore, before.c_str(), 1) != 0 || ::setenv(kTunables, with.c_str(), 1) != 0) {
        PutBack(before.c_str());
        return;
    }
    ::execv("/proc/self/exe", argv);
    // No restart (no /proc, say): carry on as started, with the environment as it was.
    PutBack(before.c_str());
}

} // namespace vorbix
