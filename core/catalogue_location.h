#pragma once

#include <string>

// The one rule for where a set's catalogue is, shared by its registry library and by
// the tools that report on it.

// The catalogue's file name for a host command line: the set's default name
// ("briskspi.txt", or "briskspi64.txt" for the 64-bit set), or the text after the
// first "/configfile:" (found in any letter case) up to the next space. The line is
// folded to lower case first, so the name comes out in lower case.
std::string CatalogueFileName(const std::string& commandLine);

// The catalogue of the set whose registry library lies in `registryFolder` (with its
// trailing separator), for this command line: the name is relative to that folder.
std::string CataloguePathIn(const std::string& registryFolder, const std::string& commandLine);
