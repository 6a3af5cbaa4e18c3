// OLE start-up of a thread with its message filter, whose busy dialogs can be switched off.
#include <gtest/gtest.h>

#include <thread>

#include "FwTestSupport.h"

namespace {

TEST(OleStartUp, AThreadGetsAFilterOfItsOwnAndLosesItAtTheEnd)
{
    std::thread([] {
        EXPECT_EQ(nullptr, FwOleGetMessageFilter());
        ASSERT_TRUE(FwOleInit());
        EXPECT_TRUE(FwOleInit()) << "a second start is harmless";
        COleMessageFilter* filter = FwOleGetMessageFilter();
        ASSERT_NE(nullptr, filter);
        EXPECT_TRUE(filter->IsRegistered());
        EXPECT_TRUE(filter->IsBusyDialogEnabled());
        filter->EnableBusyDialog(FALSE);
        filter->EnableNotRespondingDialog(FALSE);
        EXPECT_FALSE(filter->IsBusyDialogEnabled());
        EXPECT_FALSE(filter->IsNotRespondingDialogEnabled());
        FwOleTerm();
        EXPECT_EQ(nullptr, FwOleGetMessageFilter());
        FwOleTerm();
    }).join();
}

TEST(OleStartUp, WithItsDialogsOffABusyServerIsWaitedForQuietly)
{
    COleMessageFilter filter;
    filter.EnableBusyDialog(FALSE);
    EXPECT_EQ(filter.m_nRetryDelay, filter.RetryRejectedCall(nullptr, 60000, SERVERCALL_RETRYLATER));
    EXPECT_EQ(static_cast<DWORD>(-1), filter.RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED)) << "a refusal ends the call";
    filter.EnableNotRespondingDialog(FALSE);
    EXPECT_EQ(static_cast<DWORD>(PENDINGMSG_WAITDEFPROCESS), filter.MessagePending(nullptr, 60000, PENDINGTYPE_TOPLEVEL));
    EXPECT_EQ(static_cast<DWORD>(SERVERCALL_ISHANDLED), filter.HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr));
}

} // namespace
