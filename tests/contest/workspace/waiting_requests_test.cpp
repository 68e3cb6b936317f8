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

// Served for a window: changes that turn out to be none let the recheck run at once; work started
// for them keeps it waiting until that work ends.
TEST(WaitingRequests, ServeForAWindowUntilSomethingStartsWork) {
    for (const bool changes : {false, true}) {
        WaitingRequests waiting;
        bool working = false;
        std::vector<Next> done;
        const WaitingRequests::Window window{[&] { return working; },
                                             [&] { done.push_back(Next::Close); },
                                             [&] {
                                                 done.push_back(Next::TakeBack);
                                                 working = changes;
                                             },
                                             [&] { done.push_back(Next::Recheck); }};
        waiting.recheckWhenIdle();
        waiting.takeBackWhenIdle();
        waiting.serve(window);
        const std::vector<Next> first =
            changes ? std::vector{Next::TakeBack} : std::vector{Next::TakeBack, Next::Recheck};
        EXPECT_EQ(done, first);
        working = false;
        waiting.serve(window);
        EXPECT_EQ(done.back(), Next::Recheck);
        EXPECT_EQ(done.size(), 2u);
    }
}

}  // namespace
}  // namespace zeb::contest
