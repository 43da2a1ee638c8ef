#include "CellSource.h"

CCellSource::~CCellSource() = default;

int CCellSource::GetColumnName(int, QString*) {
    return -1;
}
int CCellSource::SetPassword(const QString&, const QString&) {
    return -1;
}
int CCellSource::GetSourceName(QString*) {
    return -1;
}
int CCellSource::DeleteRowsFrom(int) {
    return -1;
}
int CCellSource::InsertRow(int) {
    return -1;
}
int CCellSource::InsertColumn(int) {
    return -1;
}
int CCellSource::DeleteRow(int) {
    return -1;
}
int CCellSource::DeleteColumn(int) {
    return -1;
}
int CCellSource::DeleteCell(int, int) {
    return -1;
}
int CCellSource::GetCell(int, int, CCellRecord*) {
    return -1;
}
int CCellSource::SetCell(int, int, const CCellRecord*) {
    return -1;
}
int CCellSource::FindFirst(QString*, int*, int*, int) {
    return -1;
}
int CCellSource::FindNext(QString*, int*, int*, int) {
    return -1;
}
int CCellSource::SortBy(const int*, int, int) {
    return -1;
}
int CCellSource::SortBy(int, int) {
    return -1;
}
int CCellSource::SetOption(int, int) {
    return -1;
}
int CCellSource::GetOption(int, int*) {
    return -1;
}
void CCellSource::OnRowChange(int, int) {}
void CCellSource::OnColumnChange(int, int) {}
int CCellSource::OnCanMove(int, int, int, int) {
    return 1;
}
int CCellSource::OnCanViewMove(int, int, int, int) {
    return 1;
}
void CCellSource::OnHitBottom(int, int, int*) {}
void CCellSource::OnHitTop(int, int) {}
int CCellSource::OnCanSizeColumn(int) {
    return 1;
}
int CCellSource::OnCanSizeRow(int) {
    return 1;
}
void CCellSource::OnCellChange(int, int, int, int) {}
int CCellSource::GetPrevNonBlankColumn(int, int) {
    return -1;
}
int CCellSource::GetNextNonBlankColumn(int, int) {
    return -1;
}
