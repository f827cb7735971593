#include "core/app/CoreWiring.h"

#include "core/base/CoreState.h"
#include "core/link/CommLink.h"
#include "core/project/RouteLines.h"
#include "core/protocol/Protocol.h"
#include "core/robot/TeachPad.h"

void WireCore() {
    CommLink& link = commLink();
    Protocol& proto = protocol();
    proto.SetLink(&link);
    link.Received = [&proto](const char* data, int length) { proto.ReceiveBytes(data, length); };
    link.ConsoleChar = [&proto](char c) { proto.TrackReplyChar(c); };
    link.Opened = [&proto] { proto.LinkOpened(); };
    link.Lost = [&proto] { proto.LinkLost(); };
    link.simulator().NormalReply = [&proto] { return proto.ReplyMode == reply::kNormalReply; };
    // A line learned or dropped at the teach pad goes into the project's active route.
    TeachPad& pad = teachPad();
    pad.AppendLearnedLine = [] { ::AppendLearnedLine(); };
    pad.DropLastLine = [] { ::DropLastLine(); };
}

void ResetCore() {
    coreState().Reset();
    WireCore();
}
