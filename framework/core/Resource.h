// Resource tables, read by id: menus, accelerators, toolbars, strings, dialog templates,
// bitmaps and icons; and the picture formats, as a list. The tables themselves are the
// program's data, handed over at start-up.
#pragma once

#include "Types.h"
#include "VirtualKeys.h"

#include <cstddef>
#include <string>
#include <vector>

namespace res {

enum class MenuKind { Item, Separator, Popup };

struct MenuNode {
    MenuKind kind;
    const char* text; // "&" marks the mnemonic, "\t" separates the key text
    UINT id;          // command id of an item
    bool grayed;
    std::vector<MenuNode> children; // items of a pop-up
};

struct Menu {
    UINT id;
    std::vector<MenuNode> popups;
};

// Accelerator flags.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct Accel {
    BYTE fVirt;
    WORD key; // a virtual key: 'A'–'Z', '0'–'9' or a VK_ code
    UINT cmd;
};

struct AccelTable {
    UINT id;
    std::vector<Accel> entries;
};

// Buttons in order; ID_SEPARATOR (0) marks a separator.
struct Toolbar {
    UINT id;
    int buttonWidth;
    int buttonHeight;
    std::vector<UINT> items;
};

struct String {
    UINT id;
    const char* text; // UTF-8
};

struct DialogItem {
    enum Kind { Icon, Static, Button };
    Kind kind;
    int x, y, cx, cy; // dialog units
    int id;
    DWORD style;
    const char* text;
    UINT iconId; // for Icon
};

struct Dialog {
    UINT id;
    int x, y, cx, cy; // dialog units
    DWORD style;
    const char* caption;
    const char* fontName;
    int pointSize;
    std::vector<DialogItem> items;
};

// A binary resource: a BMP file (without its meaning changed) or an ICO file.
struct Binary {
    UINT id;
    const BYTE* data;
    std::size_t size;
    // Device pixels a picture pixel covers: a bitmap may come again under its id, drawn
    // larger for high-density displays. An ICO file holds all its sizes itself.
    int scale = 1;
};

struct Version {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language;
    WORD codePage;
    DWORD fileType; // VFT_APP 1
};

// A file format of pictures: how files and the clipboard name it, and what reads and writes it.
struct PictureFormat {
    // What reads and writes the format, as flags.
    enum Use : unsigned {
        Opened = 1,   // Open and Insert read it, and Paste takes it from the clipboard
        Decoded = 2,  // read through CPictureReader with Qt's reader of the codec; an opened
                      // format without it is read by the program itself
        Exported = 4, // Export writes it
    };
    const char* name;                    // as a file filter shows it
    std::vector<const char*> extensions; // without the dot; a file written gets the first
    std::vector<const char*> mimeTypes;  // under which the clipboard offers it, most common first
    const char* codec;                   // Qt's name of the format ("png"); null for none
    unsigned uses;
};

struct Tables {
    std::vector<Menu> menus;
    std::vector<AccelTable> accelerators;
    std::vector<Toolbar> toolbars;
    std::vector<String> strings;
    std::vector<Dialog> dialogs;
    std::vector<Binary> bitmaps;
    std::vector<Binary> icons;
    Version version;
    // Most common first.
    std::vector<PictureFormat> pictureFormats;
};

} // namespace res

// Hands the framework the program's resource tables; everything below finds its entries
// there. Until then (or with null) nothing is found.
void AfxSetResources(const res::Tables* pTables);

namespace res {

const Menu* FindMenu(UINT id);
const AccelTable* FindAccelerators(UINT id);
const Toolbar* FindToolbar(UINT id);
// Null when the table holds no string with this id.
const char* FindString(UINT id);
// The string with this id, empty when there is none.
inline const char* LoadString(UINT id)
{
    const char* s = FindString(id);
    return s ? s : "";
}
// The string with this id, its first "%1" and "%2" replaced by the arguments.
std::string FormatString(UINT id, const std::string& arg1, const std::string& arg2 = {});
const Dialog* FindDialog(UINT id);
// Null when the table holds no bitmap with this id drawn at this scale.
const Binary* FindBitmap(UINT id, int scale = 1);
const Binary* FindIcon(UINT id);
// The picture formats, most common first; empty until tables are handed over.
const std::vector<PictureFormat>& PictureFormats();

} // namespace res
