#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra)
{
    const bool update = action == CmdAction::Update;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries;
             e->pfn || e->pfnRange || e->pfnUI || e->pfnNotify; ++e) {
            const bool runs = e->pfn || e->pfnRange || e->pfnNotify;
            if (nID < e->nID || nID > e->nLastID || (update ? !e->pfnUI : !runs))
                continue;
            if (update && extra.pCmdUI)
                (this->*(e->pfnUI))(extra.pCmdUI);
            else if (action == CmdAction::Execute && e->pfn)
                (this->*(e->pfn))();
            else if (action == CmdAction::Execute && e->pfnRange)
                (this->*(e->pfnRange))(nID);
            else if (action == CmdAction::Execute)
                (this->*(e->pfnNotify))(extra.pNotify ? *extra.pNotify : CCmdNotify{});
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
    Enable(pTarget->OnCmdMsg(m_nID, CmdAction::Query, {}));
    pTarget->OnCmdMsg(m_nID, CmdAction::Update, {.pCmdUI = this});
}
