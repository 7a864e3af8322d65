#pragma once
// The folder index is public (rxt4/data/DirectoryIndex.h); this name stays for the
// data layer's own files.
#include "rxt4/data/DirectoryIndex.h"
