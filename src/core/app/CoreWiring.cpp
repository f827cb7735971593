#include "core/app/CoreWiring.h"

#include "core/base/CoreState.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

void WireCore() {
    CommLink& link = commLink();
    Protocol& proto = protocol();
    proto.SetLink(&link);
    link.Received = [&proto](const char* data, int length) { proto.ReceiveBytes(data, length); };
    link.ConsoleChar = [&proto](char c) { proto.TrackReplyChar(c); };
    link.Opened = [&proto] { proto.LinkOpened(); };
    link.Lost = [&proto] { proto.LinkLost(); };
    link.simulator().NormalReply = [&proto] { return proto.ReplyMode == reply::kNormalReply; };
}

void ResetCore() {
    coreState().Reset();
    WireCore();
}
