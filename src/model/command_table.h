#pragma once
// Commands and menus as data. Each model class declares a static table of
// the commands it handles; buildMenus() collects the tables of the whole
// chain into a MenuBar, which the Qt layer turns into menus and shortcuts.
// Check marks are not stored here: the toolkit asks the model isChecked(id)
// whenever it shows a menu or after Host::menuChecksChanged().
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

// Top-level menu titles shared by the tools, in their usual order.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuBtns = "&Btns";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuMisc = "&Misc";
inline constexpr const char* kMenuHelp = "&Help";

} // namespace qx
