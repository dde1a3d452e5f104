// spilist: writes catalogue records for the plug-ins named on the command line, or
// one per line on standard input. Standard output receives the catalogue text only,
// at the very end; progress and errors go to standard error as the work proceeds.
#include <optional>
#include <string>
#include <vector>

#include "catalogue_writer.h"
#include "path_source.h"
#include "plugin_query.h"
#include "progress_log.h"
#include "standard_output.h"
#include "stdout_guard.h"

#include "bridged_binding.h"

int main(int argc, char** argv)
{
    std::string catalogue;
    // Plug-ins of the other width are read through the helper beside this program.
    SetBridgeBinder(BindBridged);
    {
        // Installed before any plug-in is loaded and kept until the last one is freed.
        StandardOutputGuard guard;
        std::vector<std::string> paths = GatherPaths(argc, argv);
        for (const std::string& path : paths) {
            ReportPath(path);
            std::optional<PluginModule> record = QueryPlugin(path);
            if (record)
                WriteRecord(catalogue, *record);
            else
                ReportError(path);
        }
    }
    WriteStandardOutput(catalogue);
    return 0;
}
