#pragma once

// Ties a benchmark host to the system libraries a GUI host has loaded before main()
// (user32, gdi32, shlwapi, shell32, comctl32, ole32), so that a plug-in importing
// one of them is not charged for its start-up. Nothing is called.
void TieToGuiHostLibraries();
