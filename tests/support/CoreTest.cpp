#include "support/CoreTest.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

CoreTest::CoreTest() {
    UseProfileFile(Path("profile.ini"));
    ResetCore();
    commLink().SetTransport(&controller);
    commLink().EnsureDocument();
    protocol().ReplyState = reply::kIdle;
}

CoreTest::~CoreTest() {
    ResetCore();
    UseProfileFile(std::string());
}

std::string CoreTest::Terminal() {
    return commLink().EnsureDocument().SavedText();
}

std::vector<std::string> CoreTest::Sent() {
    const std::vector<std::string>& lines = controller.Lines();
    std::vector<std::string> sent(lines.begin() + static_cast<long>(m_seen), lines.end());
    m_seen = lines.size();
    return sent;
}
