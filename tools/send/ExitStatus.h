#pragma once

// marlix-send's exit status.
enum ExitStatus { kOk = 0, kNotOk = 1, kUnavailable = 2, kTimedOut = 3, kUsage = 4 };
