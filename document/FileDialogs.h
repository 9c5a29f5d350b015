// What the document asks the user about its files: a name to save under, a file to insert, and
// whether to keep a modified drawing.
#pragma once

#include "FileFilters.h"

#include <optional>
#include <string>

// A name to save under and the type chosen in the dialog's filter.
struct CSaveChoice {
    std::string path;
    SkorelFile type;
};

// Asks for a name, proposing `initial` with the type's extension. Both file types are offered
// with `type` chosen, or the drawing alone. A drawing is never written under a .bmp name: the
// dialog says so and offers the .skr name instead. None when cancelled.
std::optional<CSaveChoice> AskSaveAs(const std::string& initial, SkorelFile type,
                                     bool bDrawingOnly);
// Asks for a file to insert into the drawing, as Open does; none when cancelled.
std::optional<std::string> AskInsertFile();
// Asks whether to keep a modified drawing: IDYES, IDNO or IDCANCEL.
int AskKeepDrawing();
