#pragma once

#include "core/protocol/PositionRecord.h"
#include "core/protocol/RunListImage.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Entry kinds and header layout of the run-list image.
namespace runlist {
constexpr int kParagraph = 16;
constexpr int kAllocationLimit = kImageSize - kParagraph; // an allocation may not move the end beyond this
constexpr int kResizeLimit = kImageSize - 2;              // a resize may not: the terminator must still fit
constexpr int kNoEntry = 0;                               // offset 0 is the head paragraph, never an entry

constexpr uint16_t kPlace = 2;
constexpr uint16_t kRoute = 4;
constexpr uint16_t kFixedWord = 8;     // word at +12 of every header the PC creates
constexpr uint16_t kRelativeFlag = 63; // relative word of a relative route
constexpr int kPlaceParagraphs = 3;

// Header field offsets.
constexpr int kLink = 0;
constexpr int kNameIndex = 2;
constexpr int kKind = 4;
constexpr int kCount = 6;
constexpr int kMode = 8;
constexpr int kRelative = 10;
constexpr int kFixed = 12;
constexpr int kRows = 14;
constexpr int kColumns = 15;

// Place records.
constexpr int kPlacePosition = 16;
constexpr int kPlaceApproach = 32;
} // namespace runlist

enum class RouteLayout { General = 0, Row = 1, Grid = 2 };

// The project's data: the byte-exact mirror of the controller's RUN-LIST, the names of its entries,
// the cache of controller word names and the active route, with the walks through the list and the
// allocation of entries. It talks to no one: the project service (ProjectService.h) asks the
// controller, shows messages and tells the windows. Entries are referred to by their byte offset in
// the image (runlist::kNoEntry for none); route lines are numbered from 1.
class ProjectModel {
public:
    ProjectModel();
    ProjectModel(const ProjectModel&) = delete;
    ProjectModel& operator=(const ProjectModel&) = delete;

    std::array<uint8_t, runlist::kImageSize> RunList{};
    int RunListEnd = 16;
    std::vector<std::string> EntryNames;
    std::map<uint16_t, std::string> WordNameCache;
    int ActiveRoute = runlist::kNoEntry;

    // Raw little-endian access to the image (offsets wrap at 64 KB).
    uint16_t Word(int offset) const;
    void SetWord(int offset, uint16_t value);
    uint8_t Byte(int offset) const;
    void SetByte(int offset, uint8_t value);
    PositionRecord Record(int offset) const;
    void SetRecord(int offset, const PositionRecord& rec);

    // Walking the list.
    int FirstEntry() const;
    int NextEntry(int e) const;
    int FirstPlace() const;
    int NextPlace(int e) const;
    int FirstRoute() const;
    int NextRoute(int e) const;
    int FindEntry(const std::string& name) const;
    int EntryCount() const;

    // Entry fields.
    uint16_t EntryKind(int e) const { return Word(e + runlist::kKind); }
    std::string EntryName(int e) const;
    bool IsHidden(int e) const;
    int EntrySize(int e) const;
    int RouteCapacity(int r) const;
    int LineCount(int r) const { return Word(r + runlist::kCount); }
    int RouteMode(int r) const { return Word(r + runlist::kMode); }
    int RouteRows(int r) const { return Byte(r + runlist::kRows); }
    int RouteColumns(int r) const { return Byte(r + runlist::kColumns); }
    RouteLayout GetRouteLayout(int r) const;
    bool IsRelative(int r) const { return Word(r + runlist::kRelative) != 0; }
    bool RouteIsFull(int r) const;
    bool HasApproach(int p) const;
    int FreeParagraphs() const;
    int LineOffset(int r, int n) const { return r + n * runlist::kParagraph; }
    PositionRecord Line(int r, int n) const { return Record(LineOffset(r, n)); }
    std::array<double, 6> LineAsDoubles(int r, int n) const;
    std::string RouteSummary(int r) const;

    // Allocation and reset. AllocateEntry returns runlist::kNoEntry when `paragraphs` is below 1 or
    // the entry would not fit (see OutOfSpace).
    int AllocateEntry(int paragraphs, const std::string& name);
    bool OutOfSpace(int paragraphs) const;
    void InitRunList();
    void ResetRunListHead();
    // An empty image and no cached word names; the name table is the document's.
    void ClearProject();
    // Turn the links into distances to the next entry and back, around a block move in the image.
    void LinksToRelative();
    void LinksToAbsolute();
    // Each entry's name index becomes its ordinal in the list.
    void RenumberNames();
    // Cuts entry `e` out of the list: what follows it (the terminator included) moves down in its place.
    void RemoveEntry(int e);
    // Makes entry `e` `newSize` bytes long, moving what follows it; bytes it gains are cleared.
    void ResizeEntry(int e, int newSize);

private:
    int FindKind(int from, uint16_t kind) const;
};

// The project data of the program.
ProjectModel& projectModel();
