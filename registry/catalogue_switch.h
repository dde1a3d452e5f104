#pragma once

#include <string>

// The catalogue's file name for a host command line: "briskspi.txt", or the text
// after the first "/configfile:" (found in any letter case) up to the next space.
// The line is folded to lower case first, so the name comes out in lower case.
std::string CatalogueFileName(const std::string& commandLine);
