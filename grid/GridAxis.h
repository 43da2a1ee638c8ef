#pragma once
// One direction of a grid: its columns or its rows. Both are the same thing turned by a
// quarter: a count of slots with their sizes (per slot, or one uniform size), heading
// slots before them (-1 next to the cells, -2 beyond it, ...), locked slots that never
// scroll, the first scrolled slot shown and the last one it may be, the current and target
// slot of the cursor, and the room the cell area gives them. Positions are in cell-area
// pixels: locked slots from 0, then the scrolled ones from the first shown; heading slots
// lie at negative positions, before the cells.

#include <vector>

// One visible slot of a pass over the view.
struct CGridSlot {
    int index;
    int pos;
    int size;
};

// The visible slots of a pass and the position just after the last one.
struct CGridSlots {
    std::vector<CGridSlot> items;
    int end = 0;
};

class CGridAxis {
public:
    // The default slot size, the size of the one heading slot and the heading's extent;
    // sizeBeyondCount: slots past the count measure the default size (rows) or 0.
    CGridAxis(int defaultSize, int headingSize, int headingExtent, bool sizeBeyondCount);

    // --- Slots and sizes -------------------------------------------------------------
    int Count() const { return m_count; }
    int DefaultSize() const { return m_defaultSize; }
    void SetDefaultSize(int size);
    bool Uniform() const { return m_uniform; }
    // Uniform: one size (the default) for every slot, no table kept.
    void SetUniform(bool uniform);
    // The size of any slot: heading slots (negative), slots past the count.
    int Size(int index) const;
    // Sets the size of slot 0 <= index < count; with uniform sizes, the default.
    void SetSize(int index, int size);
    // Inserts or removes the size entry of a slot (the count itself follows SetCount).
    void InsertSize(int index);
    void EraseSize(int index);
    // Sum of the sizes of slots first .. last (inclusive, headings allowed).
    long long SpanSize(int first, int last) const;
    // Sum of all slot sizes, stopping once it passes limit.
    long long SumCapped(long long limit) const;

    // --- Headings --------------------------------------------------------------------
    int HeadingCount() const { return static_cast<int>(m_headingSizes.size()); }
    int HeadingExtent() const { return m_headingExtent; }
    void SetHeadingExtent(int extent) { m_headingExtent = extent; }
    // New extent with the heading slots rescaled to keep their proportions.
    void RescaleHeadings(int extent);
    void SetHeadingCount(int count, int newSize);
    void SetHeadingSize(int index, int size);
    // Position of a heading slot in the heading window: against the cells, -1 last.
    int HeadingPos(int index) const;
    // The heading slots with a size, outermost first, at their heading-window positions.
    std::vector<CGridSlot> HeadingSlots() const;
    // The heading slot under a heading-window coordinate; 0 when none.
    int HeadingSlotAt(int coord) const;
    // The heading slot whose far edge lies strictly within 3 pixels; 0 when none.
    int HeadingDividerAt(int coord) const;

    // --- Locked slots and the view ---------------------------------------------------
    int Locked() const { return m_locked; }
    void SetLocked(int count);
    long long LockedSize() const;
    int First() const { return m_first; }
    int PreviousFirst() const { return m_previousFirst; }
    void SetFirst(int first) { m_first = first; }
    int Last() const { return m_last; }
    int ViewExtent() const { return m_viewExtent; }
    void SetViewExtent(int extent) { m_viewExtent = extent; }
    // Recomputes the furthest first slot and keeps the view within it.
    void UpdateLast();
    // The first slot that shows index (the view moved as little as it can).
    int FirstToShow(int index) const;
    // Slots in a screenful from a slot in a direction (at least 1).
    int SlotsInPage(int from, int direction) const;
    // Pixels the picture moves when the first slot goes from oldFirst to newFirst.
    int ScrollDistance(int oldFirst, int newFirst) const;

    // --- Cursor ----------------------------------------------------------------------
    int Current() const { return m_current; }
    int Previous() const { return m_previous; }
    int Target() const { return m_target; }
    void SetTarget(int index) { m_target = index; }
    // The current slot becomes the target (a move completes).
    void TakeTarget() { m_current = m_target; }
    // The previous values become the current ones (after the hooks saw both).
    void Settle();

    // --- Geometry --------------------------------------------------------------------
    // Cell-area position of a slot (negative for slots scrolled out or heading slots).
    int Position(int index) const;
    bool IsVisible(int index) const;
    // The visible slot under a cell-area coordinate; -1 when none.
    int SlotAt(int coord) const;
    // The visible slots, locked ones first, while they start before limit.
    CGridSlots VisibleSlots(int limit) const;
    // The visible slot whose far edge lies strictly within 3 pixels of coord (walking
    // while edges stay before limit); a closed slot right after it wins, so it can be
    // pulled open. -1 when none.
    int DividerAt(int coord, int limit) const;

private:
    friend class CGridSheet; // counts change with the sheet's own tables

    // Keeps the locked count, the cursor and the view within the count.
    void SetCount(int count);
    long long Prefix(int index) const;
    void Invalidate(int from);

    int m_count = 0;
    int m_defaultSize;
    bool m_uniform = false;
    bool m_sizeBeyondCount;
    std::vector<int> m_sizes; // per slot, unless uniform
    // Prefix sums of m_sizes, valid up to m_prefixValid.
    mutable std::vector<long long> m_prefix{0};
    mutable int m_prefixValid = 0;

    std::vector<int> m_headingSizes; // index 0 is slot -1
    int m_headingExtent;

    int m_locked = 0;
    int m_first = 0;
    int m_previousFirst = 0;
    int m_last = 0;
    int m_viewExtent = 0;

    int m_current = -1;
    int m_previous = -1;
    int m_target = -1;
};
