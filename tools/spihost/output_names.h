#pragma once

// Where spihost puts an extracted entry: the folder part and the file name that an
// archive reports, made safe to use below the target folder. Knows nothing of the
// platform.
#include <string>

// The entry's folder part as a relative path ending in '\' (or empty): empty parts,
// "." and ".." are dropped and characters Windows forbids become '_', so the result
// never leaves the target folder.
std::string SafeRelativeFolder(const std::string& entryFolder);

// The entry's file name with forbidden characters replaced; "entry" when nothing
// usable is left.
std::string SafeFileName(const std::string& entryFileName);
