#include "Resource.h"

#include <algorithm>

namespace res {
namespace {

template <typename T> const T* ById(const std::vector<T>& table, UINT id)
{
    const auto it =
        std::find_if(table.begin(), table.end(), [id](const T& e) { return e.id == id; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace

const Menu* FindMenu(UINT id) { return ById(ProgramTables().menus, id); }
const AccelTable* FindAccelerators(UINT id) { return ById(ProgramTables().accelerators, id); }
const Toolbar* FindToolbar(UINT id) { return ById(ProgramTables().toolbars, id); }
const Dialog* FindDialog(UINT id) { return ById(ProgramTables().dialogs, id); }
const Binary* FindBitmap(UINT id) { return ById(ProgramTables().bitmaps, id); }
const Binary* FindIcon(UINT id) { return ById(ProgramTables().icons, id); }

const char* FindString(UINT id)
{
    const String* s = ById(ProgramTables().strings, id);
    return s ? s->text : nullptr;
}

} // namespace res
