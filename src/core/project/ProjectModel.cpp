#include "core/project/ProjectModel.h"

#include "core/base/CoreState.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace runlist;

namespace {

int Wrap(int offset) {
    return offset & (kImageSize - 1);
}

} // namespace

ProjectModel& projectModel() {
    return coreState().Get<ProjectModel>();
}

ProjectModel::ProjectModel() {
    InitRunList();
}

uint16_t ProjectModel::Word(int offset) const {
    return static_cast<uint16_t>(RunList[Wrap(offset)] | (RunList[Wrap(offset + 1)] << 8));
}

void ProjectModel::SetWord(int offset, uint16_t value) {
    RunList[Wrap(offset)] = static_cast<uint8_t>(value & 0xFF);
    RunList[Wrap(offset + 1)] = static_cast<uint8_t>(value >> 8);
}

uint8_t ProjectModel::Byte(int offset) const {
    return RunList[Wrap(offset)];
}

void ProjectModel::SetByte(int offset, uint8_t value) {
    RunList[Wrap(offset)] = value;
}

PositionRecord ProjectModel::Record(int offset) const {
    uint8_t bytes[PositionRecord::kSize];
    for (int i = 0; i < PositionRecord::kSize; ++i)
        bytes[i] = Byte(offset + i);
    return PositionRecord::Read(bytes);
}

void ProjectModel::SetRecord(int offset, const PositionRecord& rec) {
    uint8_t bytes[PositionRecord::kSize];
    rec.Write(bytes);
    for (int i = 0; i < PositionRecord::kSize; ++i)
        SetByte(offset + i, bytes[i]);
}

int ProjectModel::FirstEntry() const {
    return NextEntry(0);
}

int ProjectModel::NextEntry(int e) const {
    const int link = Word(e + kLink);
    // A link that does not lead forward would make the walk circle: treat it as the end.
    if (link <= e || link > kImageSize - 2)
        return kNoEntry;
    return Word(link) == 0 ? kNoEntry : link;
}

int ProjectModel::FindKind(int from, uint16_t kind) const {
    int e = from;
    while (e != kNoEntry && EntryKind(e) != kind)
        e = NextEntry(e);
    return e;
}

int ProjectModel::FirstPlace() const {
    return FindKind(FirstEntry(), kPlace);
}

int ProjectModel::NextPlace(int e) const {
    return FindKind(NextEntry(e), kPlace);
}

int ProjectModel::FirstRoute() const {
    return FindKind(FirstEntry(), kRoute);
}

int ProjectModel::NextRoute(int e) const {
    return FindKind(NextEntry(e), kRoute);
}

int ProjectModel::FindEntry(const std::string& name) const {
    for (int e = FirstEntry(); e != kNoEntry; e = NextEntry(e))
        if (EntryName(e) == name)
            return e;
    return kNoEntry;
}

int ProjectModel::EntryCount() const {
    int n = 0;
    for (int e = FirstEntry(); e != kNoEntry; e = NextEntry(e))
        ++n;
    return n;
}

std::string ProjectModel::EntryName(int e) const {
    const size_t index = Word(e + kNameIndex);
    return index < EntryNames.size() ? EntryNames[index] : std::string();
}

bool ProjectModel::IsHidden(int e) const {
    const std::string name = EntryName(e);
    return !name.empty() && name[0] == '_';
}

int ProjectModel::EntrySize(int e) const {
    return Word(e + kLink) - e;
}

int ProjectModel::RouteCapacity(int r) const {
    return EntrySize(r) / kParagraph - 1;
}

RouteLayout ProjectModel::GetRouteLayout(int r) const {
    if (Word(r + kRows) == 0)
        return RouteLayout::General;
    return RouteRows(r) != 0 ? RouteLayout::Grid : RouteLayout::Row;
}

bool ProjectModel::RouteIsFull(int r) const {
    return LineCount(r) >= RouteCapacity(r);
}

bool ProjectModel::HasApproach(int p) const {
    return !IsZeroRecord(Record(p + kPlaceApproach));
}

int ProjectModel::FreeParagraphs() const {
    return (kImageSize - RunListEnd) / kParagraph - 2;
}

std::array<double, 6> ProjectModel::LineAsDoubles(int r, int n) const {
    const PositionRecord rec = Line(r, n);
    std::array<double, 6> d{};
    for (int i = 0; i < 6; ++i)
        d[i] = rec.values[i];
    return d;
}

std::string ProjectModel::RouteSummary(int r) const {
    static const char* const kLayouts[] = {"Gen", "Row", "Grid"};
    const std::string name = EntryName(r).substr(0, 8);
    char text[64];
    std::snprintf(text, sizeof text, "%-8s%-8s%-5s%-4s%5d%5d", name.c_str(), RouteMode(r) ? "Cart" : "Joint",
                  kLayouts[static_cast<int>(GetRouteLayout(r))], IsRelative(r) ? "Rel" : "Abs",
                  RouteCapacity(r), LineCount(r));
    return text;
}

bool ProjectModel::OutOfSpace(int paragraphs) const {
    return RunListEnd + paragraphs * kParagraph > kAllocationLimit;
}

int ProjectModel::AllocateEntry(int paragraphs, const std::string& name) {
    if (paragraphs < 1 || OutOfSpace(paragraphs))
        return kNoEntry;
    const int newEnd = RunListEnd + paragraphs * kParagraph;
    const int e = RunListEnd;
    EntryNames.push_back(name);
    SetWord(e + kNameIndex, static_cast<uint16_t>(EntryNames.size() - 1));
    SetWord(e + kLink, static_cast<uint16_t>(newEnd));
    RunListEnd = newEnd;
    SetWord(RunListEnd, 0);
    return e;
}

void ProjectModel::InitRunList() {
    SetWord(0, 16);
    SetWord(4, 4);
    SetWord(12, kFixedWord);
    RunListEnd = 16;
    SetWord(RunListEnd, 0);
}

void ProjectModel::ResetRunListHead() {
    SetWord(0, 16);
    RunListEnd = 16;
}

void ProjectModel::ClearProject() {
    WordNameCache.clear();
    InitRunList();
}

void ProjectModel::LinksToRelative() {
    int p = 0;
    for (;;) {
        const int link = Word(p);
        if (link == 0 || link <= p)
            break;
        SetWord(p, static_cast<uint16_t>(link - p));
        p = link;
    }
}

void ProjectModel::LinksToAbsolute() {
    int p = 0;
    // Every step moves at least one byte forward through 64 KB, so the walk ends.
    for (int steps = 0; steps < kImageSize; ++steps) {
        const uint16_t distance = Word(p);
        if (distance == 0)
            break;
        const int next = Wrap(p + distance);
        SetWord(p, static_cast<uint16_t>(next));
        if (next <= p)
            break;
        p = next;
    }
}

void ProjectModel::RenumberNames() {
    uint16_t index = 0;
    for (int e = FirstEntry(); e != kNoEntry; e = NextEntry(e))
        SetWord(e + kNameIndex, index++);
}

void ProjectModel::RemoveEntry(int e) {
    const int size = EntrySize(e);
    LinksToRelative();
    std::memmove(&RunList[e], &RunList[e + size], RunListEnd + 2 - (e + size));
    RunListEnd -= size;
    LinksToAbsolute();
}

void ProjectModel::ResizeEntry(int e, int newSize) {
    const int oldSize = EntrySize(e);
    LinksToRelative();
    std::memmove(&RunList[e + newSize], &RunList[e + oldSize], RunListEnd + 2 - (e + oldSize));
    SetWord(e + kLink, static_cast<uint16_t>(newSize));
    if (newSize > oldSize)
        std::fill_n(RunList.begin() + e + oldSize, newSize - oldSize, uint8_t{0});
    RunListEnd += newSize - oldSize;
    LinksToAbsolute();
}
