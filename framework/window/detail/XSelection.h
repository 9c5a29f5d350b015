// The X clipboard asked on a connection of its own, by whichever thread needs it: a program
// that holds the clipboard and never answers holds up only that thread, no longer than the
// bound it gives, and not after its progress is cancelled. Qt's own clipboard asks on the
// window's thread and waits five seconds for each answer.
// Window-layer private.
#pragma once

#include "framework/core/Progress.h"
#include "framework/core/Types.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The name of the X display Qt's platform is connected to; empty when it is not X11.
std::string QtXDisplayName();

class XSelection {
public:
    enum class Status {
        Answered,  // the bytes are what the owner sent
        Refused,   // the owner has nothing under the target, or there is no owner
        NoAnswer,  // the owner did not answer within the bound, or broke off
        Cancelled, // the progress was cancelled first
    };
    struct Reply {
        Status status = Status::NoAnswer;
        std::vector<BYTE> bytes;
    };

    // Connects to the display named and asks about its CLIPBOARD selection.
    explicit XSelection(const std::string& display);
    ~XSelection();
    XSelection(const XSelection&) = delete;
    XSelection& operator=(const XSelection&) = delete;

    bool IsOpen() const;
    // The window that holds the clipboard now, 0 for none; the server answers this itself.
    std::uint32_t Owner();
    // The names of the targets the owner offers.
    Status Targets(std::chrono::milliseconds bound, CProgress* pProgress,
                   std::vector<std::string>& names);
    // The data under a target. The bound holds for the owner's first answer and for each part
    // of a transfer in parts; the progress learns how much of a transfer in parts has come.
    Reply Data(const std::string& target, std::chrono::milliseconds bound, CProgress* pProgress);

private:
    struct Connection;
    std::unique_ptr<Connection> m_c;
};
