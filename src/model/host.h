#pragma once
// What a tool model needs from the window that hosts it. The Qt ToolWindow
// implements it; tests use a scripted fake. A model never calls the toolkit.
#include "base/window_placement.h"
#include "graphics/canvas.h"
#include "graphics/image.h"

#include <memory>
#include <string>
#include <vector>

namespace qx {

class TVorlWin;
class DialogForm;

class Host {
public:
    virtual ~Host() = default;

    // Title bar: the normal title is the document name; status titles replace it for a while.
    virtual void setTitle(const std::string& title) = 0;
    virtual std::string title() const = 0;

    // A modal message box with the text of `code` and the caption (default "hmm ...").
    virtual void showError(int code, const std::string& caption = {}) = 0;
    // A modal message box with free text.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;

    // Input dialogs. Each returns false when the user cancels; the values are
    // changed only on true. `values` comes in with the current texts.
    virtual bool inputText(const std::string& prompt, std::string& value) = 0;
    virtual bool inputTwo(const std::string& prompt1, std::string& value1,
                          const std::string& prompt2, std::string& value2) = 0;
    virtual bool inputMany(const std::string& caption, const std::vector<std::string>& prompts,
                           std::vector<std::string>& values) = 0;
    virtual bool askYesNo(const std::string& question) = 0;
    // Yes (1), no (0) or cancel (-1) under `caption`; hosts without a
    // cancel button answer as askYesNo.
    virtual int askYesNoCancel(const std::string& question, const std::string& /*caption*/)
    {
        return askYesNo(question) ? 1 : 0;
    }
    // A modal settings dialog built from `form`: true once the form accepted
    // the entries (form.apply gave 0), false on cancel. A refused entry shows
    // its message; the Qt host keeps the dialog open then. This fallback asks
    // once through inputMany.
    virtual bool runModalForm(DialogForm& form);
    // Radio choice among `items`; `index` comes in with the current choice.
    virtual bool chooseOne(const std::string& caption, const std::vector<std::string>& items, int& index) = 0;

    // File names: `filter` is "Description|*.ext". Empty result means cancelled.
    virtual std::string openFileName(const std::string& filter, const std::string& suggestion) = 0;
    virtual std::string saveFileName(const std::string& filter, const std::string& suggestion) = 0;

    // Ask for the window to be painted again (asynchronously).
    virtual void requestRepaint() = 0;
    // Show what has been drawn so far (used by "watch" during a sweep).
    virtual void showProgressImage() = 0;
    // Poll for an interrupt: returns 81 ('Q') to stop, another upper-cased key, or 0.
    virtual int pollInterrupt() = 0;

    virtual void playTone(int frequencyHz, int durationMs) = 0;
    virtual void setClipboardText(const std::string& text) = 0;

    // ---- Operations with a default, so a host overrides only what it has.

    // A canvas drawing on `target` (one of the model's images: the composite
    // for overlays, the figure for tools that draw it with primitives) with
    // the model's view and palette. It is used and destroyed before the
    // model returns. The default is a toolkit-free RasterCanvas (no text);
    // the Qt host returns a QPainter canvas on the same buffer.
    virtual std::unique_ptr<Canvas> createCanvas(Image& target, const View& view, const Palette& palette);
    // Open a child tool window (zoom window) holding `model`, at `placement`.
    // The host attaches itself to the model, resizes it to the drawing area,
    // calls setUp() and shows it (its first paint renders it).
    // False when the host cannot (the model is dropped then).
    virtual bool openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement& placement);
    // The model started work on worker threads: from now on call the
    // model's tick() every few tens of milliseconds until it returns false.
    virtual void backgroundWorkStarted() {}
    // The model's parameter bar changed (shown, hidden, new letter, bounds
    // or value): read TVorlWin::parameterBar() again.
    virtual void parameterBarChanged() {}
    // Toggles changed: menu check marks should be read again (isChecked).
    virtual void menuChecksChanged() {}
    // Show a modeless dialog by name ("VIEWCEN", "VIEWCOR", "SETGRID");
    // false when the host has none, and the model falls back to inputMany.
    virtual bool showModelessDialog(const std::string& /*name*/) { return false; }
    // Show `text` in a text window titled `title` (tables); false when the
    // host has none.
    virtual bool showTextWindow(const std::string& /*title*/, const std::string& /*text*/) { return false; }
    // Call the model's idleTimeout() once `ms` milliseconds pass without a
    // key press; a new call restarts the wait, 0 cancels it.
    virtual void setIdleTimer(int /*ms*/) {}
    // Close the window as its title bar would (asking to save a changed
    // document first); after the command that asked for it has returned.
    virtual void closeWindow() {}
    // The window's placement on the screen now; false when the host has none.
    virtual bool windowPlacement(WindowPlacement& /*p*/) const { return false; }
    // Move and size the window to a placement a document asked for; a host
    // ignores one that does not fit its screen.
    virtual void placeWindow(const WindowPlacement& /*p*/) {}
    // A picture file read into `out`: 0 or the code (11 cannot open, 6 not a
    // picture, 20 too large). The default reads Windows bitmaps and PNG; the
    // Qt host reads every format its image readers know.
    virtual int readImageFile(const std::string& path, Image& out);
    // "Copy to clipboard": the picture as SVG (empty when the tool has no
    // vector drawing) and as pixels; false when the host has no clipboard.
    virtual bool setClipboardPicture(const std::string& /*svg*/, const Image& /*picture*/) { return false; }
    // The printer dialog (or the print preview) for the window's picture,
    // drawn with TVorlWin::drawPage; false when the host cannot print.
    virtual bool printPicture(bool /*preview*/) { return false; }
    // The picture on the clipboard; false when there is none.
    virtual bool clipboardImage(Image& /*out*/) { return false; }
    // The screen's logical pixels per inch (horizontal), for export scales.
    virtual double screenDpi() const { return 96; }
};

} // namespace qx
