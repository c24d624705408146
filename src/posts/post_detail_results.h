// Modal results of the post detail dialog besides wxID_OK / wxID_CANCEL,
// on which its openers act. Kept apart from the dialog so that GUI-free
// code deciding what the opener does next can use them.
#pragma once

inline constexpr int RESULT_ONLY_OP = 6400;       // show only the thread starter's floors
inline constexpr int RESULT_POST_CHANGED = 6401;  // the post changed: reload
