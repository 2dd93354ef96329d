// Menus loaded from resources, destroyed with their owning object.
#pragma once

#include "framework/owned_handle.h"
#include "framework/win32.h"
#include "framework/wnd.h"

#include <memory>
#include <vector>

class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT nIDResource);
    // The pop-up at nPos, owned by this menu; null when there is none.
    CMenu* GetSubMenu(int nPos);
    // Shows the menu at (x, y) in screen coordinates; the chosen command is
    // sent to pWnd as WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    BOOL DestroyMenu();

    HMENU m_hMenu = nullptr;

private:
    // The menu when this object loaded it; a pop-up's belongs to its menu.
    COwnedHandle<HMENU, ::DestroyMenu> m_loaded;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
};
