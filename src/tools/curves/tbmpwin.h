#pragma once
// The dimension tool: a bitmap loaded from a file or the clipboard, and box
// counting of the pixels that differ from its background (pixel (3, 3)).
#include <cstddef> // before the core headers, which use size_t

#include "tools/curves/tboxwin.h"

#include <memory>
#include <string>

namespace qx {

inline constexpr int32_t kBmpKind = 1302;

class TBMPWin : public TBoxWin {
public:
    TBMPWin();
    ~TBMPWin() override;

    // The picture of a file: 0, or the host's code (nothing changes).
    int loadFile(const std::string& path);
    // The clipboard's picture: false when it holds none.
    bool loadClipboard();
    void setBitmap(Image picture, const std::string& name);
    const Image& bitmap() const { return *bitmap_; }
    // The background: pixel (3, 3), or the last pixel of a smaller picture.
    static Rgb backgroundOf(const Image& picture);

    // Gridlines colour (210) and Background colour (200, around the picture):
    // palette indices 0..60, else 17 (nothing changes).
    int setGridlineColour(int index);
    int setBackgroundColour(int index);
    int backgroundColour() const { return background_; }

    std::string normalTitle() const override;
    void resize(int width, int height) override;
    int drawFigure(Canvas& figure) override;
    // Pages of the formats that take pixel pictures: the bitmap as the window shows it.
    bool canExport(const ExportFormat& format) const override;
    bool drawExportPage(Canvas& canvas, int page) override;
    bool drawsPixels() const override { return true; }
    std::unique_ptr<BoxCounter> makeBoxCounter() const override;
    ToolFiles toolFiles() const override;

protected:
    void declareCommands(CommandSet& set) override;
    bool countingSquare(Real& left, Real& bottom, Real& side) const override;

private:
    // Asks for a palette index, prefilled with `current`, and applies it.
    void paletteIndexCommand(int current, int (TBMPWin::*apply)(int));

    std::shared_ptr<const Image> bitmap_ = std::make_shared<const Image>();
    std::string name_;
    int background_ = 0;
};

} // namespace qx
