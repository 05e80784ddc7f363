#pragma once

#include <cstddef>

// A tray program spends its day waiting; the code and data of its libraries,
// fonts and icons stay resident all that while, though they can be read back
// from their files whenever they are needed again.
namespace FilePages {

// Lets go of every page of a file the process maps for reading only where
// no other process maps that page too: the page stays in the system's file
// cache, which reclaims it first, and the next use maps it again. Pages
// written by this process (relocations, a writable mapping) are never let
// go. Returns the bytes let go.
std::size_t release();

} // namespace FilePages
