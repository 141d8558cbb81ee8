#pragma once
// A scripted Host for tests: dialogs answer from queues, everything the
// model shows is recorded. Header-only so any test program can use it.
#include "model/host.h"
#include "model/tvorlwin.h"
#include "graphics/recording_canvas.h"

#include <chrono>
#include <deque>
#include <optional>
#include <thread>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qx {

class FakeHost : public Host {
public:
    // ---- Scripts.
    std::deque<std::string> textAnswers;               // inputText; empty queue = cancel
    std::deque<std::vector<std::string>> manyAnswers;  // inputMany and inputTwo
    std::deque<bool> yesNoAnswers;
    std::deque<int> interruptKeys;                     // pollInterrupt answers, then 0
    std::deque<std::string> fileAnswers;               // openFileName and saveFileName; empty = cancel
    std::deque<int> choiceAnswers;                     // chooseOne; empty = cancel

    // ---- Records.
    std::string currentTitle;
    std::vector<std::string> titles;                   // every setTitle
    std::vector<std::pair<int, std::string>> errors;   // code, caption
    std::vector<std::pair<std::string, std::string>> messages; // text, caption
    std::vector<std::string> prompts;
    std::vector<std::vector<std::string>> fieldPrompts; // the fields of each inputMany
    std::vector<std::vector<std::string>> fieldValues;  // the texts each inputMany came in with
    int repaints = 0;
    int progressImages = 0;
    int backgroundStarts = 0;
    int checkRefreshes = 0;
    std::vector<std::unique_ptr<TVorlWin>> children;
    std::vector<WindowPlacement> childPlacements;
    bool recordCanvas = false;           // createCanvas gives RecordingCanvases ...
    std::vector<std::string> canvasLog;  // ... that write here
    int canvasesCreated = 0;
    std::vector<std::pair<std::string, std::string>> textWindows; // title, text
    std::vector<std::pair<int, int>> tones; // frequency, duration of each playTone
    int barChanges = 0;
    int idleTimerMs = 0;                 // the last setIdleTimer (0: none running)
    std::vector<std::string> fileFilters; // filter of each file dialog
    std::optional<WindowPlacement> placement;    // what windowPlacement answers (none: no placement)
    std::vector<WindowPlacement> placedAt;       // every placeWindow
    int closeRequests = 0;

    bool windowPlacement(WindowPlacement& p) const override
    {
        if (placement)
            p = *placement;
        return placement.has_value();
    }
    void placeWindow(const WindowPlacement& p) override { placedAt.push_back(p); }
    void closeWindow() override { ++closeRequests; }
    void setTitle(const std::string& t) override { currentTitle = t; titles.push_back(t); }
    std::string title() const override { return currentTitle; }
    void showError(int code, const std::string& caption = {}) override { errors.emplace_back(code, caption); }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.emplace_back(text, caption);
    }
    bool inputText(const std::string& prompt, std::string& value) override
    {
        prompts.push_back(prompt);
        if (textAnswers.empty())
            return false;
        value = textAnswers.front();
        textAnswers.pop_front();
        return true;
    }
    bool inputTwo(const std::string& p1, std::string& v1, const std::string& p2, std::string& v2) override
    {
        std::vector<std::string> v{v1, v2};
        if (!inputMany(p1 + "|" + p2, {p1, p2}, v))
            return false;
        v1 = v.at(0);
        v2 = v.at(1);
        return true;
    }
    bool inputMany(const std::string& caption, const std::vector<std::string>& fields,
                   std::vector<std::string>& values) override
    {
        prompts.push_back(caption);
        fieldPrompts.push_back(fields);
        fieldValues.push_back(values);
        if (manyAnswers.empty())
            return false;
        values = manyAnswers.front();
        manyAnswers.pop_front();
        return true;
    }
    bool askYesNo(const std::string& q) override
    {
        prompts.push_back(q);
        if (yesNoAnswers.empty())
            return false;
        const bool a = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return a;
    }
    bool chooseOne(const std::string& caption, const std::vector<std::string>&, int& index) override
    {
        prompts.push_back(caption);
        if (choiceAnswers.empty())
            return false;
        index = choiceAnswers.front();
        choiceAnswers.pop_front();
        return true;
    }
    std::string openFileName(const std::string& filter, const std::string&) override { return nextFile(filter); }
    std::string saveFileName(const std::string& filter, const std::string&) override { return nextFile(filter); }
    std::string nextFile(const std::string& filter)
    {
        fileFilters.push_back(filter);
        if (fileAnswers.empty())
            return {};
        std::string f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
    bool showTextWindow(const std::string& title, const std::string& text) override
    {
        textWindows.emplace_back(title, text);
        return true;
    }
    void setIdleTimer(int ms) override { idleTimerMs = ms; }
    void requestRepaint() override { ++repaints; }
    void showProgressImage() override { ++progressImages; }
    int pollInterrupt() override
    {
        if (interruptKeys.empty())
            return 0;
        const int k = interruptKeys.front();
        interruptKeys.pop_front();
        return k;
    }
    void playTone(int hz, int ms) override { tones.emplace_back(hz, ms); }
    void parameterBarChanged() override { ++barChanges; }
    void setClipboardText(const std::string&) override {}

    std::unique_ptr<Canvas> createCanvas(Image& target, const View& view, const Palette& palette) override
    {
        ++canvasesCreated;
        if (!recordCanvas)
            return Host::createCanvas(target, view, palette);
        return std::make_unique<RecordingCanvas>(view, palette, &canvasLog);
    }
    bool openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement& placement) override
    {
        model->attach(*this);
        children.push_back(std::move(model));
        childPlacements.push_back(placement);
        return true;
    }
    void backgroundWorkStarted() override { ++backgroundStarts; }
    void menuChecksChanged() override { ++checkRefreshes; }
};

// Run the paint path and tick a background render to its end, as the host's
// timer would. Returns the number of ticks.
inline int paintAndFinish(TVorlWin& model)
{
    model.paint();
    int ticks = 0;
    while (model.tick()) {
        ++ticks;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return ticks;
}

// Run an export command and wait for its background page loop to end, as
// the host's timer would; the report comes as with the real host.
inline void exportAndFinish(TKVAWing& model, int command)
{
    model.handleCommand(command);
    model.finishExport();
}

} // namespace qx
