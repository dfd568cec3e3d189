#include "game/app/ProgressMerge.h"

#include "game/common/SavedKeys.h"

#include <algorithm>
#include <limits>

USING_NS_CC;

namespace {

using Values = UserDefault::Values;
using Value = UserDefault::Value;

long long number(const Values& values, const char* key) {
    const auto it = values.find(key);
    if (it == values.end()) return 0;
    if (const bool* flag = std::get_if<bool>(&it->second)) return *flag ? 1 : 0;
    return std::get<int>(it->second);
}

int clamped(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

Values ProgressMerge::merge(const Values& stored, const Values& session) {
    Values merged = session;
    for (const auto& [key, value] : stored)
        merged[key] = value;
    // Keys neither side has stay absent, as a first run leaves them.
    const auto set = [&](const char* key, const Value& value) {
        if (stored.count(key) || session.count(key)) merged[key] = value;
    };

    // The saved balance includes what finished rounds won since the shop last opened. A debt or
    // negative winnings (only an edited store holds them) count as 0, as the shop reads them.
    const long long saved =
        std::max(number(stored, keys::kCoinScore), 0LL) + std::max(number(stored, keys::kRoundWinnings), 0LL);
    set(keys::kCoinScore, clamped(saved + number(session, keys::kCoinScore)));
    set(keys::kRoundWinnings, clamped(number(session, keys::kRoundWinnings)));
    for (const char* carried : {keys::kEventCoins, keys::kRoundCoins})
        if (session.count(carried)) merged[carried] = clamped(saved + number(session, carried));

    for (const char* level : {keys::kTimeLevel, keys::kLifeLevel, keys::kHighScore})
        set(level, clamped(std::max(number(stored, level), number(session, level))));
    for (const char* soldOut : {keys::kTimeSoldOut, keys::kLifeSoldOut})
        set(soldOut, number(stored, soldOut) != 0 || number(session, soldOut) != 0);
    // A round under way, or one to retry, plays on the levels now owned.
    for (const auto& [carried, level] : {std::pair{keys::kEventTimeLevel, keys::kTimeLevel},
                                         {keys::kRoundTimeLevel, keys::kTimeLevel},
                                         {keys::kEventLifeLevel, keys::kLifeLevel},
                                         {keys::kRoundLifeLevel, keys::kLifeLevel}})
        if (session.count(carried))
            merged[carried] = clamped(std::max(number(session, carried), number(merged, level)));
    return merged;
}
