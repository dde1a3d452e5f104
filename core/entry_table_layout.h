#pragma once

// The step between the records of an archive entry table. On x64 a record ends in 4
// padding bytes, but some plug-ins hand out tables of records without them; read in
// the wrong step, every entry from the second on is garbage.
#include <cstddef>

// `padded` is the record's size, `unpadded` that of its fields alone (the same on
// x86). Returns the step the table was written in: `padded` unless the table's size
// or contents show the other.
std::size_t EntryTableStep(const unsigned char* table, std::size_t size, std::size_t padded, std::size_t unpadded);
