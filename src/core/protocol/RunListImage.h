#pragma once

// The PC's mirror of the controller's RUN-LIST: a fixed image of 16-byte paragraphs, as large as the
// memory bank the RUN-LIST lives in. The run-list transfers move it; the project model holds it.
namespace runlist {
constexpr int kImageSize = 65536;
} // namespace runlist
