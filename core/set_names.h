#pragma once

// The file names of this build's set. A host loads only libraries of its own width,
// and hosts that take both keep ".spi" and ".sph" side by side in one folder, so the
// 64-bit set carries names of its own: its plug-ins end in ".sph", its registry
// library, catalogue and tools in "64". String-literal macros, so that names also
// join into longer literals.
#if defined(_WIN64)
#define BRISK_PLUGIN_EXTENSION ".sph"
#define BRISK_SET_SUFFIX "64"
#else
#define BRISK_PLUGIN_EXTENSION ".spi"
#define BRISK_SET_SUFFIX ""
#endif

#define BRISK_IMAGE_FRONT "BriskImp" BRISK_PLUGIN_EXTENSION
#define BRISK_ARCHIVE_FRONT "BriskArc" BRISK_PLUGIN_EXTENSION
#define BRISK_REGISTRY_LIBRARY "briskspi" BRISK_SET_SUFFIX ".dll"
#define BRISK_DEFAULT_CATALOGUE "briskspi" BRISK_SET_SUFFIX ".txt"
#define BRISK_SPILIST_PROGRAM "spilist" BRISK_SET_SUFFIX ".exe"
#define BRISK_SPIHOST_PROGRAM "spihost" BRISK_SET_SUFFIX ".exe"
// The helper that serves plug-ins of the other width to this set, and lies beside it:
// a 32-bit one for the 64-bit set, a 64-bit one (which needs 64-bit Windows) for the
// 32-bit set.
#if defined(_WIN64)
#define BRISK_BRIDGE_PROGRAM "briskbridge32.exe"
#define BRISK_BRIDGED_WIDTH "32-bit"
#else
#define BRISK_BRIDGE_PROGRAM "briskbridge64.exe"
#define BRISK_BRIDGED_WIDTH "64-bit"
#endif
#define BRISK_SAMPLE_BMP "SampleBmp" BRISK_PLUGIN_EXTENSION
#define BRISK_SAMPLE_TAR "SampleTar" BRISK_PLUGIN_EXTENSION
