// The selected shapes through the clipboard. The clipboard carries shapes in the archive form
// under a type of our own, and a picture of them on white for other programs; a picture alone
// on the clipboard (another program's) pastes as the picture under the shapes.
#pragma once

#include "image/BaseImage.h"
#include "shapes/Data.h"

#include <memory>
#include <vector>

class CShapeClipboard {
public:
    // What a paste brings: shapes of ours, or a picture, or nothing (the clipboard held
    // neither, the user cancelled, or a message said why).
    struct Pasted {
        std::vector<std::unique_ptr<CData>> records;
        std::unique_ptr<CBaseImage> picture;
    };

    // Whether the clipboard holds shapes of ours or a picture.
    static bool CanPaste();
    // Puts the records, in drawing order, on the clipboard.
    static void Copy(const std::vector<CData*>& records);
    // Takes what the clipboard holds, fetched (and a picture decoded) off the window's thread
    // under a progress dialog. Shapes come first, since ours carry a picture of themselves
    // too; they come moved right and down, further each time the same shapes come again.
    Pasted Paste();
    // A fresh drawing: the next paste of the same shapes starts from the first shift again.
    void Forget() { m_lastPasted.clear(); }

private:
    std::unique_ptr<CBaseImage> PastePicture() const;

    std::vector<BYTE> m_lastPasted; // the clipboard's shapes as pasted last
    int m_nPasteShift = 0;          // how far they were moved then
};
