// The pieces of the program's resource set, each defined in the file named after it.
#pragma once

#include "framework/core/Resource.h"

#include <vector>

namespace res {

// Resources.cpp: the program's whole resource set, made on first use.
const Tables& ProgramTables();

// Menus.cpp: the main menu and the accelerator table of the frame.
std::vector<Menu> ProgramMenus();
std::vector<AccelTable> ProgramAccelerators();

// Strings.cpp: the string table.
std::vector<String> ProgramStrings();

// PictureFormats.cpp: the picture formats, most common first.
std::vector<PictureFormat> ProgramPictureFormats();

} // namespace res
