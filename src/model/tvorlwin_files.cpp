// Documents and settings files of every tool window: the common header (with
// the live window placement), the tool's own body through its hooks, atomic
// saves, the changed flag, Open/Save/Save As and the start-up path.
#include "model/tvorlwin.h"

#include "base/file_io.h"
#include "model/special_colours.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 4> kDocumentCommands{{
    {CmdOpen, "&Open ...", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdSave, "&Save", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdSaveAs, "Save &as ...", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdClose, "&Close", "", CommandKind::Plain, kMenuFile, "", true},
}};

constexpr int32_t kBaseCount = 10; // int array 1, entry 1

// A name the window made up ("noname1.man", "jchild2.jul") has no folder.
bool hasFileName(const std::string& name) { return name.find('/') != std::string::npos; }

bool validSpecialSlots(const std::array<int16_t, 15>& slots)
{
    for (int s = kFirstSpecialSlot; s <= kLastSpecialSlot; ++s)
        if (slots[static_cast<size_t>(s)] < 0 || slots[static_cast<size_t>(s)] >= kPaletteSize)
            return false;
    return true;
}

} // namespace


std::string TVorlWin::settingsFileName() const
{
    const ToolFiles f = toolFiles();
    return f.settingsStem + (zoomChild_ ? "z" : "") + ".ini";
}

// ---- Documents.

int TVorlWin::readDocument(const std::string& path)
{
    const ToolFiles files = toolFiles();
    if (files.kind == 0)
        return ErrNothingToDo;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, kMaxDocumentFileBytes))
        return kErrCannotOpen;
    ByteReader r(bytes);
    CommonHeader h = fileHeader_;
    if (const int e = readCommonHeader(r, files.kind, h))
        return e;
    if (h.version <= 0 || h.version > kFileVersion)
        return kErrCannotOpen;
    if (!validSpecialSlots(h.specialSlots))
        return kErrInconsistent;
    if (const int e = decodeDocumentBody(r, h))
        return e;
    for (int s = kFirstSpecialSlot; s <= kLastSpecialSlot; ++s)
        special_.set(s, h.specialSlots[static_cast<size_t>(s)]);
    if (h.paletteTaken)
        palette_ = h.palette;
    h.version = kFileVersion;
    fileHeader_ = h;
    setDocumentName(path);
    lastDocument_ = path;
    setDocumentChanged(false);
    figureValid_ = false;
    compositeValid_ = false;
    documentRead();
    return 0;
}

CommonHeader TVorlWin::documentHeader() const
{
    CommonHeader h = fileHeader_;
    h.kind = toolFiles().kind;
    h.version = kFileVersion;
    h.extraGroups = 0;
    if (attached())
        host().windowPlacement(h.placement); // the live placement, when the host has one
    for (int s = 0; s < 15; ++s)
        h.specialSlots[static_cast<size_t>(s)] = special_.get(s);
    h.palette = palette_;
    return h;
}

OverlayState TVorlWin::overlayState() const
{
    return {grid_, labels_, marks_, markAttr_};
}

void TVorlWin::applyOverlayState(const OverlayState& s)
{
    grid_ = s.grid;
    labels_ = s.labels;
    marks_ = s.marks;
    markAttr_ = s.markAttributes;
    overlaysChanged();
}

int TVorlWin::writeDocument(const std::string& path)
{
    if (toolFiles().kind == 0)
        return ErrNothingToDo;
    const CommonHeader h = documentHeader();
    ByteWriter w;
    writeCommonHeader(w, h);
    encodeDocumentBody(w);
    if (!writeFileAtomically(path, w.take()))
        return ErrCannotSaveFile;
    fileHeader_ = h;
    setDocumentName(path);
    lastDocument_ = path;
    setDocumentChanged(false);
    return 0;
}

bool TVorlWin::offerToSave()
{
    if (!documentChanged() || toolFiles().kind == 0)
        return true;
    const int answer = host().askYesNoCancel("save changes to " + documentName(), "careful!");
    if (answer < 0)
        return false;
    return answer == 0 || saveCommand();
}

void TVorlWin::openCommand()
{
    if (!offerToSave())
        return;
    const std::string name = host().openFileName(toolFiles().filter, documentName());
    if (name.empty())
        return;
    if (const int e = readDocument(name)) {
        host().showError(e);
        restoreTitle();
        return;
    }
    restoreTitle();
    host().placeWindow(fileHeader_.placement);
    host().menuChecksChanged();
    draw();
}

bool TVorlWin::saveCommand()
{
    if (!hasFileName(documentName()))
        return saveAsCommand();
    if (const int e = writeDocument(documentName())) {
        host().showError(e);
        return false;
    }
    return true;
}

bool TVorlWin::saveAsCommand()
{
    const std::string name = host().saveFileName(toolFiles().filter, documentName());
    if (name.empty())
        return false;
    if (const int e = writeDocument(name)) {
        host().showError(e);
        return false;
    }
    restoreTitle();
    return true;
}

void TVorlWin::declareDocumentCommands(CommandSet& set)
{
    set.add(kDocumentCommands[0], [this] { openCommand(); });
    set.add(kDocumentCommands[1], [this] { saveCommand(); });
    set.add(kDocumentCommands[2], [this] { saveAsCommand(); });
    set.add(kDocumentCommands[3], [this] { host().closeWindow(); });
}

// ---- Start-up and close.

bool TVorlWin::openInitialDocument(const std::string& handedOver)
{
    if (!handedOver.empty() && readDocument(handedOver) == 0)
        return true;
    return reopenLast_ && !lastDocument_.empty() && readDocument(lastDocument_) == 0;
}

void TVorlWin::loadStartupFiles(bool reopenLast, const std::string& document)
{
    readSettingsFile();
    reopenLast_ = reopenLast;
    openInitialDocument(document);
}

bool TVorlWin::storedPlacement(WindowPlacement& p) const
{
    p = fileHeader_.placement;
    return p.width > 0 && p.height > 0;
}

void TVorlWin::saveSettingsOnClose(const WindowPlacement& placement)
{
    fileHeader_.placement = placement;
    writeSettingsFile();
}

// ---- Settings files.

SettingsFile TVorlWin::captureSettings() const
{
    SettingsFile s;
    s.header = fileHeader_;
    s.header.kind = toolFiles().kind;
    for (int i = 0; i < 15; ++i)
        s.header.specialSlots[static_cast<size_t>(i)] = special_.get(i);
    s.header.palette = palette_;
    s.group1 = settingsGroup1_;
    s.group2 = settingsGroup2_;
    s.group1.ints[0][1] = kBaseCount;
    s.lastDocument = lastDocument_;
    captureToolSettings(s);
    return s;
}

void TVorlWin::applySettingsFile(const SettingsFile& s)
{
    fileHeader_ = s.header;
    settingsGroup1_ = s.group1;
    settingsGroup2_ = s.group2;
    lastDocument_ = s.lastDocument;
    if (s.header.paletteTaken)
        palette_ = s.header.palette;
    for (int i = kFirstSpecialSlot; i <= kLastSpecialSlot; ++i) {
        const int16_t v = s.header.specialSlots[static_cast<size_t>(i)];
        if (v >= 0 && v < kPaletteSize)
            special_.set(i, v);
    }
    applyToolSettings(s);
}

int TVorlWin::readSettingsFrom(const std::string& path)
{
    const int32_t kind = toolFiles().kind;
    if (kind == 0)
        return ErrNothingToDo;
    SettingsFile s = captureSettings();
    const int e = qx::readSettingsFile(path, kind, s);
    // A file cut short is read as far as it goes; another kind is ignored.
    if (e == 0 || e == kErrBadIni)
        applySettingsFile(s);
    return e;
}

bool TVorlWin::writeSettingsTo(const std::string& path) const
{
    return toolFiles().kind != 0 && qx::writeSettingsFile(path, captureSettings());
}

void TVorlWin::readSettingsFile()
{
    if (readSettings_ && toolFiles().kind != 0)
        readSettingsFrom(settingsPath(settingsFileName()));
}

void TVorlWin::writeSettingsFile() const
{
    if (writeSettings_ && toolFiles().kind != 0)
        writeSettingsTo(settingsPath(settingsFileName()));
}

} // namespace qx
