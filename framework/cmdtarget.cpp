// Command table lookup.
#include "framework/cmdtarget.h"

#include <utility>

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void* pHandlerInfo)
{
    if (nCode != CN_COMMAND)
        return FALSE;
    const auto entry = m_commands.find(nID);
    if (entry == m_commands.end())
        return FALSE;
    if (pHandlerInfo == nullptr)
        entry->second();
    return TRUE;
}

void CCmdTarget::AddCommand(UINT nID, std::function<void()> handler)
{
    m_commands[nID] = std::move(handler);
}
