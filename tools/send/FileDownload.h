#pragma once

class RequestClient;
struct SendOptions;

// Has the running Marlix download the file of `options` line by line, showing the progress on
// standard error. Returns the program's exit status.
int DownloadFile(RequestClient& client, const SendOptions& options);
