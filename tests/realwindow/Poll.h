#pragma once

#include <chrono>
#include <thread>

// Asks again and again until the condition holds or the limit has passed, whichever comes
// first; true when it held. This is how the tests wait for anything on a real screen: a slow
// machine takes longer to get there, but never makes a test pass or fail by chance.
template<class Condition>
bool eventually(std::chrono::milliseconds limit, Condition&& condition)
{
    constexpr std::chrono::milliseconds Interval(15);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(Interval);
    }
}
