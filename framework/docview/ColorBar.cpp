#include "ColorBar.h"

#include "Frame.h"
#include "detail/ColorBarWidget.h"

#include "framework/core/Resource.h"

#include <QToolBar>

namespace {

// A square of the pair while the update handler of its command runs.
class PairCmdUI : public CCmdUI {
public:
    explicit PairCmdUI(COLORREF& cr) : m_cr(cr) {}
    void SetColor(COLORREF cr) override { m_cr = cr; }

private:
    COLORREF& m_cr;
};

} // namespace

BOOL CColorBar::Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID, const CColorBarIds& ids,
                       std::vector<COLORREF> swatches)
{
    m_ids = ids;
    if (!CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(), nID))
        return FALSE;
    auto* bar = static_cast<QToolBar*>(Widget());
    bar->setWindowTitle(QString::fromUtf8(res::LoadString(ids.nIDTitle)));
    m_pSwatches = new ColorBarWidget(
        std::move(swatches), [this](const CCmdNotify& notify) { Run(m_ids.nIDSwatch, &notify); },
        [this](std::size_t square) { Run(m_ids.nIDPair[square], nullptr); }, bar);
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
    COLORREF shown[2] = {0, 0};
    for (std::size_t square = 0; square < 2; ++square) {
        PairCmdUI ui(shown[square]);
        ui.m_nID = m_ids.nIDPair[square];
        ui.DoUpdate(pTarget);
    }
    m_pSwatches->SetPair(shown[0], shown[1]);
}

void CColorBar::Run(UINT nID, const CCmdNotify* pNotify)
{
    m_pFrame->OnCmdMsg(nID, CmdAction::Execute, {.pNotify = pNotify});
    m_pFrame->UpdateCommandStates();
}
