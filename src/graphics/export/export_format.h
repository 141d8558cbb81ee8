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
};

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
};

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
