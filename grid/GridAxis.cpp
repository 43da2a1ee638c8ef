#include "GridAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// How close to a divider the pointer arms its sizing: strictly within this many pixels.
constexpr int kDividerReach = 3;
} // namespace

CGridAxis::CGridAxis(int defaultSize, int headingSize, int headingExtent, bool sizeBeyondCount)
    : m_defaultSize(defaultSize), m_sizeBeyondCount(sizeBeyondCount), m_headingSizes{headingSize},
      m_headingExtent(headingExtent) {}

// --- Slots and sizes ----------------------------------------------------------------------

void CGridAxis::SetCount(int count) {
    if (m_locked >= count)
        m_locked = count > 0 ? count - 1 : 0;
    if (!m_uniform)
        m_sizes.resize(static_cast<size_t>(count), m_defaultSize);
    Invalidate(std::min(m_count, count));
    m_count = count;
    m_prefix.resize(static_cast<size_t>(count) + 1);
    if (m_current >= count)
        m_current = m_previous = m_target = count - 1;
    if (m_current < 0 && count > 0)
        m_current = m_previous = m_target = 0;
    if (m_first < m_locked)
        m_first = m_previousFirst = m_locked;
}

void CGridAxis::SetDefaultSize(int size) {
    m_defaultSize = size;
}

void CGridAxis::SetUniform(bool uniform) {
    if (uniform) {
        m_sizes.clear();
        m_sizes.shrink_to_fit();
    } else if (m_uniform || m_sizes.size() != static_cast<size_t>(m_count)) {
        m_sizes.assign(static_cast<size_t>(m_count), m_defaultSize);
    }
    m_uniform = uniform;
    Invalidate(0);
}

int CGridAxis::Size(int index) const {
    if (index < 0) {
        const int heading = -index - 1;
        return heading < HeadingCount() ? m_headingSizes[static_cast<size_t>(heading)] : 0;
    }
    if (index >= m_count)
        return m_sizeBeyondCount ? m_defaultSize : 0;
    return m_uniform ? m_defaultSize : m_sizes[static_cast<size_t>(index)];
}

void CGridAxis::SetSize(int index, int size) {
    if (m_uniform) {
        m_defaultSize = size;
        return;
    }
    m_sizes[static_cast<size_t>(index)] = size;
    Invalidate(index);
}

void CGridAxis::InsertSize(int index) {
    if (!m_uniform && index <= static_cast<int>(m_sizes.size()))
        m_sizes.insert(m_sizes.begin() + index, m_defaultSize);
    Invalidate(index);
}

void CGridAxis::EraseSize(int index) {
    if (!m_uniform && index < static_cast<int>(m_sizes.size()))
        m_sizes.erase(m_sizes.begin() + index);
    Invalidate(index);
}

void CGridAxis::Invalidate(int from) {
    m_prefixValid = std::min(m_prefixValid, std::max(0, from));
}

long long CGridAxis::Prefix(int index) const {
    if (m_uniform)
        return static_cast<long long>(index) * m_defaultSize;
    while (m_prefixValid < index) {
        const size_t i = static_cast<size_t>(m_prefixValid);
        m_prefix[i + 1] = m_prefix[i] + m_sizes[i];
        ++m_prefixValid;
    }
    return m_prefix[static_cast<size_t>(index)];
}

long long CGridAxis::SpanSize(int first, int last) const {
    long long sum = 0;
    for (int i = std::max(first, -HeadingCount()); i <= std::min(last, -1); ++i)
        sum += Size(i);
    if (last < 0)
        return sum;
    const int from = std::max(first, 0);
    const int to = last + 1;
    if (to <= from)
        return sum;
    sum += Prefix(std::min(to, m_count)) - Prefix(std::min(from, m_count));
    const int beyond = to - std::max(from, m_count);
    if (beyond > 0 && m_sizeBeyondCount)
        sum += static_cast<long long>(beyond) * m_defaultSize;
    return sum;
}

long long CGridAxis::SumCapped(long long limit) const {
    if (m_uniform)
        return static_cast<long long>(m_count) * m_defaultSize;
    long long sum = 0;
    for (int size : m_sizes) {
        sum += size;
        if (sum > limit)
            break;
    }
    return sum;
}

// --- Headings -----------------------------------------------------------------------------

void CGridAxis::RescaleHeadings(int extent) {
    long long total = 0;
    for (int size : m_headingSizes)
        total += size;
    for (int& size : m_headingSizes) {
        if (total <= 0)
            size = 0;
        else
            size = static_cast<int>(std::floor(static_cast<double>(extent) / total * size + 0.5));
    }
    m_headingExtent = extent;
}

void CGridAxis::SetHeadingCount(int count, int newSize) {
    m_headingSizes.resize(static_cast<size_t>(count), newSize);
}

void CGridAxis::SetHeadingSize(int index, int size) {
    m_headingSizes[static_cast<size_t>(-index - 1)] = size;
}

int CGridAxis::HeadingPos(int index) const {
    int pos = m_headingExtent;
    for (int i = -1; i >= index && -i <= HeadingCount(); --i)
        pos -= Size(i);
    return pos;
}

std::vector<CGridSlot> CGridAxis::HeadingSlots() const {
    std::vector<CGridSlot> found;
    for (int i = -HeadingCount(); i <= -1; ++i)
        if (Size(i) > 0)
            found.push_back({i, HeadingPos(i), Size(i)});
    return found;
}

int CGridAxis::HeadingSlotAt(int coord) const {
    for (int i = -HeadingCount(); i <= -1; ++i) {
        const int pos = HeadingPos(i);
        if (coord >= pos && coord < pos + Size(i))
            return i;
    }
    return 0;
}

int CGridAxis::HeadingDividerAt(int coord) const {
    for (int i = -HeadingCount(); i <= -1; ++i)
        if (std::abs(coord - (HeadingPos(i) + Size(i))) < kDividerReach)
            return i;
    return 0;
}

// --- Locked slots and the view ------------------------------------------------------------

void CGridAxis::SetLocked(int count) {
    m_locked = count;
    if (m_first < count)
        m_first = m_previousFirst = count;
}

long long CGridAxis::LockedSize() const {
    return Prefix(std::min(m_locked, m_count));
}

void CGridAxis::UpdateLast() {
    const long long visible = m_viewExtent - LockedSize();
    if (m_count <= m_locked) {
        m_last = m_locked;
    } else if (m_uniform) {
        const int fit = std::max(1, static_cast<int>(visible / std::max(1, m_defaultSize)));
        m_last = std::max(m_locked, m_count - fit);
    } else {
        long long sum = 0;
        int i = m_count - 1;
        for (; i >= m_locked; --i) {
            sum += Size(i);
            if (sum > visible)
                break;
        }
        m_last = std::min(std::max(i + 1, m_locked), m_count - 1);
    }
    if (m_first > m_last)
        m_first = m_previousFirst = m_last;
    if (m_first < m_locked)
        m_first = m_previousFirst = m_locked;
}

int CGridAxis::FirstToShow(int index) const {
    if (index < m_locked || index >= m_count)
        return m_first;
    if (index < m_first)
        return std::max(index, m_locked);
    const long long visible = m_viewExtent - LockedSize();
    int first = m_first;
    if (SpanSize(m_first, index) > visible) {
        if (m_uniform) {
            const int fit = std::max(1, static_cast<int>(visible / std::max(1, m_defaultSize)));
            first = std::max(m_locked, index - fit + 1);
        } else {
            long long sum = 0;
            int i = index;
            for (; i >= m_locked; --i) {
                sum += Size(i);
                if (sum > visible)
                    break;
            }
            first = std::max(m_locked, std::min(i + 1, index));
        }
    }
    return std::min(first, std::max(m_locked, m_last));
}

int CGridAxis::SlotsInPage(int from, int direction) const {
    const long long visible = m_viewExtent - LockedSize();
    if (m_uniform)
        return std::max(1, static_cast<int>(visible / std::max(1, m_defaultSize)));
    long long sum = 0;
    int n = 0;
    for (int i = from; i >= 0 && i < m_count; i += direction) {
        sum += Size(i);
        if (sum > visible)
            break;
        ++n;
    }
    return std::max(1, n);
}

int CGridAxis::ScrollDistance(int oldFirst, int newFirst) const {
    if (newFirst > oldFirst)
        return -static_cast<int>(SpanSize(oldFirst, newFirst - 1));
    return static_cast<int>(SpanSize(newFirst, oldFirst - 1));
}

void CGridAxis::Settle() {
    m_previous = m_current;
    m_previousFirst = m_first;
}

// --- Geometry -----------------------------------------------------------------------------

int CGridAxis::Position(int index) const {
    if (index < 0)
        return HeadingPos(index) - m_headingExtent;
    if (index < m_locked)
        return static_cast<int>(SpanSize(0, index - 1));
    long long pos = LockedSize();
    if (index >= m_first)
        pos += SpanSize(m_first, index - 1);
    else
        pos -= SpanSize(index, m_first - 1);
    return static_cast<int>(pos);
}

bool CGridAxis::IsVisible(int index) const {
    if (index < 0 || index >= m_count)
        return false;
    if (index < m_locked)
        return true;
    if (index < m_first)
        return false;
    return Position(index) < m_viewExtent;
}

int CGridAxis::SlotAt(int coord) const {
    if (coord < 0 || coord >= m_viewExtent)
        return -1;
    const long long locked = LockedSize();
    if (m_uniform && coord >= locked) {
        const long long i = m_first + (coord - locked) / std::max(1, m_defaultSize);
        return i < m_count ? static_cast<int>(i) : -1;
    }
    for (const CGridSlot& slot : VisibleSlots(m_viewExtent).items)
        if (coord >= slot.pos && coord < slot.pos + slot.size)
            return slot.index;
    return -1;
}

CGridSlots CGridAxis::VisibleSlots(int limit) const {
    CGridSlots out;
    int pos = 0;
    for (int i = m_locked > 0 ? 0 : m_first; i < m_count && pos < limit;) {
        const int size = Size(i);
        if (size > 0) {
            out.items.push_back({i, pos, size});
            pos += size;
        }
        ++i;
        if (i == m_locked && i < m_first)
            i = m_first;
    }
    out.end = pos;
    return out;
}

int CGridAxis::DividerAt(int coord, int limit) const {
    int edge = 0;
    for (int i = m_locked > 0 ? 0 : m_first; i < m_count && edge <= limit + kDividerReach;) {
        edge += Size(i);
        if (std::abs(coord - edge) < kDividerReach)
            return i + 1 < m_count && Size(i + 1) == 0 ? i + 1 : i;
        ++i;
        if (i == m_locked && i < m_first)
            i = m_first;
    }
    return -1;
}
