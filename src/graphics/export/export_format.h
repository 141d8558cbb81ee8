#pragma once
// The export formats as rows of one table. A tool draws each page once,
// format-neutrally, on the canvas the format's row makes; the page loop
// (model) names the files, asks the overwrite question once and writes each
// page whole. Adding a format is one canvas and one row; no tool changes.
#include "graphics/canvas.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qx {

// What every page of one export run shares.
struct ExportRun {
    int pages = 1;
    Real dpi = 96;             // the screen's logical pixels per inch
    std::string creator;       // the program's name in file headers
    std::string date;          // today's date in the long format
    Real frameHalfWidth = 5;   // the fixed frame all pages of an animation share
    Real pageZoom = 1;         // frameHalfWidth / halfWidth of the page being written
    // PiCTeX: the kind of file (0 TeX standalone, 1 LaTeX2e standalone, 2 TeX
    // compilable, 3 TeX insertable), its box number and width in centimetres.
    int texKind = 0, texBox = 0;
    // SVG: the size in the header, 0 for the window's pixel size.
    int svgWidth = 0, svgHeight = 0;
    Real texWidthCm = 8;
    Real texWhitespace = 0; // PiCTeX: the white space kept around labels (0 off)
};

// The list file a run of several pages ends with.
enum class PageList { None, Text, TeX }; // none (EPS), ANIM.txt, ANIM.tex

// A canvas that becomes one page file.
class PageCanvas : public Canvas {
public:
    using Canvas::Canvas;
    // The whole file of the page, once the tool has drawn on it.
    virtual std::string pageFile() const = 0;
};

struct ExportFormat {
    const char* name;      // "eps": quorvex-batch --format
    const char* label;     // "EPS": the "EPS: pages" prompt and "EPS file saved"
    int command;           // the menu command (372)
    const char* menuText;  // "&EPS ..."
    const char* filter;    // "EPS files (*.EPS)|*.eps"
    const char* extension; // ".eps"
    bool vector;           // takes vector pictures; else pixel pictures
    // The canvas of page `page` of `run`, for the file named `title`; null
    // when the view cannot be exported (it has no extent).
    std::unique_ptr<PageCanvas> (*makePage)(const View& view, const Palette& palette, const ExportRun& run,
                                             int page, const std::string& title);
    PageList list = PageList::None;
    // A vector format that also embeds pixel pictures (EMF): pixel tools export to it too.
    bool pictures = false;
    // The message after a successful run; null for label + " file saved".
    const char* savedText = nullptr;

    // Whether a tool that draws pixel pictures can use this format.
    bool takesPixelPictures() const { return !vector || pictures; }
    std::string savedMessage() const { return savedText ? savedText : std::string(label) + " file saved"; }
};

// The directive of a run of several pages (what changes from page to page):
// 0 unknown, 1 alphabetic parameters (letters A..W), 2 \REPS, 3 \PROM,
// 4 \ZOOM, in any letter case. `letters` gets the animated letters of kind 1.
int pageDirectiveKind(const std::string& text, std::string& letters);

// The list files of a successful run of several pages named from `base`:
// "ANIM.txt" (a line per page: the bare name and the padded page number) or
// "ANIM.tex" (a LaTeX animateinline of the pages). CR LF lines. False when
// the file cannot be written.
bool writePageList(PageList kind, const std::string& base, int pages);
std::string pageListText(PageList kind, const std::string& base, int pages);

// Today's date in the long format of file headers ("Monday, December 7, 2026").
std::string longDateText();

// A set of formats; windows use the built-in one unless a test gives another.
class ExportFormats {
public:
    explicit ExportFormats(std::vector<ExportFormat> rows) : rows_(std::move(rows)) {}
    static const ExportFormats& builtIn();

    std::span<const ExportFormat> rows() const { return rows_; }
    const ExportFormat* byName(const std::string& name) const;
    const ExportFormat* byCommand(int command) const;

private:
    std::vector<ExportFormat> rows_;
};

} // namespace qx
