#pragma once
// The heap in 2 MiB pages. A catalogue of a million programs is some 600 MB of small
// blocks; in 4 KiB pages each first write to a page is a fault, and on a virtual machine a
// fault can cost 10-20 us: 89,000 of them took half of `vorbix-cli info`'s 3.1 s on such a
// machine. The C library backs its heap with large pages when its tunable
// "glibc.malloc.hugetlb=1" is set at the program's start, which only the environment can
// do; so the program starts itself again once with it set.

namespace vorbix {

// Called first in main(). Where the system gives large pages only on request and the C
// library has the tunable, starts the program again (same executable, same arguments)
// with the tunable added to GLIBC_TUNABLES; the call does not return then. In the program
// so started, it puts the environment back as it was, so that the programs started from
// here (emulators, viewers) do not inherit the setting. It does nothing when the user has
// set the tunable, when a library is preloaded (a memory checker, another allocator), or
// when the restart fails.
void UseLargeHeapPages(char** argv);

} // namespace vorbix
