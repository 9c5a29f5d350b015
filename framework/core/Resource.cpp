#include "Resource.h"

#include <algorithm>

namespace {
const res::Tables* g_pTables = nullptr;
const res::Tables kNoTables{};
} // namespace

void AfxSetResources(const res::Tables* pTables) { g_pTables = pTables; }

namespace res {
namespace {

const Tables& ProgramTables() { return g_pTables ? *g_pTables : kNoTables; }

template <typename T, typename Match> const T* FindIf(const std::vector<T>& table, Match match)
{
    const auto it = std::find_if(table.begin(), table.end(), match);
    return it == table.end() ? nullptr : &*it;
}

template <typename T> const T* ById(const std::vector<T>& table, UINT id)
{
    return FindIf(table, [id](const T& e) { return e.id == id; });
}

} // namespace

const Menu* FindMenu(UINT id) { return ById(ProgramTables().menus, id); }
const AccelTable* FindAccelerators(UINT id) { return ById(ProgramTables().accelerators, id); }
const Toolbar* FindToolbar(UINT id) { return ById(ProgramTables().toolbars, id); }
const Dialog* FindDialog(UINT id) { return ById(ProgramTables().dialogs, id); }
const Binary* FindBitmap(UINT id, int scale)
{
    return FindIf(ProgramTables().bitmaps,
                  [id, scale](const Binary& b) { return b.id == id && b.scale == scale; });
}
const Binary* FindIcon(UINT id) { return ById(ProgramTables().icons, id); }
const std::vector<PictureFormat>& PictureFormats() { return ProgramTables().pictureFormats; }

const char* FindString(UINT id)
{
    const String* s = ById(ProgramTables().strings, id);
    return s ? s->text : nullptr;
}

std::string FormatString(UINT id, const std::string& arg1, const std::string& arg2)
{
    std::string text = LoadString(id);
    // The first argument's text is not searched for "%2".
    std::size_t second = text.find("%2");
    if (const std::size_t at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, arg1);
        if (second != std::string::npos && second > at)
            second += arg1.size() - 2;
    }
    if (second != std::string::npos)
        text.replace(second, 2, arg2);
    return text;
}

} // namespace res
