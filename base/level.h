#pragma once
// Result levels: what the operations of the library layers return (and what
// the error manager's Raise gives back for a message), passed up unchanged.
namespace tx::Level {

inline constexpr int Done = 0;       // done, or go on
inline constexpr int Fatal = 3;      // fatal, or the thing cannot be used
inline constexpr int Cancelled = 4;  // cancelled by the user
inline constexpr int NotDone = 5;    // not done, finished, or already reported

}  // namespace tx::Level
