// The resource tables: menu, accelerators, toolbar, strings and the About template.
#include "res/Tables.h"
#include "res/resource.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using res::MenuKind;
using res::MenuNode;

const res::Menu& MainMenu() { return *res::FindMenu(IDR_MAINFRAME); }
const res::Toolbar& MainToolbar() { return *res::FindToolbar(IDR_MAINFRAME); }
const std::vector<res::Accel>& Accelerators()
{
    return res::FindAccelerators(IDR_MAINFRAME)->entries;
}

// Every command item of the menu, in menu order.
std::vector<const MenuNode*> MenuItems()
{
    std::vector<const MenuNode*> items;
    for (const MenuNode& popup : MainMenu().popups)
        for (const MenuNode& node : popup.children)
            if (node.kind == MenuKind::Item)
                items.push_back(&node);
    return items;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts{""};
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::optional<UINT> CommandForKey(BYTE fVirt, WORD key)
{
    for (const res::Accel& a : Accelerators())
        if (a.fVirt == fVirt && a.key == key)
            return a.cmd;
    return std::nullopt;
}

// A menu's key text such as "Ctrl+N" as accelerator flags and virtual key.
std::pair<BYTE, WORD> ParseKeyText(const std::string& keys)
{
    BYTE fVirt = res::FVIRTKEY;
    WORD key = 0;
    // "Ctrl++": the plus key after the last separator.
    const bool plus = keys.ends_with("++");
    if (plus)
        key = VK_ADD;
    for (const std::string& part : Split(plus ? keys.substr(0, keys.size() - 2) : keys, '+')) {
        if (part == "Ctrl")
            fVirt |= res::FCONTROL;
        else if (part == "Shift")
            fVirt |= res::FSHIFT;
        else if (part == "Alt")
            fVirt |= res::FALT;
        else if (part == "Del")
            key = VK_DELETE;
        else if (part == "[")
            key = VK_OEM_4;
        else if (part == "]")
            key = VK_OEM_6;
        else if (part == "-")
            key = VK_OEM_MINUS;
        else if (part.size() == 1)
            key = WORD(part[0]);
    }
    return {fVirt, key};
}

// Adds the label's mnemonic letter, if it has one, to `seen`; false if it was there already.
bool NewMnemonic(const std::string& label, std::set<char>& seen)
{
    const auto amp = label.find('&');
    return amp == std::string::npos || seen.insert(label[amp + 1]).second;
}

TEST(MainMenu, ItemsAreUniqueAndMnemonicsDistinctPerLevel)
{
    ASSERT_EQ(MainMenu().popups.size(), 5u);
    std::set<UINT> ids;
    std::set<char> bar;
    for (const MenuNode& popup : MainMenu().popups) {
        ASSERT_EQ(popup.kind, MenuKind::Popup);
        EXPECT_TRUE(NewMnemonic(popup.text, bar)) << popup.text;
        std::set<char> inside;
        for (const MenuNode& node : popup.children) {
            EXPECT_NE(node.kind, MenuKind::Popup) << node.text;
            EXPECT_TRUE(NewMnemonic(node.text, inside)) << node.text;
            EXPECT_TRUE(node.kind != MenuKind::Item || ids.insert(node.id).second) << node.text;
        }
    }
}

TEST(MainMenu, KeyTextsNameAcceleratorsOfTheSameCommand)
{
    int withKeys = 0;
    for (const MenuNode* item : MenuItems()) {
        const auto parts = Split(item->text, '\t');
        if (parts.size() < 2)
            continue;
        ++withKeys;
        const auto [fVirt, key] = ParseKeyText(parts[1]);
        EXPECT_EQ(CommandForKey(fVirt, key), item->id) << item->text;
    }
    EXPECT_EQ(withKeys, 25);
}

TEST(MainMenu, RecentFilePlaceholderIsTheOneGrayedItemBetweenSeparators)
{
    int grayed = 0;
    for (const MenuNode& popup : MainMenu().popups)
        for (std::size_t i = 0; i < popup.children.size(); ++i) {
            if (!popup.children[i].grayed)
                continue;
            ++grayed;
            EXPECT_STREQ(popup.children[i].text, "최근 파일");
            EXPECT_EQ(popup.children[i].id, ID_FILE_MRU_FILE1);
            ASSERT_TRUE(i > 0 && i + 1 < popup.children.size());
            EXPECT_EQ(popup.children[i - 1].kind, MenuKind::Separator);
            EXPECT_EQ(popup.children[i + 1].kind, MenuKind::Separator);
        }
    EXPECT_EQ(grayed, 1);
}

TEST(MainMenu, ThicknessItemsCoverTheWidthIdsWithFiveToSevenReversed)
{
    const MenuNode& thickness = MainMenu().popups.back();
    EXPECT_STREQ(thickness.text, "굵기");
    ASSERT_EQ(thickness.children.size(), 10u);
    EXPECT_EQ(thickness.children[7].kind, MenuKind::Separator);
    EXPECT_EQ(thickness.children[8].id, ID_WIDTH_THINNER);
    EXPECT_EQ(thickness.children[9].id, ID_WIDTH_THICKER);
    std::set<UINT> ids;
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(thickness.children[i].text, std::to_string(i + 1));
        ids.insert(thickness.children[i].id);
    }
    EXPECT_EQ(ids, (std::set<UINT>{32782, 32783, 32784, 32785, 32786, 32787, 32788}));
    EXPECT_EQ(thickness.children[4].id, 32788u); // "5"
    EXPECT_EQ(thickness.children[6].id, 32786u); // "7"
}

TEST(Accelerators, DistinctVirtualKeysWithTheClassicAlternatives)
{
    using namespace res;
    ASSERT_EQ(Accelerators().size(), 33u);
    std::set<std::pair<BYTE, WORD>> keys;
    for (const Accel& a : Accelerators()) {
        EXPECT_TRUE(a.fVirt & FVIRTKEY);
        EXPECT_TRUE(keys.insert({a.fVirt, a.key}).second) << a.key;
    }
    EXPECT_EQ(Accelerators().front().cmd, ID_FILE_NEW);
    EXPECT_EQ(Accelerators().back().cmd, ID_PREV_PANE);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FALT, VK_BACK), ID_EDIT_UNDO);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FSHIFT, VK_DELETE), ID_EDIT_CUT);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FCONTROL, VK_INSERT), ID_EDIT_COPY);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FSHIFT, VK_INSERT), ID_EDIT_PASTE);
    EXPECT_EQ(CommandForKey(FVIRTKEY, VK_F6), ID_NEXT_PANE);
    EXPECT_EQ(CommandForKey(FVIRTKEY, VK_OEM_4), ID_WIDTH_THINNER);
    EXPECT_EQ(CommandForKey(FVIRTKEY, VK_OEM_6), ID_WIDTH_THICKER);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FSHIFT, VK_F6), ID_PREV_PANE);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FCONTROL, 'Y'), ID_EDIT_REDO);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FCONTROL | FSHIFT, 'Z'), ID_EDIT_REDO);
    EXPECT_EQ(CommandForKey(FVIRTKEY, VK_DELETE), ID_EDIT_CLEAR);
    EXPECT_EQ(CommandForKey(FVIRTKEY | FCONTROL, VK_OEM_PLUS), ID_VIEW_ZOOM_IN);
}

TEST(Toolbar, ButtonsAreMenuOrDrawingCommandsBetweenSingleSeparators)
{
    const auto& items = MainToolbar().items;
    EXPECT_EQ(MainToolbar().buttonWidth, 16);
    EXPECT_EQ(MainToolbar().buttonHeight, 15);
    ASSERT_EQ(items.size(), 21u);
    EXPECT_EQ(std::count(items.begin(), items.end(), ID_SEPARATOR), 4);
    EXPECT_NE(items.front(), ID_SEPARATOR);
    EXPECT_NE(items.back(), ID_SEPARATOR);

    const auto menu = MenuItems();
    std::set<UINT> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == ID_SEPARATOR) {
            EXPECT_NE(items[i - 1], ID_SEPARATOR);
            continue;
        }
        EXPECT_TRUE(seen.insert(items[i]).second) << items[i];
        const bool inMenu = std::any_of(menu.begin(), menu.end(),
                                        [&](const MenuNode* n) { return n->id == items[i]; });
        EXPECT_TRUE(inMenu || (items[i] >= ID_DRAW_LINE && items[i] <= ID_ERASER)) << items[i];
    }
    for (UINT id = ID_DRAW_LINE; id <= ID_ERASER; ++id)
        EXPECT_TRUE(seen.count(id)) << id;
    // The About button runs straight into the drawing tools.
    EXPECT_EQ(*(std::find(items.begin(), items.end(), ID_APP_ABOUT) + 1), ID_DRAW_LINE);
}

// The thickness bar holds the Thickness menu's widths in their order.
TEST(Toolbar, ThicknessBarHoldsTheWidthsOneToSeven)
{
    const res::Toolbar* bar = res::FindToolbar(IDR_THICKNESS);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->items, (std::vector<UINT>{ID_WIDTH_1, ID_WIDTH_2, ID_WIDTH_3, ID_WIDTH_4,
                                             ID_WIDTH_5, ID_WIDTH_6, ID_WIDTH_7}));
    EXPECT_STREQ(res::FindString(IDS_THICKNESS_BAR), "굵기 상자");
}

TEST(Strings, IdsAreUniqueTextsValidUtf8AndPromptsSplitOnce)
{
    std::set<UINT> ids;
    for (const res::String& s : res::ProgramTables().strings) {
        EXPECT_TRUE(ids.insert(s.id).second) << s.id;
        ASSERT_NE(s.text, nullptr);
        EXPECT_EQ(QString::fromUtf8(s.text).toStdString(), s.text) << s.id;
        if (s.id == IDR_MAINFRAME)
            continue;
        const auto parts = Split(s.text, '\n');
        ASSERT_LE(parts.size(), 2u) << s.id;
        for (const std::string& part : parts)
            EXPECT_FALSE(part.empty()) << s.id;
    }
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id)
        EXPECT_STREQ(res::FindString(id), "이 문서를 엽니다") << id;
    EXPECT_STREQ(res::FindString(ID_FILE_NEW), "새 문서를 작성합니다\n새 파일");
    EXPECT_EQ(res::FindString(12345), nullptr);
}

TEST(Strings, EveryMenuItemHasAPromptAndEveryButtonATooltip)
{
    for (const MenuNode* item : MenuItems())
        EXPECT_NE(res::FindString(item->id), nullptr) << item->text;
    for (const res::Toolbar& bar : res::ProgramTables().toolbars)
        for (UINT id : bar.items) {
            if (id == ID_SEPARATOR)
                continue;
            ASSERT_NE(res::FindString(id), nullptr) << id;
            EXPECT_EQ(Split(res::FindString(id), '\n').size(), 2u) << "no tooltip for " << id;
        }
    EXPECT_STREQ(res::FindString(ID_DRAW_RECT), "사각형을 그립니다\n사각형");
}

TEST(Strings, SystemCommandsFindTheirPromptsByFormula)
{
    for (UINT sc :
         {0xF000u, 0xF010u, 0xF020u, 0xF030u, 0xF040u, 0xF050u, 0xF060u, 0xF120u, 0xF130u})
        EXPECT_NE(res::FindString(IDS_SCSIZE + (sc - 0xF000) / 16), nullptr) << std::hex << sc;
}

TEST(Strings, DocumentStringHasSevenFieldsWithoutFilterOrExtension)
{
    const auto fields = Split(res::FindString(IDR_MAINFRAME), '\n');
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[0], res::FindString(IDS_APP_TITLE));
    EXPECT_TRUE(fields[1].empty()); // the framework's untitled name
    EXPECT_TRUE(fields[3].empty()); // the file dialogs list all files
    EXPECT_TRUE(fields[4].empty()); // Save As adds no extension
}

TEST(AboutBox, ControlsFitTheDialogAndOkIsTheOneDefaultButton)
{
    const res::Dialog* dlg = res::FindDialog(IDD_ABOUTBOX);
    ASSERT_NE(dlg, nullptr);
    constexpr DWORD DS_SETFONT = 0x40;
    EXPECT_TRUE(dlg->style & DS_SETFONT);
    EXPECT_STREQ(dlg->fontName, "굴림");
    EXPECT_EQ(dlg->pointSize, 9);

    int defaults = 0;
    for (const res::DialogItem& item : dlg->items) {
        EXPECT_TRUE(item.x >= 0 && item.y >= 0);
        EXPECT_LE(item.x + item.cx, dlg->cx);
        EXPECT_LE(item.y + item.cy, dlg->cy);
        EXPECT_EQ(item.style & 0x50000000u, 0x50000000u); // visible child
        if (item.kind == res::DialogItem::Icon) {
            EXPECT_NE(res::FindIcon(item.iconId), nullptr);
        }
        if (item.kind == res::DialogItem::Button && (item.style & 0xF) == 1) {
            ++defaults;
            EXPECT_EQ(item.id, int(IDOK));
        }
    }
    EXPECT_EQ(defaults, 1);
}

} // namespace
