// Menu loading, pop-ups and tracking.
#include "framework/menu.h"

#include "framework/modal.h"

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    DestroyMenu();
    m_loaded.Reset(::LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nIDResource)));
    m_hMenu = m_loaded.Get();
    return m_hMenu != nullptr ? TRUE : FALSE;
}

CMenu* CMenu::GetSubMenu(int nPos)
{
    if (m_hMenu == nullptr)
        return nullptr;
    HMENU popup = ::GetSubMenu(m_hMenu, nPos);
    if (popup == nullptr)
        return nullptr;
    // The pop-up belongs to this menu and is destroyed with it.
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = popup;
    m_subMenus.push_back(std::move(wrapper));
    return m_subMenus.back().get();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    if (m_hMenu == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    // One menu at a time, as Windows has it: a second one opened from
    // inside the first one's loop would be left on screen when the first
    // one's loop ends, and a close would wait for it.
    if (modal::MenuRunning())
        return FALSE;
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->m_hWnd, lpRect);
}

BOOL CMenu::DestroyMenu()
{
    m_subMenus.clear();
    m_hMenu = nullptr;
    return m_loaded.Reset() ? TRUE : FALSE;
}
