// The process heap keeps the blocks a program frees for its next
// allocations, as the Windows heap does. glibc hands every block above its
// mmap threshold back to the kernel when it is freed and trims the top of
// the heap eagerly, so a viewer that makes and drops frame-sized buffers
// for every picture it draws would fault each page of them in anew every
// time; on a virtual machine that costs more than the drawing itself.
// Blocks up to kKeptBlockSize come from the heap, and up to kKeptFreeSize of
// freed memory stays with the process.
#include <malloc.h>

namespace
{
constexpr int kKeptBlockSize = 64 << 20;
constexpr int kKeptFreeSize = 256 << 20;

__attribute__((constructor)) void KeepFreedBlocks()
{
    mallopt(M_MMAP_THRESHOLD, kKeptBlockSize);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeSize);
}
} // namespace
