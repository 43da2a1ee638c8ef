#pragma once
// CPrintUtil: positions on the printed paper in centimetres from the paper's top-left
// corner, turned into device units of the printer it is attached to.
//
//   CPrintUtil util;
//   util.Attach(&painter);
//   QFont font;
//   util.CreateFontCm(&font, -1.0, 400, "Times New Roman", 0, 0);
//   painter.setFont(font);
//   util.SetUpdatePosition(true);
//   util.TextOutCm(10.0, 0.7, 0, title);   // 10 cm from the left edge, 0.7 cm from the top
//   util.SetUpdatePosition(false);
//
// A printer cannot print at the very edge of the paper: its device coordinates start at
// the printable area, some way in from the edge (the physical offsets). The conversions
// take that into account, so 0 cm is the paper's edge on every printer.

#include "GridPrinter.h"

#include <QPoint>
#include <QString>

class QFont;
class QPainter;

class CPrintUtil {
public:
    CPrintUtil() = default;
    virtual ~CPrintUtil() = default;

    // Reads the measures of the painter's device and computes the paper's size; clears
    // the update-position flag. The painter must draw in device pixels (no transform).
    void Attach(QPainter* dc);
    // The same with measures given by the caller.
    void Attach(QPainter* dc, const CPrintDeviceMeasures& measures);
    QPainter* GetDC() const { return m_dc; }

    // Device units from the paper's left (top) edge; truncated toward zero.
    int CmToDeviceX(double cm) const;
    int CmToDeviceY(double cm) const;

    // Fills font with the face, weight (100 to 900, 400 normal), pitch and family and the
    // height in centimetres: a negative height is the characters' height, a positive one
    // the height of the whole text line, 0 the face's usual size. The escapement, in
    // tenths of a degree counter-clockwise, applies to the next texts written with
    // TextOutCm.
    void CreateFontCm(QFont* font, double heightCm, int weight, const QString& faceName,
                      int pitchAndFamily, int escapement);

    // On: each TextOutCm starts at the current position and moves it past the text. Off:
    // texts are written at the device's origin (0, 0), top-left aligned.
    void SetUpdatePosition(bool flag);
    bool GetUpdatePosition() const { return m_updatePosition; }

    // Moves the current position to (x cm, y cm), y moved further by extra device units.
    void MoveToCm(double xCm, double yCm, int extra);
    // MoveToCm, then writes the text (its top at the position when updating it).
    void TextOutCm(double xCm, double yCm, int extra, const QString& text);
    QPoint CurrentPosition() const { return m_position; }

    // The paper's size in millimetres, from the device's measures.
    float GetPaperWidth() const { return m_paperWidth; }
    float GetPaperHeight() const { return m_paperHeight; }
    const CPrintDeviceMeasures& Measures() const { return m_measures; }

private:
    QPainter* m_dc = nullptr;
    CPrintDeviceMeasures m_measures;
    float m_paperWidth = 0.0f;
    float m_paperHeight = 0.0f;
    bool m_updatePosition = false;
    QPoint m_position;
    int m_escapement = 0;
};
