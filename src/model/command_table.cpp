#include "model/command_table.h"

#include <algorithm>

namespace qx {

namespace {

MenuEntry* findIn(std::vector<MenuEntry>& entries, int id)
{
    for (auto& e : entries) {
        if (e.type == MenuEntry::Type::Command && e.id == id)
            return &e;
        if (e.type == MenuEntry::Type::Submenu)
            if (MenuEntry* hit = findIn(e.children, id))
                return hit;
    }
    return nullptr;
}

std::vector<MenuEntry>& submenu(std::vector<MenuEntry>& entries, const std::string& title)
{
    for (auto& e : entries)
        if (e.type == MenuEntry::Type::Submenu && e.text == title)
            return e.children;
    MenuEntry sub;
    sub.type = MenuEntry::Type::Submenu;
    sub.text = title;
    entries.push_back(std::move(sub));
    return entries.back().children;
}

void collect(const std::vector<MenuEntry>& entries, std::vector<const MenuEntry*>& out)
{
    for (const auto& e : entries) {
        if (e.type == MenuEntry::Type::Command)
            out.push_back(&e);
        else if (e.type == MenuEntry::Type::Submenu)
            collect(e.children, out);
    }
}

} // namespace

Menu& MenuBar::menu(const std::string& title)
{
    for (auto& m : menus_)
        if (m.title == title)
            return m;
    menus_.push_back(Menu{title, {}});
    return menus_.back();
}

void MenuBar::add(const CommandSpec& spec)
{
    for (auto& m : menus_)
        if (MenuEntry* e = findIn(m.entries, spec.id)) {
            e->text = spec.text;
            e->accelerator = spec.accelerator;
            return;
        }
    std::vector<MenuEntry>* entries = &menu(spec.menu).entries;
    if (spec.submenu && *spec.submenu)
        entries = &submenu(*entries, spec.submenu);
    if (spec.separatorBefore && !entries->empty()) {
        MenuEntry sep;
        sep.type = MenuEntry::Type::Separator;
        entries->push_back(sep);
    }
    MenuEntry e;
    e.id = spec.id;
    e.text = spec.text;
    e.accelerator = spec.accelerator ? spec.accelerator : "";
    e.kind = spec.kind;
    entries->push_back(std::move(e));
}

void MenuBar::addTable(std::span<const CommandSpec> table)
{
    for (const auto& spec : table)
        add(spec);
}

const MenuEntry* MenuBar::find(int id) const
{
    std::vector<const MenuEntry*> all;
    for (const auto& m : menus_)
        collect(m.entries, all);
    auto it = std::find_if(all.begin(), all.end(), [id](const MenuEntry* e) { return e->id == id; });
    return it == all.end() ? nullptr : *it;
}

std::vector<int> MenuBar::commandIds() const
{
    std::vector<const MenuEntry*> all;
    for (const auto& m : menus_)
        collect(m.entries, all);
    std::vector<int> ids;
    for (const auto* e : all)
        ids.push_back(e->id);
    return ids;
}

std::vector<std::pair<int, std::string>> MenuBar::accelerators() const
{
    std::vector<const MenuEntry*> all;
    for (const auto& m : menus_)
        collect(m.entries, all);
    std::vector<std::pair<int, std::string>> out;
    for (const auto* e : all)
        if (!e->accelerator.empty())
            out.emplace_back(e->id, e->accelerator);
    return out;
}

void CommandSet::add(const CommandSpec& spec, std::function<void()> run, std::function<bool()> checked)
{
    for (BoundCommand& c : commands_)
        if (c.spec.id == spec.id) {
            c.spec.text = spec.text;
            c.spec.accelerator = spec.accelerator;
            c.spec.kind = spec.kind;
            c.run = std::move(run);
            c.checked = std::move(checked);
            return;
        }
    commands_.push_back({spec, std::move(run), std::move(checked)});
}

void CommandSet::addMenu(const char* title)
{
    menuOrder_.push_back(title);
}

const BoundCommand* CommandSet::find(int id) const
{
    for (const BoundCommand& c : commands_)
        if (c.spec.id == id)
            return &c;
    return nullptr;
}

MenuBar CommandSet::menuBar() const
{
    MenuBar bar;
    for (const char* title : menuOrder_)
        bar.menu(title);
    for (const BoundCommand& c : commands_)
        bar.add(c.spec);
    return bar;
}

} // namespace qx
