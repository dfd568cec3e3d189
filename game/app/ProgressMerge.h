#pragma once
// A save that could not be read at start and is read at last, mid-session: the saved progress
// stands, and what the session did on defaults meanwhile is added to it.
#include "engine/app/cocos2d.h"

namespace ProgressMerge {

// The upgrade levels and settings saved stand (a level bought meanwhile only raises one); the
// coins are the saved balance plus what the session earned less what it spent, never below 0;
// the best score is the larger; the coins of a round under way move with the balance, so that
// nothing the session carries refunds what was spent.
cocos2d::UserDefault::Values merge(const cocos2d::UserDefault::Values& stored,
                                   const cocos2d::UserDefault::Values& session);

} // namespace ProgressMerge
