#pragma once
// A small floating window showing a hint text beside a cell or a dragged thumb.

#include <QString>
#include <QWidget>

class CGridHintWnd : public QWidget {
    Q_OBJECT
public:
    explicit CGridHintWnd(QWidget* parent);
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    // Shows the hint with its top-left at a global point.
    void ShowAt(const QPoint& globalPoint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
