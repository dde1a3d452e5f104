#include "plugin_record.h"

#include <algorithm>

void StoreInformation(PluginModule& record, int number, std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    if (number == 0) {
        record.version = text;
        return;
    }
    if (number == 1) {
        record.name = text;
        return;
    }
    // A description answered without its pattern number still needs its filter, so
    // the list is brought to the filter's count first.
    std::size_t count = static_cast<std::size_t>(number / 2);
    record.filters.resize(count);
    FileFilter& filter = record.filters[count - 1];
    if (number % 2 == 0)
        filter.patterns = ParsePatternList(text);
    else
        filter.description = text;
}
