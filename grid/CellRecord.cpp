#include "CellRecord.h"

#include <QLocale>
#include <cstring>
#include <new>

namespace {
const QString& EmptyString() {
    static const QString empty;
    return empty;
}

// Reads the leading number of a text the way a C runtime's atof does: spaces, a sign,
// digits with an optional decimal point and exponent; anything else ends the number and
// a text without a number reads as 0.
double LeadingNumber(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    int digits = 0;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    int end = i;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        int j = i + 1;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
            ++j;
        int expDigits = 0;
        while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            end = j;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(QStringView(text).mid(start, end - start), &ok);
    return ok ? value : 0.0;
}
} // namespace

CCellRecord::CCellRecord() = default;
CCellRecord::~CCellRecord() = default;

CCellRecord::CCellRecord(const CCellRecord& other) {
    ReplaceWith(other);
}

CCellRecord& CCellRecord::operator=(const CCellRecord& other) {
    if (this != &other)
        ReplaceWith(other);
    return *this;
}

// A moved-from record is left empty: its mask must not name properties whose storage
// went with the move.
CCellRecord::CCellRecord(CCellRecord&& other) noexcept
    : m_mask(other.m_mask), m_dataType(other.m_dataType), m_border(other.m_border),
      m_alignment(other.m_alignment), m_joinStart(other.m_joinStart),
      m_itemData(other.m_itemData), m_cellType(other.m_cellType),
      m_cellTypeStyle(other.m_cellTypeStyle), m_textColor(other.m_textColor),
      m_backColor(other.m_backColor), m_joinRow(other.m_joinRow),
      m_joinColumn(other.m_joinColumn), m_pen(other.m_pen), m_font(other.m_font),
      m_text(std::move(other.m_text)), m_rare(std::move(other.m_rare)) {
    other.m_mask = 0;
    other.m_text.clear();
}

CCellRecord& CCellRecord::operator=(CCellRecord&& other) noexcept {
    if (this == &other)
        return *this;
    m_mask = other.m_mask;
    m_dataType = other.m_dataType;
    m_border = other.m_border;
    m_alignment = other.m_alignment;
    m_joinStart = other.m_joinStart;
    m_itemData = other.m_itemData;
    m_cellType = other.m_cellType;
    m_cellTypeStyle = other.m_cellTypeStyle;
    m_textColor = other.m_textColor;
    m_backColor = other.m_backColor;
    m_joinRow = other.m_joinRow;
    m_joinColumn = other.m_joinColumn;
    m_pen = other.m_pen;
    m_font = other.m_font;
    m_text = std::move(other.m_text);
    m_rare = std::move(other.m_rare);
    other.m_mask = 0;
    other.m_text.clear();
    return *this;
}

void CCellRecord::Clear() {
    m_mask = 0;
    m_text.clear();
    if (m_rare) {
        m_rare->extra.reset();
        m_rare->extraLength = 0;
    }
}

void CCellRecord::ClearProperty(std::uint32_t bits) {
    m_mask &= ~bits;
    if ((bits & PropExtraData) && m_rare) {
        m_rare->extra.reset();
        m_rare->extraLength = 0;
    }
}

CCellRecord::Rare& CCellRecord::EnsureRare() {
    if (!m_rare)
        m_rare = std::make_unique<Rare>();
    return *m_rare;
}

void CCellRecord::CopyExtra(const Rare& from) {
    Rare& to = EnsureRare();
    to.extra.reset();
    to.extraLength = 0;
    if (!from.extra || from.extraLength <= 0) {
        m_mask &= ~PropExtraData;
        return;
    }
    to.extra.reset(new (std::nothrow) unsigned char[from.extraLength]);
    if (!to.extra) {
        m_mask &= ~PropExtraData;
        return;
    }
    std::memcpy(to.extra.get(), from.extra.get(), static_cast<size_t>(from.extraLength));
    to.extraLength = from.extraLength;
}

void CCellRecord::CopyProperties(const CCellRecord& o, std::uint32_t bits) {
    if (bits & PropText)
        m_text = o.m_text;
    if (bits & PropDataType)
        m_dataType = o.m_dataType;
    if (bits & PropItemData)
        m_itemData = o.m_itemData;
    if (bits & PropCellType)
        m_cellType = o.m_cellType;
    if (bits & PropCellTypeStyle)
        m_cellTypeStyle = o.m_cellTypeStyle;
    if (bits & PropTextColor)
        m_textColor = o.m_textColor;
    if (bits & PropBackColor)
        m_backColor = o.m_backColor;
    if (bits & PropBorder)
        m_border = o.m_border;
    if (bits & PropBorderPen)
        m_pen = o.m_pen;
    if (bits & PropFont)
        m_font = o.m_font;
    if (bits & PropAlignment)
        m_alignment = o.m_alignment;
    if (bits & PropJoin) {
        m_joinStart = o.m_joinStart;
        m_joinRow = o.m_joinRow;
        m_joinColumn = o.m_joinColumn;
    }
    if ((bits & kRareMask) && o.m_rare) {
        Rare& r = EnsureRare();
        const Rare& s = *o.m_rare;
        if (bits & PropString2)
            r.string2 = s.string2;
        if (bits & PropLabel)
            r.label = s.label;
        if (bits & PropHTextColor)
            r.hTextColor = s.hTextColor;
        if (bits & PropHBackColor)
            r.hBackColor = s.hBackColor;
        if (bits & PropBitmap)
            r.bitmap = s.bitmap;
        if (bits & PropStyleAdjuster)
            r.adjuster = s.adjuster;
        if (bits & PropStyleRecord)
            r.styleRecord = s.styleRecord;
        if (bits & PropReadOnly)
            r.readOnly = s.readOnly;
        if (bits & PropDecimals)
            r.decimals = s.decimals;
        if (bits & PropExtraData)
            CopyExtra(s);
    }
}

void CCellRecord::MergeFrom(const CCellRecord& other) {
    if (&other == this || other.m_mask == 0)
        return;
    m_mask |= other.m_mask;
    CopyProperties(other, other.m_mask);
}

void CCellRecord::ReplaceWith(const CCellRecord& other) {
    if (&other == this)
        return;
    const bool hadExtra = Has(PropExtraData);
    m_mask = other.m_mask;
    CopyProperties(other, other.m_mask);
    if (hadExtra && !other.Has(PropExtraData) && m_rare) {
        m_rare->extra.reset();
        m_rare->extraLength = 0;
    }
}

int CCellRecord::SetText(const QString& text) {
    m_text = text;
    m_dataType = GridDataType::Text;
    m_mask |= PropText | PropDataType;
    return 0;
}

int CCellRecord::GetText(QString* text) const {
    if (!Has(PropText))
        return 1;
    if (text)
        *text = m_text;
    return 0;
}

const QString& CCellRecord::GetText() const {
    return Has(PropText) ? m_text : EmptyString();
}

int CCellRecord::SetNumber(double value) {
    if (Has(PropDecimals)) {
        const QString format = QString::asprintf("%%1.%dlf", static_cast<int>(m_rare->decimals));
        m_text = QString::asprintf(format.toLatin1().constData(), value);
    } else {
        m_text = QString::asprintf("%lf", value);
    }
    m_dataType = GridDataType::Number;
    m_mask |= PropText | PropDataType;
    return 0;
}

double CCellRecord::GetNumber() const {
    return LeadingNumber(GetText());
}

int CCellRecord::SetString2(const QString& text) {
    EnsureRare().string2 = text;
    m_mask |= PropString2;
    return 0;
}

const QString& CCellRecord::GetString2() const {
    return Has(PropString2) ? m_rare->string2 : EmptyString();
}

int CCellRecord::SetLabel(const QString& text) {
    EnsureRare().label = text;
    m_mask |= PropLabel;
    return 0;
}

const QString& CCellRecord::GetLabel() const {
    return Has(PropLabel) ? m_rare->label : EmptyString();
}

int CCellRecord::SetDataType(int type) {
    m_dataType = static_cast<short>(type);
    m_mask |= PropDataType;
    return 0;
}

int CCellRecord::SetItemData(int data) {
    m_itemData = data;
    m_mask |= PropItemData;
    return 0;
}

int CCellRecord::SetCellType(int index) {
    m_cellType = index;
    m_mask |= PropCellType;
    return 0;
}

int CCellRecord::SetCellTypeStyle(int style) {
    m_cellTypeStyle = style;
    m_mask |= PropCellTypeStyle;
    return 0;
}

int CCellRecord::SetTextColor(GridColor color) {
    m_textColor = color & 0xFFFFFF;
    m_mask |= PropTextColor;
    return 0;
}

GridColor CCellRecord::GetTextColor() const {
    return Has(PropTextColor) ? m_textColor : GetGridSysColor(GridSysColor::WindowText);
}

int CCellRecord::SetBackColor(GridColor color) {
    m_backColor = color & 0xFFFFFF;
    m_mask |= PropBackColor;
    return 0;
}

GridColor CCellRecord::GetBackColor() const {
    return Has(PropBackColor) ? m_backColor : GetGridSysColor(GridSysColor::Window);
}

int CCellRecord::SetHTextColor(GridColor color) {
    EnsureRare().hTextColor = color & 0xFFFFFF;
    m_mask |= PropHTextColor;
    return 0;
}

GridColor CCellRecord::GetHTextColor() const {
    return Has(PropHTextColor) ? m_rare->hTextColor : GetGridSysColor(GridSysColor::HighlightText);
}

int CCellRecord::SetHBackColor(GridColor color) {
    EnsureRare().hBackColor = color & 0xFFFFFF;
    m_mask |= PropHBackColor;
    return 0;
}

GridColor CCellRecord::GetHBackColor() const {
    return Has(PropHBackColor) ? m_rare->hBackColor : GetGridSysColor(GridSysColor::Highlight);
}

int CCellRecord::SetBorder(int style) {
    m_border = static_cast<short>(style);
    m_mask |= PropBorder;
    return 0;
}

int CCellRecord::SetBorderPen(const QPen* pen) {
    m_pen = pen;
    m_mask |= PropBorderPen;
    return 0;
}

int CCellRecord::SetFont(const QFont* font) {
    m_font = font;
    m_mask |= PropFont;
    return 0;
}

int CCellRecord::SetBitmap(const QPixmap* bitmap) {
    EnsureRare().bitmap = bitmap;
    m_mask |= PropBitmap;
    return 0;
}

const QPixmap* CCellRecord::GetBitmap() const {
    return Has(PropBitmap) ? m_rare->bitmap : nullptr;
}

int CCellRecord::SetAlignment(int alignment) {
    m_alignment = static_cast<short>(alignment);
    m_mask |= PropAlignment;
    return 0;
}

int CCellRecord::SetExtraData(const void* data, int length) {
    Rare& r = EnsureRare();
    r.extra.reset();
    r.extraLength = 0;
    m_mask &= ~PropExtraData;
    if (data == nullptr || length <= 0)
        return 1;
    r.extra.reset(new (std::nothrow) unsigned char[length]);
    if (!r.extra)
        return 1;
    std::memcpy(r.extra.get(), data, static_cast<size_t>(length));
    r.extraLength = length;
    m_mask |= PropExtraData;
    return 0;
}

const unsigned char* CCellRecord::GetExtraData() const {
    return Has(PropExtraData) ? m_rare->extra.get() : nullptr;
}

int CCellRecord::GetExtraDataLength() const {
    return Has(PropExtraData) ? m_rare->extraLength : 0;
}

int CCellRecord::SetJoinInfo(int isStart, int rowOffset, int columnOffset) {
    m_joinStart = static_cast<short>(isStart ? 1 : 0);
    m_joinRow = rowOffset;
    m_joinColumn = columnOffset;
    m_mask |= PropJoin;
    return 0;
}

int CCellRecord::GetJoinInfo(int* isStart, int* rowOffset, int* columnOffset) const {
    if (!Has(PropJoin))
        return 1;
    if (isStart)
        *isStart = m_joinStart;
    if (rowOffset)
        *rowOffset = m_joinRow;
    if (columnOffset)
        *columnOffset = m_joinColumn;
    return 0;
}

int CCellRecord::SetStyleAdjuster(CStyleAdjuster* adjuster) {
    EnsureRare().adjuster = adjuster;
    m_mask |= PropStyleAdjuster;
    return 0;
}

CStyleAdjuster* CCellRecord::GetStyleAdjuster() const {
    return Has(PropStyleAdjuster) ? m_rare->adjuster : nullptr;
}

int CCellRecord::SetStyleRecord(const CCellRecord* record) {
    EnsureRare().styleRecord = record;
    m_mask |= PropStyleRecord;
    return 0;
}

const CCellRecord* CCellRecord::GetStyleRecord() const {
    return Has(PropStyleRecord) ? m_rare->styleRecord : nullptr;
}

int CCellRecord::SetReadOnly(int flag) {
    EnsureRare().readOnly = flag;
    m_mask |= PropReadOnly;
    return 0;
}

int CCellRecord::GetReadOnly() const {
    return Has(PropReadOnly) ? m_rare->readOnly : 0;
}

int CCellRecord::SetDecimals(int decimals) {
    EnsureRare().decimals = static_cast<short>(decimals);
    m_mask |= PropDecimals;
    return 0;
}

int CCellRecord::GetDecimals() const {
    return Has(PropDecimals) ? m_rare->decimals : -1;
}
