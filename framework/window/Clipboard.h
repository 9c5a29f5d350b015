// The system clipboard: the program's own data under a MIME type of its own, and a picture of
// it that other programs can paste; pictures that other programs put there. Nothing here waits
// on the program that holds the clipboard on the window's thread: what it offers is asked once
// when the clipboard changes, on a thread of its own, and what it holds is fetched through a
// request that can run on any thread, never waiting long for an answer.
#pragma once

#include "framework/core/Progress.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>
#include <vector>

class CBitmap;

class CClipboard {
public:
    // Replaces what the clipboard holds with the data and, when given, the bitmap's pixels as
    // a picture (offered as PNG among Qt's image types).
    static void SetData(const char* pszMimeType, const std::vector<BYTE>& data,
                        const CBitmap* pPicture);
    // Calls onChange, on the window's thread, whenever what the clipboard announces may
    // have changed (HasData and HasPicture may answer otherwise), as long as the watch is
    // kept.
    using Watch = std::shared_ptr<const std::function<void()>>;
    [[nodiscard]] static Watch WatchFormats(std::function<void()> onChange);
    // Whether the clipboard holds the type, as it last announced when it changed: never waits
    // on the program that holds it (and says no until that program has answered).
    static bool HasData(const char* pszMimeType);

    // Replaces what the clipboard holds with the bitmap's pixels as a picture alone.
    static void SetPicture(const CBitmap& picture);
    // Whether the clipboard announced a picture in a format CPictureReader reads, or as BMP.
    static bool HasPicture();
};

// What the clipboard holds, asked for on the window's thread and fetched on any: what this
// process put there is taken at once, another program's is asked for when fetched.
class CClipboardRequest {
public:
    // The data under the type.
    static CClipboardRequest ForData(const char* pszMimeType);
    // The picture as a file: of a format CPictureReader reads, or a BMP file (a bare DIB
    // offered as BMP is given a file header). A picture this process put there comes as PNG.
    static CClipboardRequest ForPicture();

    ~CClipboardRequest();
    CClipboardRequest(CClipboardRequest&&) noexcept;
    CClipboardRequest& operator=(CClipboardRequest&&) noexcept;

    // The bytes; empty when the clipboard holds none, when the program that holds it refuses
    // them or does not answer in time (Answered then says so), or once the progress is
    // cancelled. The program is asked once, and each of its answers is awaited a few seconds
    // at most; the progress learns how much of a long transfer has come.
    std::vector<BYTE> Fetch(CProgress& progress);
    // False when the program that holds the clipboard did not answer the last Fetch in time.
    bool Answered() const;

private:
    struct Impl;
    explicit CClipboardRequest(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};
