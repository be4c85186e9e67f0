#pragma once
// The integer truth value that the windows' decisions return: TRUE (non-zero)
// for success or go-ahead, FALSE (0) otherwise.

using BOOL = int;
