#pragma once

// Whether this machine runs programs of a width (some kernels have 32-bit programs
// switched off; 32-bit Windows runs no 64-bit ones): the bridge's helper of that
// width, started without a channel, answers 1 where they run.
bool CanRun32BitPrograms();
bool CanRun64BitPrograms();
// Whether the helper that serves this set, of the other width, can run here.
bool CanRunTheBridgeHelper();
