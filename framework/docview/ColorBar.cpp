#include "ColorBar.h"

#include "Frame.h"
#include "detail/ColorBarWidget.h"

#include "framework/core/Resource.h"

#include <QToolBar>

namespace {

// The pair's half while the update handlers of its commands run.
class PairCmdUI : public CCmdUI {
public:
    explicit PairCmdUI(COLORREF& cr) : m_cr(cr) {}
    void SetColor(COLORREF cr) override { m_cr = cr; }

private:
    COLORREF& m_cr;
};

} // namespace

BOOL CColorBar::Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID, const CColorBarIds& ids,
                       std::vector<COLORREF> palette)
{
    m_ids = ids;
    if (!CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(), nID))
        return FALSE;
    auto* bar = static_cast<QToolBar*>(Widget());
    bar->setWindowTitle(QString::fromUtf8(res::LoadString(ids.nIDTitle)));
    m_pSwatches = new ColorBarWidget(
        std::move(palette), [this](std::size_t index, bool bFill) { Pick(index, bFill); },
        [this](bool bFill) { OpenColor(bFill); }, bar);
    m_pSwatches->SetTips(QString::fromUtf8(res::LoadString(ids.nIDSwatchTip)),
                         QString::fromUtf8(res::LoadString(ids.nIDNoneTip)),
                         QString::fromUtf8(res::LoadString(ids.nIDPairTip)));
    bar->addWidget(m_pSwatches);
    QObject::connect(bar, &QToolBar::orientationChanged, m_pSwatches,
                     [this](Qt::Orientation o) { m_pSwatches->SetVertical(o == Qt::Vertical); });
    return TRUE;
}

void CColorBar::OnUpdateCmdUI(CFrameWnd* pTarget)
{
    if (!m_pSwatches)
        return;
    COLORREF line = 0, fill = 0;
    PairCmdUI lineUI(line), fillUI(fill);
    lineUI.m_nID = m_ids.nIDLine;
    fillUI.m_nID = m_ids.nIDFill;
    lineUI.DoUpdate(pTarget);
    fillUI.DoUpdate(pTarget);
    m_pSwatches->SetPair(line, fill);
}

void CColorBar::Pick(std::size_t index, bool bFill)
{
    m_crPicked = m_pSwatches->SwatchColor(index);
    m_pFrame->OnCmdMsg(bFill ? m_ids.nIDPickFill : m_ids.nIDPickLine, CmdAction::Execute, nullptr);
    m_pFrame->UpdateCommandStates();
}

void CColorBar::OpenColor(bool bFill)
{
    m_pFrame->OnCmdMsg(bFill ? m_ids.nIDFill : m_ids.nIDLine, CmdAction::Execute, nullptr);
    m_pFrame->UpdateCommandStates();
}
