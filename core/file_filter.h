#pragma once

#include <string>
#include <vector>

// One filter of a plug-in: the wildcard patterns it reads and their description.
struct FileFilter {
    std::vector<std::string> patterns;
    std::string description;
};

// The pattern-list rule shared by the catalogue reader and the catalogue builder:
// ";" separates patterns, whitespace (0x09-0x0D, 0x20) vanishes wherever it stands,
// and a ";" met while no pattern has begun is kept as pattern text.
std::vector<std::string> ParsePatternList(const std::string& text);

// The writer's form of a pattern list: each pattern followed by ";", then the last
// byte dropped. Reading the result with ParsePatternList gives the same list back.
std::string JoinPatternList(const std::vector<std::string>& patterns);
