// Work that can take a while, run on a thread of its own so that the windows go on painting;
// when it takes longer than a moment, a modal dialog shows how far it got, with a button that
// asks it to stop.
#pragma once

#include "framework/core/Progress.h"
#include "framework/core/Types.h"

#include <functional>

// Runs work(progress) on a worker thread and returns once it has returned; an exception it
// throws comes out here. Input to the windows waits until then. Past a moment a modal dialog
// shows pszLabel and the progress, and its cancel button (AFX_IDS_CANCEL) cancels the
// progress, which the work polls. FALSE when the progress was cancelled.
BOOL AfxRunWithProgress(const char* pszLabel, const std::function<void(CProgress&)>& work);
