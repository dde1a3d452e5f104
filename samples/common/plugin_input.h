#pragma once

#include <cstddef>
#include <memory>

#include "byte_source.h"
#include "plugin_interface.h"

// The input a picture or archive call names: with input kind 0 in `flag`, `buf` is
// a file name and `len` the offset where the data starts; with kind 1, `buf` points
// to a memory image of `len` bytes. Returns 0 and sets `source`, or the interface's
// result code for an input that cannot be read.
int OpenPluginInput(LPCSTR buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& source);
// The same for a W entry point: a UTF-16 file name, or the same memory image pointer.
int OpenPluginInput(LPCWSTR buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& source);

// What IsSupported was given in `dw`: a file handle when its upper bits are zero
// (the file is read from its current position, which is restored afterwards),
// otherwise a pointer to at least 2 KB of the file's first bytes. Copies up to
// `capacity` bytes (at most 2048) into `head`; returns how many it copied.
std::size_t ReadSupportHead(ULONG_PTR dw, unsigned char* head, std::size_t capacity);
