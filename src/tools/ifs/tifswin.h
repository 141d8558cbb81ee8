#pragma once
// The IFS windows: TIfsWin holds the maps, the selection, the orbit and the
// chaos game (drawn by a drawing job, continued by Many); TIfcWin has complex
// maps (text or rotary dilation), TIfrWin real maps (two texts or an image
// triangle of the reference triangle).
#include <cstddef> // before the core headers, which use size_t

#include "model/document_tail.h"
#include "model/tvorl1win.h"
#include "tools/ifs/ifs_maps.h"

#include <memory>
#include <span>
#include <random>

namespace qx {

inline constexpr int32_t kIfcKind = 1401, kIfrKind = 1402;

class TIfsWin : public TVorl1Win {
public:
    ~TIfsWin() override;

    const std::vector<IfsMap>& maps() const { return maps_; }
    int mapCount() const { return static_cast<int>(maps_.size()); }
    // Map i becomes `m` (i == mapCount() adds one): its texts or geometry are
    // compiled first; 0, or the code (a compiler error, 17 for a weight outside
    // 1..100 or an index out of range). The view is fitted and the drawing
    // starts again.
    int setMap(int i, IfsMap m);
    // 0, or 17 for an index out of range.
    int deleteMap(int i);
    void setMapVisible(int i, bool on);

    // Many: the target grows by the batch size, going on from the orbit point.
    void many();
    // Clear: no points, an empty picture.
    void clearPoints();
    // "How many ...": a whole number of at least 1; 1 or 14 (nothing changes).
    int setBatch(const std::string& text);
    int32_t batch() const { return batch_; }
    long long plotted() const { return plotted_; }
    long long target() const { return target_; }
    // "Define sequence ...": digits naming maps (at most 49), empty clears;
    // 0, or 6 for another character or a map that does not exist.
    int setSequence(const std::string& digits);
    const std::vector<int16_t>& sequence() const { return sequence_; }
    // Every map visible, 200 steps per map from 0, the view around them.
    void fitView();
    // The random numbers start from `seed` (the batch program's pictures repeat).
    void setRandomSeed(uint32_t seed);
    // The inventory's lines: "i: z --> text" or "i: (x,y) --> (x', y')".
    std::vector<std::string> inventoryLines() const;
    std::string inventoryText() const;
    // The map the edit dialog works on (mapCount(): a new one).
    int editing() const { return editing_; }
    void setEditing(int i) { editing_ = std::clamp(i, 0, mapCount()); }
    // The map dialog (IFCEDIT or IFREDIT) on the map being edited, and the
    // inventory as text; false when the host has none.
    bool openMapEditor();
    bool showInventoryText();
    // "Random ...": n maps at random (1..30); 14 or 17 otherwise (no maps then).
    virtual int randomMaps(int n) = 0;
    // A preset of the New menu: its command id and menu text.
    struct PresetEntry {
        int command;
        const char* menu;
    };
    // A preset of the New menu (its command id): false for another id.
    virtual bool applyPreset(int command) = 0;
    // The Settings command shows the inventory.
    void settingsCommand() override;
    // The map the edit dialog shows: the one being edited, or a new map.
    IfsMap editedMap() const;

    void mouseDown(MouseButton button, PixelPoint p) override;
    int drawFigure(Canvas& figure) override;
    // Vector drawing: on every format (bitmaps rasterize it).
    bool canExport(const ExportFormat&) const override { return true; }
    bool drawExportPage(Canvas& canvas, int page) override;
    OrbitMap orbitMap() const override;
    void copyDrawingSettings(const TKVAWing& from) override;

protected:
    TIfsWin();
    void declareCommands(CommandSet& set) override;
    void renderFinished(int status) override;
    std::vector<CommandSpec> mouseModes() const override;
    // Builds the map's trees (and its derived texts); 0 or the compiler's code.
    virtual int compileMap(IfsMap& m, std::array<TreePtr, 2>& trees) = 0;
    virtual bool complexTool() const = 0;
    virtual const char* mapDialog() const = 0;
    // The New menu's presets.
    virtual std::span<const PresetEntry> presetEntries() const = 0;
    // The texts of the inventory for one map.
    virtual std::string mapLine(const IfsMap& m) const = 0;
    // All maps compiled again from their definitions (after reading, a new reference triangle).
    int rebuildAll();
    // The maps reset (30 of them when `all`), keeping the colours.
    void startPreset();
    // After a change of the maps: the view fitted and the drawing anew.
    void mapsChanged();
    // A preset or random system: the drawing stopped, no sequence, the maps
    // compiled and taken, the view fitted.
    void installMaps(std::vector<IfsMap> maps);
    // "Random ...": asks "how many functions?" (a random 3..7 offered).
    void randomCommand();
    IfsStepper stepper() const;
    // The shared blocks of both documents, read first and applied only when
    // the whole document was read and every map compiled.
    struct DocumentParts {
        int lastIndex = -1;
        Real centreX = 0, centreY = 0, halfWidth = 1, halfHeight = 1;
        int32_t batch = kDefaultIfsBatch;
        std::array<Complex, kVariableCount> vars{};
        std::array<std::pair<Real, Real>, kVariableCount> bounds{};
        WindowPlacement zoom, popup;
        DocumentTail tail;
    };
    void encodeHead(ByteWriter& w) const;
    int decodeHead(ByteReader& r, const CommonHeader& h, DocumentParts& d) const;
    void encodeVariables(ByteWriter& w) const;
    int decodeVariables(ByteReader& r, DocumentParts& d) const;
    void encodeTail(ByteWriter& w) const;
    int decodeTail(ByteReader& r, DocumentParts& d) const;
    // Compiles `maps` with the document's variables; on success the window
    // takes the maps, variables, view and tail. 0 or 6 (nothing changes).
    int applyDocument(std::vector<IfsMap> maps, std::vector<int16_t> sequence, const DocumentParts& d);

    std::vector<IfsMap> maps_;
    std::vector<std::array<TreePtr, 2>> trees_;
    std::vector<int16_t> sequence_;
    Complex orbit_{};
    long long plotted_ = 0, target_ = 0;
    int32_t batch_ = kDefaultIfsBatch;
    bool continuing_ = false; // the next drawing adds points to the picture
    bool cleared_ = false;    // the next drawing stays empty (Clear)
    mutable std::mt19937 rng_{std::random_device{}()};
    int editing_ = 0;
    std::shared_ptr<struct IfsJobResult> jobResult_;
    // The orbiter's steps: one stepper and one stream of random numbers
    // while the maps stay as they are.
    mutable std::shared_ptr<struct IfsOrbiterState> orbiterState_;
};

class TIfcWin : public TIfsWin {
public:
    explicit TIfcWin(bool preset = true); // the Gasket
    bool applyPreset(int command) override;
    // Mode 125, Drag fixed points: the left button picks the last geometric
    // map whose fixed point is within 5 pixels, the fixed point follows the
    // mouse, and the release rebuilds the map there.
    void mouseDown(MouseButton button, PixelPoint p) override;
    void mouseMove(PixelPoint p) override;
    void mouseUp(MouseButton button, PixelPoint p) override;
    int draggedMap() const { return dragged_; }
    int randomMaps(int n) override;
    ToolFiles toolFiles() const override;

protected:
    void declareCommands(CommandSet& set) override;
    int compileMap(IfsMap& m, std::array<TreePtr, 2>& trees) override;
    bool complexTool() const override { return true; }
    const char* mapDialog() const override { return "IFCEDIT"; }
    std::span<const PresetEntry> presetEntries() const override;
    std::string mapLine(const IfsMap& m) const override;
    std::vector<CommandSpec> mouseModes() const override;
    void drawToolOverlays(Canvas& canvas) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;

private:
    int dragged_ = -1;
};

class TIfrWin : public TIfsWin {
public:
    explicit TIfrWin(bool preset = true); // the Fern
    bool applyPreset(int command) override;
    int randomMaps(int n) override;
    const Triangle& reference() const { return reference_; }
    // REFTRI: the reference triangle; every triangle-defined map follows.
    void setReference(const Triangle& t);

    // ---- Collage mode (641): the image triangles and the reference triangle
    // are edited with the mouse (mode 125) and the attractor follows.
    void startCollage();
    // Keep changes (643) or Discard changes (642, everything as before the collage).
    void endCollage(bool keep);
    bool inCollage() const { return collage_; }
    // Icon size (600): 1..50 pixels, else 17 (nothing changes).
    int setIconSize(int pixels);
    int iconSize() const { return iconSize_; }
    // Collage colours (207 collage, 208 reference, 209 active): palette
    // indices 0..60, else 17.
    int setCollageColour(int which, int index);
    // Next triangle (518): the next triangle-defined map, then the reference (-1).
    void nextTriangle();
    int activeTriangle() const { return active_; }
    // A vertex of the active triangle moved to `p`: the maps follow (only the
    // active one, or all for the reference triangle).
    void moveVertex(int vertex, WorldPoint p);
    // The vertex of the active triangle the mouse may pick at `p` (within
    // `pixels` pixel widths, the last in vertex order), or -1.
    int vertexNear(WorldPoint p, Real pixels) const;
    std::string normalTitle() const override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    void mouseMove(PixelPoint p) override;
    void mouseUp(MouseButton button, PixelPoint p) override;
    ToolFiles toolFiles() const override;

protected:
    void declareCommands(CommandSet& set) override;
    int compileMap(IfsMap& m, std::array<TreePtr, 2>& trees) override;
    bool complexTool() const override { return false; }
    const char* mapDialog() const override { return "IFREDIT"; }
    std::span<const PresetEntry> presetEntries() const override;
    std::string mapLine(const IfsMap& m) const override;
    void drawToolOverlays(Canvas& canvas) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;

private:
    Triangle& activeTriangleRef();
    void rebuildAfterMove(bool all);

    Triangle reference_{};
    bool collage_ = false;
    int active_ = 0;
    int draggedVertex_ = -1;
    int iconSize_ = 3;
    std::array<int16_t, 3> collageColours_{1, 6, 4}; // collage (1: seen on the black background), reference, active
    int savedMouseMode_ = 0;
    std::vector<IfsMap> backupMaps_;
    Triangle backupReference_{};
};

} // namespace qx
