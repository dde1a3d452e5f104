#pragma once

// What tells the two builds apart: the API version and the name the host sees. The
// build defines BRISK_IMAGE_BUILD or BRISK_ARCHIVE_BUILD.
#if defined(BRISK_IMAGE_BUILD)
constexpr char kApiVersion[] = "00IN";
constexpr char kPluginName[] = "BriskImport Ver.2.1";
#elif defined(BRISK_ARCHIVE_BUILD)
constexpr char kApiVersion[] = "00AM";
constexpr char kPluginName[] = "BriskArchive Ver.2.1";
#else
#error "Define BRISK_IMAGE_BUILD or BRISK_ARCHIVE_BUILD"
#endif

constexpr char kCopyrightNotice[] = "Copyright (C) 2026 BriskSPI developers";
