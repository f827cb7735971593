#pragma once

// Sends the project's declarations (as in its .ed1 file) and then its source text (.ed2) to the
// controller, line by line, each line run before the next. False when the controller refused a
// declaration or the operator cancelled; the source text's own outcome does not count.
bool DownloadText();
