#pragma once

// Whether this machine runs 32-bit programs (some kernels have that switched off):
// the bridge's helper, started without a channel, answers 1 where they run.
bool CanRun32BitPrograms();
