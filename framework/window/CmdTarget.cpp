#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, CmdAction action, CCmdUI* pCmdUI)
{
    const bool update = action == CmdAction::Update;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn || e->pfnRange || e->pfnUI; ++e) {
            if (nID < e->nID || nID > e->nLastID || (update ? !e->pfnUI : !e->pfn && !e->pfnRange))
                continue;
            if (update && pCmdUI)
                (this->*(e->pfnUI))(pCmdUI);
            else if (action == CmdAction::Execute && e->pfn)
                (this->*(e->pfn))();
            else if (action == CmdAction::Execute)
                (this->*(e->pfnRange))(nID);
            return TRUE;
        }
    }
    return FALSE;
}

void CCmdUI::Enable(BOOL) {}
void CCmdUI::SetCheck(int) {}
void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }
void CCmdUI::SetText(const char*) {}
void CCmdUI::SetColor(COLORREF) {}

void CCmdUI::DoUpdate(CCmdTarget* pTarget)
{
    Enable(pTarget->OnCmdMsg(m_nID, CmdAction::Query, nullptr));
    pTarget->OnCmdMsg(m_nID, CmdAction::Update, this);
}
