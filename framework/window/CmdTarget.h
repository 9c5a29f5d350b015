// Command tables: every class that handles commands has a static table of entries chained to
// its base's table. An entry runs a command, or updates the user-interface item of a command
// (enabled, checked, its text) through a CCmdUI.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/Types.h"

#include <cstddef>

class CCmdTarget;
class CCmdUI;

// What a control reports with its command, in the control's own terms: which of its items the
// user chose, and with which mouse button (MK_LBUTTON, MK_RBUTTON). What that means is for the
// command's handler to decide.
struct CCmdNotify {
    std::size_t nItem = 0;
    UINT nButton = 0;
};

using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSG_RANGE = void (CCmdTarget::*)(UINT);
using AFX_PUPDATE = void (CCmdTarget::*)(CCmdUI*);
using AFX_PNOTIFY = void (CCmdTarget::*)(const CCmdNotify&);

struct AFX_MSGMAP_ENTRY {
    UINT nID;
    UINT nLastID;            // the entry covers nID … nLastID
    AFX_PMSG pfn;            // a command handler, or
    AFX_PMSG_RANGE pfnRange; // one that is told the id, or
    AFX_PUPDATE pfnUI;       // an update handler, or
    AFX_PNOTIFY pfnNotify;   // a command handler told what the control reports; all null end
                             // the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg is asked to do with a command id.
enum class CmdAction {
    Query,   // only say whether a command handler takes it
    Execute, // run its command handler
    Update,  // run its update handler with the CCmdUI given
};

// What goes with a command to the handler found: the item an update handler sets (Update), or
// what a control reports (Execute; a handler of an ON_COMMAND_NOTIFY entry gets an empty
// report without one).
struct CCmdExtra {
    CCmdUI* pCmdUI = nullptr;
    const CCmdNotify* pNotify = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    ~CCmdTarget() override = default;

    // Finds the handler of nID for the action in this object's tables (command routing
    // overrides this to ask other targets in turn); false when none holds it.
    virtual BOOL OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra);
    // Runs the command handler of nID (bExecute) or only says whether there is one.
    BOOL OnCmdMsg(UINT nID, bool bExecute)
    {
        return OnCmdMsg(nID, bExecute ? CmdAction::Execute : CmdAction::Query, {});
    }
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    CCmdTarget() = default;
    static const AFX_MSGMAP* GetThisMessageMap();
};

// The user-interface item of one command (a menu item, a toolbar button, a status-bar pane)
// while its update handler runs. The base ignores what its kind of item can't show.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    // A check that marks one of a group of choices.
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const char* lpszText);
    // Shows a colour on the item: a swatch on the command's toolbar button.
    virtual void SetColor(COLORREF cr);

    // Enables the item when a command handler takes its id, then lets the update handler,
    // if there is one, say more.
    void DoUpdate(CCmdTarget* pTarget);

    UINT m_nID = 0;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define ON_COMMAND(id, memberFxn)                                                                  \
    {id, id, static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr, nullptr, nullptr},

#define ON_COMMAND_RANGE(id, lastId, memberFxn)                                                    \
    {id, lastId, nullptr, static_cast<AFX_PMSG_RANGE>(&ThisClass::memberFxn), nullptr, nullptr},

#define ON_COMMAND_NOTIFY(id, memberFxn)                                                           \
    {id, id, nullptr, nullptr, nullptr, static_cast<AFX_PNOTIFY>(&ThisClass::memberFxn)},

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    {id, id, nullptr, nullptr, static_cast<AFX_PUPDATE>(&ThisClass::memberFxn), nullptr},

#define ON_UPDATE_COMMAND_UI_RANGE(id, lastId, memberFxn)                                          \
    {id, lastId, nullptr, nullptr, static_cast<AFX_PUPDATE>(&ThisClass::memberFxn), nullptr},

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, nullptr, nullptr, nullptr, nullptr                                                   \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {TheBaseClass::GetThisMessageMap(), &_messageEntries[0]}; \
    return &messageMap;                                                                            \
    }
