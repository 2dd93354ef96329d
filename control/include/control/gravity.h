// How often the falling shape steps down: the base interval less a step per
// speed level.
#pragma once

#include <algorithm>
#include <climits>

// The speed levels a player can choose between, and the one a game starts at.
inline constexpr int kMinSpeedLevel = 1;
inline constexpr int kMaxSpeedLevel = 10;
inline constexpr int kStartSpeedLevel = 3;
// The base interval in milliseconds until the player sets another.
inline constexpr int kDefaultTimerBase = 400;

// Milliseconds each speed level takes off the base interval.
inline constexpr int kGravityStepPerLevel = 10;
// Shorter intervals would flood a timer's queue (and one of zero or less,
// taken as unsigned, would never fire): they are taken as this one.
inline constexpr int kShortestGravityInterval = 10;

// The gravity step's interval in milliseconds for a base interval and a
// speed level: timerBase - 10 x speedLevel, at least 10, at most INT_MAX.
constexpr int gravityInterval(int timerBase, int speedLevel)
{
    const long long interval =
        static_cast<long long>(timerBase) - static_cast<long long>(kGravityStepPerLevel) * speedLevel;
    return static_cast<int>(std::clamp<long long>(interval, kShortestGravityInterval, INT_MAX));
}
