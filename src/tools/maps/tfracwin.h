#pragma once
// The map tools above the target inventory: TFrac0Win holds what kind of
// plane the window is; TFracWin the mapping texts, the map compiled from
// them (with the root-finding transforms of the dynamic planes) and the
// remembered p of each method.
#include "tools/maps/frac_document.h"
#include "tools/maps/mapping.h"
#include "tools/maps/maps_help.h"
#include "tools/maps/ttargwin.h"

#include <array>

namespace qx {

class TFrac0Win : public TTargWin {
public:
    // Complex tools read one complex mapping text; dynamic planes allow the
    // root-finding transforms.
    TFrac0Win(bool complexTool, bool dynamicPlane);
    bool complexTool() const { return complex_; }
    bool dynamicPlane() const { return dynamic_; }

protected:
    bool realTool() const override { return !complex_; }

private:
    bool complex_;
    bool dynamic_;
};

class TFracWin : public TFrac0Win {
public:
    TFracWin(bool complexTool, bool dynamicPlane);
    ~TFracWin() override;

    // The Mapping command: an unchanged text does nothing (0); otherwise 0
    // and the new map (the picture is reset), or 6 / the compiler's code with the
    // old map kept.
    int setMapping(const std::string& text);
    const std::string& mappingText() const { return mapping_; }
    // The real tools' two texts: both plain or both Newton(..=0); 0, or 6 /
    // the compiler's code with the old map kept. Unchanged texts do nothing.
    int setMappings(const std::string& f, const std::string& g);
    const std::string& secondMappingText() const { return mapping2_; }
    // "Newton's method ..." of the real tools: the system p = 0, q = 0.
    int solveSystem(const std::string& p, const std::string& q);
    const std::string& newtonP() const { return newtonP_; }
    // The critical point of the parameter planes: a complex text, or x and y
    // texts in the real tool. 0, or the compiler's code (nothing changes).
    int setCriticalPoint(const std::string& text, const std::string& yText = {});
    const std::string& criticalText() const { return criticalText_; }
    const std::string& criticalYText() const { return criticalText2_; }
    // The promenade (slide-show) path of the parameter planes, in t; kept in documents.
    const std::string& promenadePath() const { return promenadePath_; }
    const std::string& newtonQ() const { return newtonQ_; }
    // The remembered p of a method ("zzz-2z+2" at first).
    const std::string& methodText(RootMethod m) const { return methodTexts_[static_cast<size_t>(m)]; }
    // The solve dialog of a method: the transform of p; 0, or the code.
    int solve(RootMethod m, const std::string& p);
    // The title: the mapping text, its first 50 characters and " ..." when longer.
    std::string mappingTitle() const;
    std::string normalTitle() const override { return mapping_.empty() ? TFrac0Win::normalTitle() : mappingTitle(); }
    // The method of the root generators and the solve dialog.
    RootMethod rootMethod() const { return method_; }
    void setRootMethod(RootMethod m) { method_ = m; }

    // The preimages of z inside the view (complex tools): the solutions of
    // f(w) = z found by Newton's method from a grid of starts over the view,
    // each once, at most kMaxPreimages.
    std::vector<Complex> preimagesOf(Complex z) override;
    static constexpr size_t kMaxPreimages = 24;

    // The Btns modes of the map tools: Show period (the point report while
    // the button is held), Orbiter, Tracer, Inverse image, Image.
    std::vector<CommandSpec> mouseModes() const override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    void mouseUp(MouseButton button, PixelPoint p) override;
    // Settings: the maximum repetitions.
    void settingsCommand() override;

    // ---- Examples of the tool: count, menu texts, applying one.
    virtual int exampleCount() const { return 0; }
    virtual const char* exampleText(int /*k*/) const { return ""; }
    virtual bool applyExample(int /*k*/) { return false; }
    // The example an index or a menu text names (without '&'; a leading
    // "K " may be left out; letter case does not matter): -1 for none.
    int exampleIndex(const std::string& name) const;
    // After an example or a generator: the first target is current, undo
    // starts afresh, the title and picture follow.
    void exampleApplied();
    // Before an example: a running drawing is stopped when the user agrees
    // ("stop the drawing?"); false when they decline.
    bool stopDrawingFirst();

    // ---- Documents (tfracwin_files.cpp).
    // The window as a document; fields it does not model are kept as read.
    FracDocument captureDocument() const;
    // Takes a document: 0, or 6 for a value the window cannot take or a
    // text that does not compile (nothing changes).
    int applyDocument(const FracDocument& d);

    void copyDrawingSettings(const TKVAWing& from) override;

protected:
    const ExprNode* iterationMap() const override { return map_.get(); }
    const ExprNode* iterationMap2() const override { return map2_.get(); }
    // After a change of the real map: the partial derivatives of F.
    void derivePartials();
    void takeRealMapping(CompiledRealMapping m, const std::string& f, const std::string& g);
    // Mapping, Functions, the document and orbit commands, Targets and the
    // tool's help pages; tools add their examples.
    void declareCommands(CommandSet& set) override;
    virtual std::span<const MapsHelp> helpPages() const { return {}; }
    void mappingCommand();

    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;
    void documentRead() override { firstSweep_ = true; }

    std::string mapping_;
    TreePtr map_;
    std::array<std::string, kRootMethods> methodTexts_;
    RootMethod method_ = RootMethod::Newton;
    std::string mapping2_;
    TreePtr map2_;
    TreePtr fx_, fy_; // partial derivatives of F in X and Y (real tools)
    std::string newtonP_ = "3-x-yy", newtonQ_ = "4+y-xx";
    const ExprNode* criticalTree(int i) const override { return i == 0 ? critical_.get() : critical2_.get(); }
    std::string criticalText_ = "2";   // the critical point of the parameter planes
    std::string criticalText2_ = "0";  // its y in the real tool
    std::string promenadePath_;        // "cos(t)+i*sin(t)" or "cos(t);sin(t)"
    TreePtr critical_, critical2_;
    std::string juliaAnchorText_ = "0"; // where inverse images start
    FracDocument fileState_;
    bool reportShown_ = false;
    // A parameter plane's Julia child (its own window) and the way back;
    // each side clears the other's link when it closes.
    TFracWin* juliaChild_ = nullptr;
    TFracWin* juliaParent_ = nullptr;
    int juliaChildren_ = 0;
    static void linkJuliaChild(TFracWin& parent, TFracWin& child)
    {
        parent.juliaChild_ = &child;
        child.juliaParent_ = &parent;
    }
};

} // namespace qx
