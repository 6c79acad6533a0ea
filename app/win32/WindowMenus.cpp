#include "app/win32/WindowMenus.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace dotvane {
namespace {

using Items = std::initializer_list<std::pair<UINT, const char*>>;

HMENU PopupOf(Items items)
{
    const HMENU menu = ::CreatePopupMenu();
    for (const auto& [id, caption] : items) ::AppendMenuA(menu, MF_STRING, id, caption);
    return menu;
}

HMENU MenuBar()
{
    const HMENU bar = ::CreateMenu();
    const auto add = [bar](const char* caption, Items items) {
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(PopupOf(items)), caption);
    };
    add("File", {{kReload, "Reload\tCtrl+R"}, {kExit, "Exit"}});
    add("Screen", {{kNext, "Next\tCtrl+X"},
                   {kPrevious, "Previous\tCtrl+Z"},
                   {kPause, "Pause\tCtrl+P"},
                   {kEnabledOnly, "Enabled only"}});
    add("Help", {{kHelpWeb, "Help (web)"}, {kWebsite, "Dotvane Home Page"}});
    return bar;
}

HACCEL Shortcuts()
{
    std::array<ACCEL, 4> keys{{{FCONTROL | FVIRTKEY, 'R', kReload},
                               {FCONTROL | FVIRTKEY, 'X', kNext},
                               {FCONTROL | FVIRTKEY, 'Z', kPrevious},
                               {FCONTROL | FVIRTKEY, 'P', kPause}}};
    return ::CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

UINT Tick(bool ticked) { return MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED); }

}  // namespace

WindowMenus::WindowMenus()
    : bar_(MenuBar()),
      popup_(PopupOf({{kPopupNext, "Next"},
                      {kPopupPrevious, "Previous"},
                      {kPopupPause, "Pause"},
                      {kPopupShow, "Show"},
                      {kPopupMinimize, "Minimize"},
                      {kPopupExit, "Exit"}})),
      accelerators_(Shortcuts())
{
}

WindowMenus::~WindowMenus()
{
    ::DestroyAcceleratorTable(accelerators_);
    ::DestroyMenu(popup_);
    // A menu bar that no window took (or that outlived its window's
    // destruction) is destroyed here.
    if (::IsMenu(bar_)) ::DestroyMenu(bar_);
}

void WindowMenus::SetPauseTick(bool ticked)
{
    ::CheckMenuItem(bar_, kPause, Tick(ticked));
    ::CheckMenuItem(popup_, kPopupPause, Tick(ticked));
}

void WindowMenus::SetEnabledOnlyTick(bool ticked) { ::CheckMenuItem(bar_, kEnabledOnly, Tick(ticked)); }

}  // namespace dotvane
