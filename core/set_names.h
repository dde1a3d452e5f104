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
// The 32-bit helper that serves 32-bit plug-ins to the 64-bit set; it lies beside
// the 64-bit set.
#define BRISK_BRIDGE_PROGRAM "briskbridge32.exe"
#define BRISK_SAMPLE_BMP "SampleBmp" BRISK_PLUGIN_EXTENSION
#define BRISK_SAMPLE_TAR "SampleTar" BRISK_PLUGIN_EXTENSION
