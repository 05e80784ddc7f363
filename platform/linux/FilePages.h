#pragma once

#include <cstddef>

// A tray program spends its day waiting; the code and data of its libraries,
// fonts and icons stay resident all that while, though they can be read back
// from their files whenever they are needed again.
namespace FilePages {

// Asks the kernel to reclaim now the pages of every file the process maps
// for reading only, where no other process maps them too. Nothing is lost:
// the next use reads them back. Pages written by this process (relocations,
// a writable mapping) are never dropped. Returns the bytes of mappings asked
// about; the kernel decides how many it takes.
std::size_t release();

} // namespace FilePages
