#pragma once

#include <QString>

// What lies at a font path, judged from the file system alone.
enum class FontFileState {
    Missing,     // empty path, or nothing there
    NotAFile,    // a directory, pipe, device or socket: never a font
    RegularFile, // worth handing to the font code
};

// Font loading reads a file whole, so anything but a regular file must be
// turned away before it is opened: a named pipe would block the window for
// good and /dev/zero would never end. Symbolic links are followed.
FontFileState fontFileState(const QString &path);
