#pragma once

#include <string>

// A plug-in call's result code with its meaning: "2 (unknown format)".
std::string DescribeResult(int code);
