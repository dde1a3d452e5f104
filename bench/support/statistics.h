#pragma once

#include <vector>

// The middle value (the mean of the two middle values for an even count); 0 for none.
double Median(std::vector<double> values);
