#include "model/host.h"

#include "model/dialog_form.h"
#include "model/tvorlwin.h"
#include "graphics/bmp_reader.h"
#include "graphics/raster_canvas.h"

namespace qx {

std::unique_ptr<Canvas> Host::createCanvas(Image& target, const View& view, const Palette& palette)
{
    return std::make_unique<RasterCanvas>(target, view, palette);
}

int Host::readImageFile(const std::string& path, Image& out)
{
    return readPictureFile(path, out);
}

bool Host::runModalForm(DialogForm& form)
{
    const FormState state = form.load();
    std::vector<std::string> prompts, values;
    for (const FormField& f : state.fields) {
        prompts.push_back(f.label);
        values.push_back(f.text);
    }
    if (!inputMany(form.title(), prompts, values))
        return false;
    if (const int e = form.apply(values, state.chosen)) {
        showError(e);
        return false;
    }
    return true;
}

bool Host::openChildWindow(std::unique_ptr<TVorlWin>, const WindowPlacement&)
{
    return false;
}

} // namespace qx
