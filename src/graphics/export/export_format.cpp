#include "graphics/export/export_format.h"

#include "base/file_io.h"
#include "graphics/export/eps_canvas.h"
#include "graphics/export/bmp_page.h"
#include "graphics/export/emf_canvas.h"
#include "graphics/export/page_writer.h"
#include "graphics/export/svg_canvas.h"
#include "graphics/export/tex_canvas.h"

#include <cctype>

namespace qx {

const ExportFormats& ExportFormats::builtIn()
{
    static const ExportFormats formats({
        {"eps", "EPS", 372, "&EPS ...", "EPS files (*.EPS)|*.eps", ".eps", true, makeEpsPage},
        {"bmp", "BMP", 374, "&BMP ...", "Bitmap files (*.BMP)|*.bmp", ".bmp", false, makeBmpPage, PageList::Text},
        {"svg", "SVG", 375, "&SVG ...", "SVG files (*.SVG)|*.svg", ".svg", true, makeSvgPage, PageList::Text},
        {"tex", "TeX", 376, "&PiCTeX ...", "TeX files (*.TEX)|*.tex", ".tex", true, makeTexPage, PageList::TeX},
        {"emf", "EMF", 370, "&Metafile (EMF) ...", "Enhanced metafiles (*.EMF)|*.emf", ".emf", true, makeEmfPage,
         PageList::Text, true, "EMF saved"},
    });
    return formats;
}

std::string longDateText() { return epsDateText(); }

int pageDirectiveKind(const std::string& text, std::string& letters)
{
    std::string t;
    for (char c : text)
        t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    letters.clear();
    if (const size_t slash = t.find('\\'); slash != std::string::npos) {
        size_t end = slash + 1;
        while (end < t.size() && std::isalpha(static_cast<unsigned char>(t[end])))
            ++end;
        const std::string word = t.substr(slash + 1, end - slash - 1);
        return word == "REPS" ? 2 : word == "PROM" ? 3 : word == "ZOOM" ? 4 : 0;
    }
    for (char c : t)
        if (c >= 'A' && c <= 'W' && letters.find(c) == std::string::npos)
            letters += c;
    return letters.empty() ? 0 : 1;
}

std::string pageListText(PageList kind, const std::string& base, int pages)
{
    const std::string name = bareName(base);
    const int digits = pageDigits(pages);
    const auto numbered = [&](int page) {
        std::string n = std::to_string(page);
        return name + std::string(static_cast<size_t>(std::max(0, digits - static_cast<int>(n.size()))), '0') + n;
    };
    std::string out;
    if (kind == PageList::Text) {
        for (int page = 0; page < pages; ++page)
            out += numbered(page) + "\r\n";
    } else if (kind == PageList::TeX) {
        out += "\\begin{animateinline}[poster=first,controls]{1}\r\n";
        for (int page = 0; page < pages; ++page) {
            out += "\\input{" + numbered(page) + "}\r\n";
            if (page + 1 < pages)
                out += "\\newframe\r\n";
        }
        out += "\\end{animateinline}\r\n";
    }
    return out;
}

bool writePageList(PageList kind, const std::string& base, int pages)
{
    if (kind == PageList::None || pages <= 1)
        return true;
    const std::string text = pageListText(kind, base, pages);
    const std::string file = base + (kind == PageList::TeX ? "ANIM.tex" : "ANIM.txt");
    return writeFileAtomically(file, std::vector<uint8_t>(text.begin(), text.end()));
}

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
