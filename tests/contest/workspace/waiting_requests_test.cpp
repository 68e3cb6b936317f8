#include "contest/workspace/waiting_requests.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeb::contest {
namespace {

using Next = WaitingRequests::Next;

std::vector<Next> servedInTurn(WaitingRequests& waiting) {
    std::vector<Next> served;
    for (Next next = waiting.next(); next != Next::Nothing; next = waiting.next()) {
        served.push_back(next);
    }
    return served;
}

TEST(WaitingRequests, AreServedCloseFirstThenTheChangesTakenBackThenTheRecheckEachOnce) {
    WaitingRequests waiting;
    EXPECT_TRUE(servedInTurn(waiting).empty());

    waiting.recheckWhenIdle();
    waiting.takeBackWhenIdle();
    waiting.closeWhenIdle();
    waiting.recheckWhenIdle();
    EXPECT_EQ(servedInTurn(waiting), (std::vector{Next::Close, Next::TakeBack, Next::Recheck}));

    // The closing question's "Save" holds for one save only, whether it reached its end or not.
    waiting.closeAfterSave();
    EXPECT_TRUE(waiting.closesAfterSave());
    EXPECT_EQ(waiting.next(), Next::Nothing);
    EXPECT_FALSE(waiting.closesAfterSave());
}

}  // namespace
}  // namespace zeb::contest
