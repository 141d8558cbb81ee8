#include "graphics/export/export_format.h"

#include "graphics/export/eps_canvas.h"

namespace qx {

const ExportFormats& ExportFormats::builtIn()
{
    static const ExportFormats formats({
        {"eps", "EPS", 372, "&EPS ...", "EPS files (*.EPS)|*.eps", ".eps", true, makeEpsPage},
    });
    return formats;
}

std::string longDateText() { return epsDateText(); }

const ExportFormat* ExportFormats::byName(const std::string& name) const
{
    for (const ExportFormat& f : rows_)
        if (name == f.name)
            return &f;
    return nullptr;
}

const ExportFormat* ExportFormats::byCommand(int command) const
{
    for (const ExportFormat& f : rows_)
        if (f.command == command)
            return &f;
    return nullptr;
}

} // namespace qx
