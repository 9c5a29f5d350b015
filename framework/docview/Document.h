// The document base: path, title and modified flag, and the default new, open and save
// handling with its dialogs and messages.
#pragma once

#include "framework/window/CmdTarget.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFileHandle;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* lpszTitle);
    // Gives the document the untitled name.
    void SetDefaultTitle();
    const std::string& GetPathName() const { return m_strPathName; }
    // Takes the path (UTF-8) and makes its file name the title.
    virtual void SetPathName(const char* lpszPathName);

    virtual BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // The views that show the document; a view joins when its frame makes it.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Tells every view but pSender that the document changed (their OnUpdate), and has every
    // view's frame bring its title and command states up to date.
    void UpdateAllViews(CView* pSender, long lHint = 0, CObject* pHint = nullptr);

    // New: empties the contents (DeleteContents), forgets the path, marks not modified.
    virtual BOOL OnNewDoc();
    // Open: reads the file through Serialize with a loading archive, after DeleteContents.
    // Only a regular file is opened, without blocking on a FIFO or device. A file that can't
    // be opened, or that runs out, fails or exhausts memory while being read, is reported in
    // a message box and gives FALSE. Marks not modified.
    virtual BOOL OnOpenDoc(const char* lpszPathName);
    // Save: writes Serialize's storing archive to the file, replacing it only once every byte
    // is written. FALSE when that fails; reporting it is the caller's (DoSave).
    virtual BOOL OnSaveDoc(const char* lpszPathName);
    // Empties the document's contents; the base holds none.
    virtual void DeleteContents();

    // Saves to lpszPathName, or, when it is null, to a name asked for with the save dialog
    // (no filter, no default extension; an existing file is replaced only when confirmed).
    // A failing OnSaveDoc is reported, with the reason its last error gives, and leaves path
    // and title as they were; success takes the new path and title, and puts the file at the
    // top of the recent files. FALSE when cancelled or failed.
    virtual BOOL DoSave(const char* lpszPathName);
    // Before the document's contents are dropped: when it is modified, asks whether to save
    // (yes, no, cancel) and saves on yes. FALSE means stop (cancelled, or the save failed).
    virtual BOOL SaveModified();
    // Before the frame that shows the document closes; the default is SaveModified.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);

    // Opens the file and hands `read` a loading archive from `offset` on. A file that can't be
    // opened, or that runs out, fails or exhausts memory while `read` reads it, is reported in
    // a message box and gives FALSE.
    static BOOL ReadArchive(const char* lpszPathName, std::uint64_t offset,
                            const std::function<void(CArchive&)>& read);
    // The same from a file already open, whose path the messages name.
    static BOOL ReadArchive(CFileHandle& file, const char* lpszPathName, std::uint64_t offset,
                            const std::function<void(CArchive&)>& read);

protected:
    void OnFileSave();
    void OnFileSaveAs();

    DECLARE_MESSAGE_MAP()

private:
    std::string m_strTitle;
    std::string m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;
};
