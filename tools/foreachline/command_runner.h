#pragma once

#include <string>

// Runs `command` through the system command interpreter and waits until it has
// finished. Whether it could be started, and how it ended, is not looked at.
void RunCommand(const std::string& command);
