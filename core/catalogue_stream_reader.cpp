#include "catalogue_reader.h"
#include "stream_input.h"

std::list<PluginModule> ReadCatalogue(std::istream& input)
{
    StreamInput bytes(input);
    return ReadCatalogue(bytes);
}
