#pragma once

// Downloads of source files asked for by other programs over the request channel
// (`marlix-send --file`): the same line-by-line download as "Download &File...", with its progress
// and its outcome sent back to the asking program instead of shown in message boxes.
void ServeScriptedDownloads();
