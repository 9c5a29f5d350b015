// Command tables: an entry of a command that a control reports through hands its handler what
// the control said, and is found like any other command handler.
#include "framework/window/CmdTarget.h"
#include "framework/window/Wnd.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr UINT kReported = 100;
constexpr UINT kPlain = 101;

class CReportTarget : public CCmdTarget {
public:
    void OnReported(const CCmdNotify& notify) { m_heard = notify; }
    void OnPlain() { ++m_nPlain; }

    std::optional<CCmdNotify> m_heard;
    int m_nPlain = 0;

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReportTarget, CCmdTarget)
ON_COMMAND(kPlain, OnPlain)
ON_COMMAND_NOTIFY(kReported, OnReported)
END_MESSAGE_MAP()

struct NotifyCase {
    const char* name;
    UINT nID;
    CmdAction action;
    std::optional<CCmdNotify> sent;
    BOOL handled;
    std::optional<CCmdNotify> heard; // what the report's handler was told, if it ran
    int nPlain;                      // how often the plain handler ran
};

class NotifyEntries : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(NotifyEntries, HandlerHearsWhatTheControlReported)
{
    const NotifyCase& c = GetParam();
    CReportTarget target;
    const CCmdNotify sent = c.sent.value_or(CCmdNotify{});
    EXPECT_EQ(target.OnCmdMsg(c.nID, c.action, {.pNotify = c.sent ? &sent : nullptr}), c.handled);
    ASSERT_EQ(target.m_heard.has_value(), c.heard.has_value());
    if (c.heard) {
        EXPECT_EQ(target.m_heard->nItem, c.heard->nItem);
        EXPECT_EQ(target.m_heard->nButton, c.heard->nButton);
    }
    EXPECT_EQ(target.m_nPlain, c.nPlain);
}

INSTANTIATE_TEST_SUITE_P(
    Routing, NotifyEntries,
    ::testing::Values(NotifyCase{"RightClickOnItemSeven", kReported, CmdAction::Execute,
                                 CCmdNotify{7, MK_RBUTTON}, TRUE, CCmdNotify{7, MK_RBUTTON}, 0},
                      NotifyCase{"LeftClickOnItemZero", kReported, CmdAction::Execute,
                                 CCmdNotify{0, MK_LBUTTON}, TRUE, CCmdNotify{0, MK_LBUTTON}, 0},
                      NotifyCase{"WithoutReportHearsAnEmptyOne", kReported, CmdAction::Execute,
                                 std::nullopt, TRUE, CCmdNotify{0, 0}, 0},
                      NotifyCase{"QueryFindsTheHandlerWithoutRunningIt", kReported,
                                 CmdAction::Query, std::nullopt, TRUE, std::nullopt, 0},
                      NotifyCase{"UpdateFindsNoUpdateHandler", kReported, CmdAction::Update,
                                 std::nullopt, FALSE, std::nullopt, 0},
                      NotifyCase{"PlainHandlerIgnoresTheReport", kPlain, CmdAction::Execute,
                                 CCmdNotify{3, MK_LBUTTON}, TRUE, std::nullopt, 1},
                      NotifyCase{"UnknownCommandIsNotHandled", 102, CmdAction::Execute,
                                 CCmdNotify{3, MK_LBUTTON}, FALSE, std::nullopt, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
