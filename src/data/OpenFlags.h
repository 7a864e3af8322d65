#pragma once
// How the data layer opens files and folders (POSIX). Without O_NONBLOCK, opening a
// named pipe waits for a writer; with it, the open returns at once and fstat tells the
// pipe from a file.

#include <fcntl.h>

namespace rxt4 {

constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr int kFolderFlags = O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC;

}  // namespace rxt4
