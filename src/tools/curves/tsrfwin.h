#pragma once
// The string-rewriting window: the turtle's curve of the current generation,
// Next and Generation 0, the library of presets, the random polygonal curve,
// the strings dialog, box counting of the curve, and .srf documents.
#include <cstddef> // before the core headers, which use size_t

#include "tools/curves/rewriting.h"
#include "tools/curves/tboxwin.h"

#include <memory>
#include <random>

namespace qx {

inline constexpr int32_t kSrfKind = 1301;

class TSRFWin : public TBoxWin {
public:
    TSRFWin(); // the von Koch island
    ~TSRFWin() override;

    const RewritingData& data() const { return data_; }
    // A preset of the library (its command id): false for another id.
    bool applyPreset(int command);
    // The strings dialog's data: 0, or 6 for n out of range, 1 for a string
    // with other characters (nothing changes). Back to generation 0.
    int applyData(RewritingData d);
    // Next: rewrites off the user-interface thread (a side job); the new
    // generation is drawn when it is done. False while one runs.
    bool next();
    // Generation 0: the initial string again.
    void generationZero();
    // The random polygonal curve.
    void randomCurve();
    int generation() const { return generation_; }
    bool showingRandomCurve() const { return random_; }
    const std::string& currentString() const { return *current_; }
    const WorldRect& boundingBox() const { return box_; }
    // The corner offsets of the counting square; "Corners random" draws new ones.
    Real cornerA() const { return cornerA_; }
    Real cornerB() const { return cornerB_; }
    void randomCorners();
    // The text summary of the strings.
    std::string summary() const;

    std::string normalTitle() const override;
    int drawFigure(Canvas& figure) override;
    // Vector drawing: on every format (bitmaps rasterize it).
    bool canExport(const ExportFormat&) const override { return true; }
    bool drawExportPage(Canvas& canvas, int page) override;
    std::unique_ptr<BoxCounter> makeBoxCounter() const override;
    ToolFiles toolFiles() const override;
    void settingsCommand() override;

protected:
    void declareCommands(CommandSet& set) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;
    void drawJobBatch(Canvas& figure, const DotBatch& batch) override;
    void renderSettled(int status) override;
    bool countingSquare(Real& left, Real& bottom, Real& side) const override;

private:
    // The view framed on the bounding box (0.6 of its extent each side).
    void fitView();
    void startFresh(); // generation 0 of the data, the table rebuilt
    void showMessageFor(int code);

    RewritingData data_;
    DirectionTable table_;
    std::shared_ptr<const std::string> current_ = std::make_shared<const std::string>();
    int generation_ = 0, highest_ = 0;
    bool random_ = false;
    std::vector<WorldPoint> randomPoints_;
    WorldRect box_{};
    Real cornerA_ = 0.513L, cornerB_ = 0.514L;
    int walkStatus_ = 0; // of the last drawing: 0, 3 (unmatched ')')
    std::mt19937 engine_{std::random_device{}()};
};

} // namespace qx
