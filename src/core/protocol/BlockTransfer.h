#pragma once

#include "core/protocol/RunListImage.h"

#include <QtGlobal>

class QIODevice;

// Memory transfers between the controller and the PC in framed 256-byte blocks: the PC sends ENQ
// before every block; the controller answers STX (then, when it is sending, the 256 data bytes) or ETX
// when it has nothing more. During a transfer the channel is in block mode and received bytes go to
// ReceiveBlockBytes instead of the terminal.
//
// The caller shows a held wait box with a progress bar (style 1) around each transfer; the transfers
// report progress after every block and stop when the box's "Cancel" is pressed. Whatever the outcome
// the channel is back in text mode when they return. They return true on success; every message has
// been shown already.

// Sends "<bank> BANK C! " without CR and without waiting: the command that follows runs on the same
// controller line in that bank. Returns the send result (0 sent, 1 the link is not open).
int SelectBank(int bank);

// Controller memory (bank, start, length) to `file`. The controller decides the number of blocks and
// ends with ETX; every block is written whole. When writing the file fails the transfer stops and
// returns false without a message: the caller finds the error in the file and reports it.
bool UploadBlock(QIODevice& file, int bank, quint32 start, quint32 length);

// `file` to controller memory (bank, start, length): always `length` rounded up to whole blocks; the
// part of a block beyond the file's data is sent as zeros.
bool DownloadBlock(QIODevice& file, int bank, quint32 start, quint32 length);

// The first `count` bytes of the run-list image (runlist::kImageSize bytes) to the controller's RUN-LIST
// in bank 1, rounded up to whole blocks.
bool DownloadRunList(const unsigned char* image, int count);

// The controller's RUN-LIST (from its start up to its NEXT pointer) into the run-list image
// (runlist::kImageSize bytes) from offset 0; `total` only scales the progress display. True when the
// controller ended the list with ETX.
bool UploadRunList(unsigned char* image, int total);
