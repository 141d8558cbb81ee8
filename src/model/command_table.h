#pragma once
// Commands and menus as data. Each level of a window chain declares its
// commands once in a CommandSet: the menu entry, what the command does and,
// for Toggle and Radio commands, whether it is checked now. The set gives
// the MenuBar, which the Qt layer turns into menus and shortcuts; the
// toolkit asks for check marks whenever it shows a menu or after
// Host::menuChecksChanged().
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qx {

enum class CommandKind : unsigned char {
    Plain,   // runs handleCommand(id)
    Toggle,  // checkable; isChecked(id) gives the state
    Radio,   // one of a group (same menu, adjacent); isChecked(id) gives the state
};

// One command: id, menu text ('&' marks the mnemonic), accelerator in
// portable text ("F9", "Ctrl+D", "Shift+F2", "Del"; empty for none), kind,
// top-level menu title and optional submenu title (empty: directly in the
// menu). `separatorBefore` puts a separator line above the item.
struct CommandSpec {
    int id;
    const char* text;
    const char* accelerator;
    CommandKind kind;
    const char* menu;
    const char* submenu;
    bool separatorBefore = false;
};

struct MenuEntry {
    enum class Type : unsigned char { Command, Separator, Submenu };
    Type type = Type::Command;
    int id = 0; // Command only
    std::string text;
    std::string accelerator;
    CommandKind kind = CommandKind::Plain;
    std::vector<MenuEntry> children; // Submenu only
};

struct Menu {
    std::string title;
    std::vector<MenuEntry> entries;
};

class MenuBar {
public:
    // Add one command (creating its menu and submenu at first use, in order).
    // A second command with an id already present replaces the text and
    // accelerator of the first, so a tool can rename a base command.
    void add(const CommandSpec& spec);
    void addTable(std::span<const CommandSpec> table);
    // Make sure a top-level menu exists, so tools can fix the menu order.
    Menu& menu(const std::string& title);

    const std::vector<Menu>& menus() const { return menus_; }
    const MenuEntry* find(int id) const;
    std::vector<int> commandIds() const;
    // All (id, accelerator) pairs with an accelerator.
    std::vector<std::pair<int, std::string>> accelerators() const;

private:
    std::vector<Menu> menus_;
};

// A command bound to the window that runs it.
struct BoundCommand {
    CommandSpec spec;
    std::function<void()> run;
    std::function<bool()> checked; // Toggle and Radio commands; empty: never checked
};

// The commands of one window, declared level by level (base first).
class CommandSet {
public:
    // Adding an id that is already present replaces its text, accelerator,
    // kind, action and check state but keeps its place in the menus, so a
    // tool can rename or redefine a command of its base.
    void add(const CommandSpec& spec, std::function<void()> run, std::function<bool()> checked = {});
    // Make sure a top-level menu exists before any command lands in it, so a
    // level can fix the order of the menus.
    void addMenu(const char* title);
    const BoundCommand* find(int id) const;
    MenuBar menuBar() const;

private:
    std::vector<const char*> menuOrder_;
    std::vector<BoundCommand> commands_;
};

// Top-level menu titles shared by the tools, in their usual order.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuBtns = "&Btns";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuMisc = "&Misc";
inline constexpr const char* kMenuHelp = "&Help";

} // namespace qx
