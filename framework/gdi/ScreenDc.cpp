// The screen's device contexts, for GetDC(nullptr) and ReleaseDC.
#include "Gdi.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<CDC>>& ScreenContexts()
{
    static std::vector<std::unique_ptr<CDC>> contexts;
    return contexts;
}

} // namespace

HDC GetDC(HWND hWnd)
{
    if (hWnd)
        return nullptr;
    ScreenContexts().push_back(std::make_unique<CDC>());
    return ScreenContexts().back().get();
}

int ReleaseDC(HWND hWnd, HDC hDC)
{
    auto& contexts = ScreenContexts();
    const auto it = std::find_if(contexts.begin(), contexts.end(),
                                 [hDC](const auto& dc) { return dc.get() == hDC; });
    if (hWnd || it == contexts.end())
        return 0;
    contexts.erase(it);
    return 1;
}
